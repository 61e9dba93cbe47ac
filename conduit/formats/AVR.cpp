#include "conduit/formats/AVR.h"

#include <algorithm>

#include "conduit/formats/FieldForms.h"
#include "conduit/formats/MeterLayout.h"
#include "conduit/formats/ReadingLayout.h"

namespace {

using F = CodecField;
using namespace layout;

// The previous reading's nine columns, whose leading zeros tell the digits.
constexpr std::size_t kPreviousFirst = 101;
constexpr std::size_t kPreviousLast = 109;
constexpr std::int64_t kFewestDigits = 5;
constexpr std::int64_t kMostDigits = 9;

MeterLayout MakeRouteLayout() {
    MeterLayout route;
    route.members = {F::ServiceUniqueID, F::BillingName, F::ServiceAddress, F::Message,
                     F::MeterType,       F::MeterTagNbr, F::MeterSerialNbr, F::MaxReading,
                     F::MinReading,      F::PrvReading,  F::SelectedRoute,  F::RouteSequence,
                     F::Digits,          F::ReadType,    F::UserDef};
    route.fields = {
        {F::SelectedRoute, {Columns(1, 2)}},
        {F::RouteSequence, {Columns(3, 4)}},
        {F::ServiceUniqueID, {Columns(12, 15)}},
        {F::BillingName, {Columns(28, 20)}},
        {F::ServiceAddress, {Columns(49, 20)}},
        {F::MeterTagNbr, {Columns(69, 10)}},
        {F::Message, {Columns(142, 40)}},
        {F::MeterSerialNbr, {Columns(189, 10)}},
        {F::MeterType, {Constant("W")}},
        {F::ReadType, {Constant("S")}},
        {F::UserDef, {Constant("")}},
    };
    route.readings = {{F::PrvReading, kPreviousLast}, {F::MaxReading, 127}, {F::MinReading, 136}};
    route.trimmed = route.members;
    route.trimmed.Remove(F::UserDef);
    // Nothing of a line end or a tab may reach a meter on the handheld.
    route.trimsWhiteSpace = true;
    return route;
}

const MeterLayout& RouteLayout() {
    static const MeterLayout route = MakeRouteLayout();
    return route;
}

std::int64_t DialDigits(std::string_view line) {
    std::int64_t zeros = 0;
    for (std::size_t column = kPreviousFirst;
         column <= kPreviousLast && column < line.size() && line[column] == '0'; ++column) {
        ++zeros;
    }
    return std::clamp(kMostDigits - zeros, kFewestDigits, kMostDigits);
}

ReadingLayout MakeReadingsLayout() {
    ReadingLayout line;
    line.lineLength = 289;
    line.members = {F::ServiceUniqueID, F::BillingName, F::ServiceAddress, F::ResponseCode,
                    F::ReadingDate,     F::CurReading,  F::ReadingTime,    F::MeterTagNbr,
                    F::SelectedRoute,   F::Intials,     F::RouteSequence,  F::MeterSerialNbr,
                    F::MeterType};
    line.pieces = {
        Whole(0, {Literal("A")}),
        TextIn(1, 2, F::SelectedRoute),
        TextIn(3, 4, F::RouteSequence),
        TextIn(12, 15, F::ServiceUniqueID),
        TextIn(28, 20, F::BillingName),
        TextIn(49, 20, F::ServiceAddress),
        TextIn(69, 10, F::MeterSerialNbr),
        ZeroPaddedIn(80, 6, F::ReadingDate),  // YYMMDD as the handheld holds it
        ZeroPaddedIn(86, 6, F::ReadingTime),
        Whole(92, {Literal("000000001")}),
        ReadingIn9(110, F::CurReading),
        Whole(185, {Literal("1")}),
        Whole(187, {Literal("05")}),
        TextIn(189, 10, F::MeterTagNbr),
        TextIn(203, 5, F::Intials),
        TextIn(209, 2, F::ResponseCode),
    };
    return line;
}

const ReadingLayout& ReadingsLayout() {
    static const ReadingLayout line = MakeReadingsLayout();
    return line;
}

ReadingLayout MakeHeaderLayout() {
    ReadingLayout line;
    line.lineLength = 289;
    line.members = {F::SelectedRoute};
    line.pieces = {Whole(0, {Literal("H")}), TextIn(1, 2, F::SelectedRoute)};
    return line;
}

const ReadingLayout& HeaderLayout() {
    static const ReadingLayout line = MakeHeaderLayout();
    return line;
}

}  // namespace

AVRMeter::AVRMeter() : VendorMeter(RouteLayout()) {}

VendorMeter::LineUse AVRMeter::PrepareLine(std::string& line) {
    return !line.empty() && line.front() == 'A' ? LineUse::Record : LineUse::Skip;
}

std::int64_t AVRMeter::DigitCount(std::string_view line) {
    return DialDigits(line);
}

void AVRMeter::AdjustFields(std::string_view line) {
    const auto digits = static_cast<int>(DialDigits(line));
    MutableField(CodecField::Digits).assign({'0', static_cast<char>('0' + digits)});
}

bool AVRMeter::HooksChange(CodecField field) const {
    return field == CodecField::Digits;
}

AVRReading::AVRReading() : VendorReading(ReadingsLayout()) {}

std::int32_t AVRReading::WriteHeader() {
    return WriteLine(HeaderLayout());
}
