#include "conduit/formats/Incode.h"

#include <cmath>
#include <cstdio>

#include "conduit/formats/FieldForms.h"
#include "conduit/formats/LeadingNumber.h"
#include "conduit/formats/MeterLayout.h"
#include "conduit/formats/ReadingLayout.h"

namespace {

using F = CodecField;
using namespace layout;

MeterLayout MakeRouteLayout() {
    MeterLayout route;
    route.members = {F::ServiceUniqueID, F::BillingName,   F::ServiceAddress, F::Message,
                     F::MeterType,       F::MeterTagNbr,   F::MaxReading,     F::MinReading,
                     F::PrvReading,      F::SelectedRoute, F::RouteSequence,  F::Digits,
                     F::ReadType,        F::UserDef};
    route.fields = {
        {F::ServiceUniqueID, {Columns(0, 19)}}, {F::BillingName, {Columns(19, 30)}},
        {F::ServiceAddress, {Columns(49, 30)}}, {F::Message, {Columns(79, 30)}},
        {F::MeterType, {Columns(110, 1)}},      {F::MeterTagNbr, {Columns(111, 12)}},
        {F::SelectedRoute, {Columns(171, 4)}},  {F::RouteSequence, {Columns(176, 6)}},
        {F::Digits, {Columns(182, 2)}},         {F::ReadType, {Constant("S")}},
        {F::UserDef, {Constant("")}},
    };
    // No stand-in for a missing count: without digits there are no readings.
    route.digits = {F::Digits, 9, 0};
    route.readings = {{F::MaxReading, 153}, {F::MinReading, 162}, {F::PrvReading, 192}};
    route.marks = {MarkSets(F::MeterType, 109, "D", "D")};
    route.trimmed = route.members;
    return route;
}

const MeterLayout& RouteLayout() {
    static const MeterLayout route = MakeRouteLayout();
    return route;
}

// "DE" for a type beginning with D, else a blank and the type's first letter.
void AppendMeterTypeMark(const VendorReading& codec, std::string& out) {
    const std::string& type = codec.Field(F::MeterType);
    if (!type.empty() && type.front() == 'D') {
        out.append("DE");
    } else {
        out.push_back(' ');
        out.push_back(type.empty() ? ' ' : type.front());
    }
}

ReadingLayout MakeReadingsLayout() {
    ReadingLayout line;
    line.lineLength = 140;
    line.members = {F::ServiceUniqueID, F::BillingName, F::ServiceAddress, F::ResponseCode,
                    F::ReadingDate,     F::CurReading,  F::ReadingTime,    F::MeterTagNbr,
                    F::Intials,         F::MeterType};
    line.pieces = {
        TextIn(0, 19, F::ServiceUniqueID),
        First(19, 2, {Custom(AppendMeterTypeMark)}),
        TextIn(21, 30, F::BillingName),
        TextIn(51, 30, F::ServiceAddress),
        DateMMDDYY(86, F::ReadingDate),
        ReadingIn9(92, F::CurReading),
        // Long initials push the pieces after them to the right.
        Whole(101, {Text(F::Intials)}),
        ZeroPaddedIn(111, 6, F::ReadingTime),
        TextIn(117, 12, F::MeterTagNbr),
        TextIn(137, 2, F::ResponseCode),
    };
    return line;
}

const ReadingLayout& ReadingsLayout() {
    static const ReadingLayout line = MakeReadingsLayout();
    return line;
}

}  // namespace

IncodeMeter::IncodeMeter() : VendorMeter(RouteLayout()) {}

IncodeReading::IncodeReading() : VendorReading(ReadingsLayout()) {}

std::string IncodeReading::DemandReading(std::string_view reading) {
    const double scaled = LeadingDecimal(reading) * 10000.0;
    if (!std::isfinite(scaled)) {
        return std::string(reading);
    }
    // The largest double has 309 digits before the point.
    char text[320];
    std::snprintf(text, sizeof text, "%09.0f", scaled);
    return text;
}
