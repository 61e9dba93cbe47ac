#include "conduit/formats/NorthStar.h"

#include "conduit/formats/FieldForms.h"
#include "conduit/formats/LeadingNumber.h"
#include "conduit/formats/MeterLayout.h"
#include "conduit/formats/ReadingLayout.h"

namespace {

using F = CodecField;
using namespace layout;

constexpr std::string_view kNoMaximum = "00000000";

MeterLayout MakeRoute() {
    MeterLayout route;
    route.members = {F::ServiceUniqueID, F::BillingName,    F::ServiceAddress, F::Message,
                     F::MeterType,       F::MeterTagNbr,    F::MeterSerialNbr, F::MaxReading,
                     F::MinReading,      F::PrvReading,     F::SelectedRoute,  F::RouteSequence,
                     F::Digits,          F::LstReadingDate, F::ReadType,       F::UserDef};
    // The readings are fixed 8-column fields: no digit rule.
    route.fields = {
        {F::ServiceUniqueID, {RightAligned(0, 10, 10)}},
        {F::SelectedRoute, {Columns(2, 2)}},  // inside the service id
        {F::MeterType, {Columns(10, 1)}},
        {F::MeterSerialNbr, {Columns(11, 10)}},
        {F::UserDef, {Columns(21, 2)}},
        {F::MeterTagNbr, {Columns(27, 10)}},
        {F::ServiceAddress, {Columns(40, 30)}},
        {F::MaxReading, {Columns(74, 8)}},
        {F::MinReading, {Columns(84, 8)}},
        {F::BillingName, {Columns(95, 20)}},
        {F::PrvReading, {Columns(160, 8)}},
        {F::RouteSequence, {Columns(191, 4)}},
        {F::Message, {Columns(287, 10)}},
        {F::Digits, {Constant("0")}},
        {F::LstReadingDate, {Constant("")}},
        {F::ReadType, {Constant("S")}},
    };
    route.blanksToZeros = {F::MaxReading, F::MinReading, F::PrvReading};
    route.trimmed = route.members;
    return route;
}

ReadingLayout MakeReadings() {
    ReadingLayout line;
    line.lineLength = 60;
    line.members = {F::ServiceUniqueID, F::ReadingDate,    F::CurReading,   F::MeterType,
                    F::UserDef,         F::MeterSerialNbr, F::RouteSequence};
    line.pieces = {
        TextIn(0, 10, F::ServiceUniqueID),
        TextIn(10, 1, F::MeterType),
        TextIn(11, 10, F::MeterSerialNbr),
        TextIn(21, 2, F::UserDef),
        // MMDD: the year is not written.
        First(27, 4,
              {PadFront(Part(F::ReadingDate, 2, 2), 2, '0'),
               PadFront(Part(F::ReadingDate, 4, 2), 2, '0')}),
        Whole(31, {PadBehind(Number(F::CurReading), 10)}),
        Whole(41, {Text(F::RouteSequence)}),
        // The billing system takes the sequence a second time here.
        Whole(47, {Text(F::RouteSequence)}),
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

NorthStarMeter::NorthStarMeter() : VendorMeter(RouteLayout()) {}

void NorthStarMeter::FinishFields(std::string_view /*line*/) {
    if (Field(F::MaxReading) == kNoMaximum) {
        MutableField(F::MeterType).assign(1, 'D');
    }
    std::string& sequence = MutableField(F::RouteSequence);
    AssignZeroPaddedInteger(sequence, sequence, 4);
}

bool NorthStarMeter::HooksChange(CodecField field) const {
    return field == F::MeterType || field == F::RouteSequence;
}

NorthStarReading::NorthStarReading() : VendorReading(ReadingsLayout()) {}
