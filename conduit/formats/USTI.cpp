#include "conduit/formats/USTI.h"

#include "conduit/formats/FieldForms.h"
#include "conduit/formats/LeadingNumber.h"
#include "conduit/formats/MeterLayout.h"
#include "conduit/formats/ReadingLayout.h"

namespace {

using F = CodecField;
using namespace layout;

constexpr std::string_view kDemandMark = ":D";
constexpr int kDemandTagDigits = 12;

FieldSet Members() {
    return {F::ReadingTime,  F::ReadingDate, F::Address, F::BillingName, F::Service,
            F::Current,      F::MaxRead,     F::MinRead, F::PrvRead,     F::MeterID,
            F::Message,      F::Account,     F::Route,   F::Digits,      F::ReadType,
            F::ResponseCode, F::MeterType,   F::UserDef, F::MeterTagNbr};
}

MeterLayout MakeRoute() {
    MeterLayout route;
    route.members = Members();
    route.fields = {
        {F::Route, {Columns(0, 3)}},
        {F::Account, {Columns(3, 16)}},
        {F::MeterID, {Columns(19, 16)}},
        {F::Address, {Columns(35, 20)}},
        {F::Message, {Columns(55, 30)}},
        {F::Digits, {Columns(125, 2)}},  // the dial digits of the readings
        {F::ResponseCode, {Columns(149, 2)}},
        {F::Service, {Columns(151, 1)}},
        {F::BillingName, {Columns(152, 30)}},
        {F::MeterType, {Columns(182, 10)}},
        {F::ReadType, {Constant("S")}},  // "P" for a demand meter
        {F::UserDef, {Constant("")}},
        {F::MeterTagNbr, {Constant("")}},  // set for a demand meter
    };
    route.readings = {{F::MaxRead, 104}, {F::MinRead, 114}, {F::PrvRead, 124}, {F::Current, 136}};
    route.trimmed = {F::Route,        F::Account, F::MeterID,     F::Address,   F::Message,
                     F::MaxRead,      F::MinRead, F::PrvRead,     F::Digits,    F::Current,
                     F::ResponseCode, F::Service, F::BillingName, F::MeterType, F::ReadType};
    route.route = F::Route;
    route.wrongModeMessage = false;
    return route;
}

ReadingLayout MakeReadings() {
    ReadingLayout line;
    line.lineLength = 193;
    line.members = Members();
    // Most fields are written whole; a longer text moves behind the fields
    // after it instead of shifting them.
    line.pieces = {
        Whole(0, {Text(F::Route)}),
        Whole(3, {Text(F::Account)}),
        Whole(19, {Text(F::MeterID)}),
        Whole(35, {Text(F::Address)}),
        Whole(55, {Text(F::Message)}),
        Whole(95, {PadFront(Text(F::MaxRead), 10, '0')}),
        Whole(105, {PadFront(Text(F::MinRead), 10, '0')}),
        Whole(115, {PadFront(Text(F::PrvRead), 10, '0')}),
        Whole(125, {Text(F::Digits)}),
        Whole(127, {PadFront(Text(F::Current), 10, '0')}),
        Whole(137, {PadFront(Text(F::ReadingDate), 6, '0')}),
        Whole(143, {PadFront(Text(F::ReadingTime), 4, '0')}),  // hhmmss takes 143-148
        Whole(149, {Text(F::ResponseCode)}),
        Whole(151, {Text(F::Service)}),
        // One column right of the route file's name and meter type.
        Whole(153, {Text(F::BillingName)}),
        TextIn(183, 9, F::MeterType),
    };
    return line;
}

const MeterLayout& RouteLayout() {
    static const MeterLayout route = MakeRoute();
    return route;
}

const ReadingLayout& ReadingsLayout() {
    static const ReadingLayout line = MakeReadings();
    return line;
}

}  // namespace

USTIInterface::USTIInterface()
    : VendorMeter(RouteLayout(), static_cast<CodecRecord&>(*this)),
      VendorReading(ReadingsLayout(), static_cast<CodecRecord&>(*this)) {}

std::int32_t USTIInterface::Open(const std::string& path) {
    VendorReading::Close();
    return VendorMeter::Open(path);
}

std::int32_t USTIInterface::Open(const std::string& path, std::int32_t append) {
    VendorMeter::Close();
    return VendorReading::Open(path, append);
}

std::int32_t USTIInterface::Close() {
    VendorMeter::Close();
    return VendorReading::Close();
}

void USTIInterface::AdjustFields(std::string_view /*line*/) {
    const std::string& meterId = Field(F::MeterID);
    const std::size_t mark = meterId.find(kDemandMark);
    if (mark == std::string::npos) {
        return;
    }
    AssignZeroPaddedInteger(MutableField(F::MeterTagNbr), std::string_view(meterId).substr(0, mark),
                            kDemandTagDigits);
    MutableField(F::ReadType).assign(1, 'P');
}

bool USTIInterface::HooksChange(CodecField field) const {
    return field == F::MeterTagNbr || field == F::ReadType;
}
