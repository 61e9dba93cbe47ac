#include "conduit/formats/Connekt.h"

#include "conduit/TrailingWhiteSpace.h"
#include "conduit/formats/ConnektFamily.h"
#include "conduit/formats/FieldForms.h"
#include "conduit/formats/LeadingNumber.h"
#include "conduit/formats/MeterLayout.h"

namespace {

using F = CodecField;
using namespace layout;

MeterLayout MakeRoute() {
    MeterLayout route = ConnektFamilyRouteLayout();
    route.SetField(F::ServiceUniqueID, {Columns(120, 15), Columns(63, 1)});
    route.SetField(F::BillingName, {Columns(8, 20)});
    route.SetField(F::Message, {Columns(170, 20)});
    route.SetField(F::MeterType, {Columns(64, 1)});
    route.SetField(F::MeterTagNbr, {Constant("00"), Columns(48, 10)});
    route.SetField(F::MeterSerialNbr, {Columns(67, 10)});
    route.SetField(F::SelectedRoute, {Columns(116, 4)});
    route.SetField(F::Digits, {Constant("0")});
    // MMDDCCYY in the file, YYMMDD on the handheld.
    route.SetField(F::LstReadingDate, {Columns(141, 2), Columns(135, 2), Columns(137, 2)});
    // Fixed nine-column readings: no dial-digit rule.
    route.SetField(F::MaxReading, {Columns(77, 9)});
    route.SetField(F::MinReading, {Columns(86, 9)});
    route.SetField(F::PrvReading, {Columns(95, 9)});
    route.SetField(F::UserDef, {Columns(61, 5)});
    route.marks = {MarkSets(F::MeterType, 64, "w", "W"), MarkOr(F::ReadType, 143, "Dd", "P", "S")};
    return route;
}

const MeterLayout& RouteLayout() {
    static const MeterLayout route = MakeRoute();
    return route;
}

std::string Cut(std::string_view line, std::size_t column, std::size_t length) {
    return std::string(column < line.size() ? line.substr(column, length) : std::string_view{});
}

std::string Trimmed(std::string text) {
    TrimTrailingWhiteSpace(text);
    return text;
}

// A Connekt line leaves a value blank rather than writing zeros for it.
void AppendReadingUnlessEmpty(const VendorReading& codec, std::string& out) {
    static const ReadingPiece reading = Whole(0, {PadFront(Number(F::CurReading), 9, '0')});
    if (!Trimmed(codec.Field(F::CurReading)).empty()) {
        AppendPiece(reading, codec, out);
    }
}

void AppendTimeUnlessZero(const VendorReading& codec, std::string& out) {
    static const ReadingPiece time = Whole(0, TimePairs(F::ReadingTime, ""));
    if (LeadingInteger(codec.Field(F::ReadingTime)) != 0) {
        AppendPiece(time, codec, out);
    }
}

void AppendDateUnlessZero(const VendorReading& codec, std::string& out) {
    static const ReadingPiece date = Whole(0, MonthDayYearWithSlashes(F::ReadingDate));
    if (LeadingInteger(codec.Field(F::ReadingDate)) != 0) {
        AppendPiece(date, codec, out);
    }
}

// "%09ld": the leading integer in nine digits, zero-filled.
ReadingPiece NumberIn9(std::size_t column, CodecField field) {
    return ReportingLoss(First(column, 9, {PadFront(Number(field), 9, '0')}));
}

ReadingLayout MakeReadings() {
    ReadingLayout line = ConnektFamilyReadingsLayout();
    line.members.Add(F::Route);
    line.Put(Last(48, 10, {Text(F::MeterTagNbr)}));  // without the zeros the reader put in front
    line.Put(TextIn(61, 5, F::UserDef));
    line.Put(NumberIn9(77, F::MaxReading));
    line.Put(NumberIn9(86, F::MinReading));
    line.Put(ReportingLoss(First(95, 9, {Custom(AppendReadingUnlessEmpty)})));
    line.Put(First(104, 6, {Custom(AppendTimeUnlessZero)}));
    line.Put(TextIn(116, 4, F::Route));
    line.Put(TextIn(120, 15, F::ServiceUniqueID));
    line.Put(First(135, 8, {Custom(AppendDateUnlessZero)}));
    line.Put(First(162, 8, {Literal("0000"), PadFront(LastPart(F::RouteSequence, 4), 4, '0')}));
    return line;
}

const ReadingLayout& ReadingsLayout() {
    static const ReadingLayout line = MakeReadings();
    return line;
}

const ReadingLayout& HeaderLayout() {
    static const ReadingLayout header = [] {
        ReadingLayout line;
        line.lineLength = 2;
        line.pieces = {Whole(0, {Literal("H")})};
        return line;
    }();
    return header;
}

}  // namespace

ConnektMeter::ConnektMeter() : VendorMeter(RouteLayout()) {}

VendorMeter::LineUse ConnektMeter::PrepareLine(std::string& line) {
    return StartsWithTwoBlanks(line) || line.starts_with("00") ? LineUse::Record : LineUse::Skip;
}

void ConnektMeter::AdjustFields(std::string_view line) {
    std::string& serial = MutableField(F::MeterSerialNbr);
    if (Trimmed(serial).empty()) {
        serial = Cut(line, 48, 10);
    }

    // The route stands at 116; files without it carry it at 120, in two
    // columns unless those are "00".
    std::string& route = MutableField(F::SelectedRoute);
    TrimTrailingWhiteSpace(route);
    if (route.empty()) {
        route = Trimmed(Cut(line, 120, 2));
        if (route.empty() || route == "00") {
            route = Cut(line, 120, 4);
            if (route.empty()) {
                route = "000";
            }
        }
    }

    // Without a previous reading the minimum stands in for it.
    if (LeadingInteger(Field(F::PrvReading)) == 0) {
        MutableField(F::PrvReading) = Field(F::MinReading);
    }
}

bool ConnektMeter::HooksChange(CodecField field) const {
    return field == F::SelectedRoute || field == F::MeterSerialNbr || field == F::PrvReading;
}

ConnektReading::ConnektReading() : VendorReading(ReadingsLayout()) {}

std::int32_t ConnektReading::Write(const std::string& route) {
    SetField(F::Route, route);
    return Write();
}

void ConnektReading::AfterOpen() {
    WriteLine(HeaderLayout());
}
