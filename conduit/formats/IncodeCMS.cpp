#include "conduit/formats/IncodeCMS.h"

#include "conduit/formats/FieldForms.h"
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
        {F::ServiceUniqueID, {Columns(0, 17)}},
        {F::RouteSequence, {Columns(12, 5)}},  // the end of the service id
        {F::MeterTagNbr, {Columns(17, 8)}},
        {F::ServiceAddress, {Columns(25, 18)}},
        {F::MeterType, {Columns(43, 1)}},
        {F::BillingName, {Columns(63, 20)}},
        {F::Message, {Columns(83, 20)}},
        {F::SelectedRoute, {Columns(123, 4)}},
        {F::Digits, {Columns(127, 2)}},
        {F::ReadType, {Constant("S")}},
        {F::UserDef, {Constant("")}},
    };
    // No stand-in for a missing count; the previous reading has room for 7.
    route.digits = {F::Digits, 9, 0};
    route.readings = {
        {F::MaxReading, 53}, {F::MinReading, 62}, {F::PrvReading, 121, ReadingAnchor::EndsAt, 7}};
    // R is shown as E on the handheld; a D in column 122 wins over both.
    route.marks = {MarkSets(F::MeterType, 43, "R", "E"), MarkSets(F::MeterType, 122, "D", "D")};
    route.trimmed = route.members;
    return route;
}

const MeterLayout& RouteLayout() {
    static const MeterLayout route = MakeRouteLayout();
    return route;
}

ReadingLayout MakeReadingsLayout() {
    ReadingLayout line;
    line.lineLength = 57;
    line.members = {F::ServiceUniqueID, F::ResponseCode, F::ReadingDate, F::CurReading,
                    F::ReadingTime,     F::MeterTagNbr,  F::Intials,     F::MeterType};
    line.pieces = {
        TextIn(0, 17, F::ServiceUniqueID),
        // "00%09s": a reading of ten characters or more loses its last ones.
        ReportingLoss(First(17, 11, {Literal("00"), PadFront(Text(F::CurReading), 9, '0')})),
        TextIn(28, 8, F::MeterTagNbr),
        DateMMDDYY(36, F::ReadingDate),
        TextIn(42, 1, F::MeterType),
        TextIn(43, 3, F::ResponseCode),
        ZeroPaddedIn(46, 6, F::ReadingTime),
        TextIn(52, 4, F::Intials),
    };
    return line;
}

const ReadingLayout& ReadingsLayout() {
    static const ReadingLayout line = MakeReadingsLayout();
    return line;
}

}  // namespace

IncodeCMSMeter::IncodeCMSMeter() : VendorMeter(RouteLayout()) {}

IncodeCMSReading::IncodeCMSReading() : VendorReading(ReadingsLayout()) {}

void IncodeCMSReading::BeforeWrite() {
    const std::string& type = Field(CodecField::MeterType);
    if (!type.empty() && type.front() == 'E') {
        SetField(CodecField::MeterType, "R");
    }
}
