#include "conduit/formats/Custom1.h"

#include "conduit/formats/FieldForms.h"
#include "conduit/formats/MeterLayout.h"
#include "conduit/formats/ReadingLayout.h"

namespace {

using F = CodecField;
using namespace layout;

MeterLayout MakeRouteLayout() {
    MeterLayout route;
    route.lineLimit = 599;
    route.members = {F::ServiceUniqueID, F::BillingName,    F::ServiceAddress, F::Message,
                     F::MeterType,       F::MeterTagNbr,    F::MeterSerialNbr, F::MaxReading,
                     F::MinReading,      F::PrvReading,     F::SelectedRoute,  F::RouteSequence,
                     F::Digits,          F::LstReadingDate, F::ReadType,       F::UserDef};
    // The readings are fixed five-column fields: no digit rule.
    route.fields = {
        {F::SelectedRoute, {Columns(0, 4)}},
        {F::RouteSequence, {Columns(16, 4)}},
        {F::Digits, {Constant("0"), Columns(27, 1)}},
        {F::MeterTagNbr, {Columns(28, 12)}},
        {F::MeterSerialNbr, {Columns(32, 8)}},  // inside the tag's columns
        {F::MaxReading, {Columns(88, 5)}},
        {F::MinReading, {Columns(98, 5)}},
        {F::PrvReading, {Columns(162, 5)}},
        {F::LstReadingDate, {Columns(172, 6)}},
        {F::ServiceAddress, {Columns(178, 24)}},
        {F::BillingName, {Columns(202, 24)}},
        {F::Message, {Columns(247, 26)}},
        {F::ServiceUniqueID, {Columns(497, 10)}},
        {F::MeterType, {Constant("W")}},
        {F::ReadType, {Constant("S")}},
    };
    route.blanksToZeros = {F::MeterTagNbr, F::MaxReading, F::MinReading, F::PrvReading};
    route.trimmed = route.members;
    return route;
}

const MeterLayout& RouteLayout() {
    static const MeterLayout route = MakeRouteLayout();
    return route;
}

// The last five characters of a reading: the file has five columns for it.
ReadingPiece ReadingIn5(std::size_t column, CodecField field) {
    return ReportingLoss(Last(column, 5, {Text(field)}));
}

ReadingLayout MakeReadingsLayout() {
    ReadingLayout line;
    line.lineLength = 508;
    line.members = {F::ServiceUniqueID, F::BillingName,   F::ServiceAddress, F::ReadingDate,
                    F::CurReading,      F::MeterTagNbr,   F::SelectedRoute,  F::MaxReading,
                    F::MinReading,      F::RouteSequence, F::Digits,         F::PrvReading};
    line.pieces = {
        Last(0, 4, {Text(F::SelectedRoute)}),
        Whole(12, {Literal("0000")}),
        Last(16, 4, {Text(F::RouteSequence)}),
        Last(27, 1, {Text(F::Digits)}),
        TextIn(28, 12, F::MeterTagNbr),
        ReadingIn5(68, F::CurReading),
        ReadingIn5(88, F::MaxReading),
        ReadingIn5(98, F::MinReading),
        DateMMDDYY(135, F::ReadingDate),
        ReadingIn5(167, F::PrvReading),  // five columns right of the route file's
        TextIn(178, 24, F::ServiceAddress),
        TextIn(202, 24, F::BillingName),
        TextIn(497, 10, F::ServiceUniqueID),
    };
    return line;
}

const ReadingLayout& ReadingsLayout() {
    static const ReadingLayout line = MakeReadingsLayout();
    return line;
}

}  // namespace

Custom1Meter::Custom1Meter() : VendorMeter(RouteLayout()) {}

VendorMeter::LineUse Custom1Meter::PrepareLine(std::string& line) {
    return line.empty() ? LineUse::Skip : LineUse::Record;
}

Custom1Reading::Custom1Reading() : VendorReading(ReadingsLayout()) {}
