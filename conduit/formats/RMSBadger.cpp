#include "conduit/formats/RMSBadger.h"

#include "conduit/formats/ConnektFamily.h"
#include "conduit/formats/FieldForms.h"
#include "conduit/formats/LeadingNumber.h"
#include "conduit/formats/MeterLayout.h"

namespace {

using F = CodecField;
using namespace layout;

constexpr std::int64_t kMostDigits = 6;

MeterLayout MakeRoute() {
    MeterLayout route = ConnektFamilyRouteLayout();
    route.SetField(F::ServiceUniqueID, {Columns(190, 20)});
    // Both name parts, each right-aligned in its columns, ten blanks apart;
    // the readings line gives the second part back at its own column.
    route.SetField(F::BillingName,
                   {RightAligned(8, 20, 20), Constant("          "), RightAligned(123, 12, 12)});
    route.SetField(F::Message, {Constant("")});
    route.SetField(F::MeterType, {Constant("W")});
    route.SetField(F::MeterTagNbr, {Constant("000"), Columns(48, 9)});
    route.SetField(F::MeterSerialNbr, {Columns(67, 9)});
    route.SetField(F::SelectedRoute, {Columns(120, 3)});
    route.SetField(F::Digits, {Columns(76, 1)});
    route.SetField(F::LstReadingDate, {Constant("      ")});
    route.SetField(F::PrvReading, {Constant("")});
    route.SetField(F::UserDef, {Columns(210, 10)});
    route.readings = {{F::MaxReading, 85}, {F::MinReading, 94}};
    route.digits = {F::Digits, kMostDigits, kMostDigits};
    route.trimmed.Remove(F::LstReadingDate);
    return route;
}

const MeterLayout& RouteLayout() {
    static const MeterLayout route = MakeRoute();
    return route;
}

ReadingLayout MakeReadings() {
    ReadingLayout line = ConnektFamilyReadingsLayout();
    line.members.Add(F::Route);
    line.Put(Last(48, 9, {Text(F::MeterTagNbr)}));  // without the zeros the reader put in front
    line.Put(Last(76, 1, {Text(F::Digits)}));
    line.Put(TextIn(77, 9, F::MaxReading));
    line.Put(TextIn(86, 9, F::MinReading));
    line.Put(ReportingLoss(ZeroPaddedIn(95, 9, F::CurReading)));
    line.Put(First(104, 8, TimePairs(F::ReadingTime, ":")));
    line.Put(Whole(112, {Literal("R")}));
    line.Put(TextIn(120, 3, F::Route));
    line.Put(First(123, 12, {Part(F::BillingName, 30, 12)}));
    line.Put(First(135, 8, MonthDayYearWithSlashes(F::ReadingDate)));
    line.Put(First(164, 6, {Literal("00"), PadFront(LastPart(F::RouteSequence, 4), 4, '0')}));
    line.Put(TextIn(190, 20, F::ServiceUniqueID));
    line.Put(TextIn(210, 17, F::UserDef));
    return line;
}

const ReadingLayout& ReadingsLayout() {
    static const ReadingLayout line = MakeReadings();
    return line;
}

}  // namespace

RMSBadgerMeter::RMSBadgerMeter() : VendorMeter(RouteLayout()) {}

VendorMeter::LineUse RMSBadgerMeter::PrepareLine(std::string& line) {
    return StartsWithTwoBlanks(line) ? LineUse::Record : LineUse::Skip;
}

std::int64_t RMSBadgerMeter::DigitCount(std::string_view line) {
    const std::int64_t given = LeadingInteger(Field(F::Digits));
    const std::int64_t count = VendorMeter::DigitCount(line);
    if (count != given) {
        MutableField(F::Digits) = "6";
    }
    return count;
}

// A meter with a tag of its own is read on its own schedule.
void RMSBadgerMeter::FinishFields(std::string_view) {
    MutableField(F::ReadType) = LeadingInteger(Field(F::MeterTagNbr)) > 0 ? "P" : "S";
}

bool RMSBadgerMeter::HooksChange(CodecField field) const {
    return field == F::Digits || field == F::ReadType;
}

RMSBadgerReading::RMSBadgerReading() : VendorReading(ReadingsLayout()) {}

std::int32_t RMSBadgerReading::Write(const std::string& route) {
    SetField(F::Route, route);
    return Write();
}
