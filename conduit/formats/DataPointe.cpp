#include "conduit/formats/DataPointe.h"

#include "conduit/formats/FieldForms.h"
#include "conduit/formats/MeterLayout.h"
#include "conduit/formats/ReadingLayout.h"

namespace {

using F = CodecField;
using namespace layout;

// The meter-number columns, where a marker may stand before a 12-character tag.
constexpr std::size_t kMarker = 67;
constexpr std::size_t kMarkedTag = 69;
constexpr std::size_t kMarkedTagLength = 12;

MeterLayout MakeRouteLayout() {
    MeterLayout route;
    route.members = {F::ServiceUniqueID, F::BillingName,    F::ServiceAddress, F::Message,
                     F::MeterType,       F::MeterTagNbr,    F::MeterSerialNbr, F::MaxReading,
                     F::MinReading,      F::PrvReading,     F::SelectedRoute,  F::RouteSequence,
                     F::Digits,          F::LstReadingDate, F::ReadType,       F::UserDef};
    route.fields = {
        {F::UserDef, {Columns(0, 8)}},
        {F::SelectedRoute, {Columns(0, 2)}},
        {F::RouteSequence, {Columns(4, 4)}},
        {F::MeterType, {Columns(20, 1)}},
        {F::BillingName, {Columns(21, 25)}},
        {F::ServiceAddress, {Columns(46, 21)}},
        {F::MeterTagNbr, {Columns(kMarker, 20)}},
        {F::MeterSerialNbr, {Columns(kMarker, 10)}},
        {F::Message, {Columns(108, 60)}},
        {F::Digits, {Columns(208, 2)}},
        {F::ServiceUniqueID, {RightAligned(216, 12, 12)}},
        {F::LstReadingDate, {Columns(248, 6)}},
        {F::ReadType, {Constant("S")}},
    };
    // The readings start at their columns and are as long as the digit count.
    route.readings = {{F::MaxReading, 88, ReadingAnchor::StartsAt},
                      {F::MinReading, 98, ReadingAnchor::StartsAt},
                      {F::PrvReading, 228, ReadingAnchor::StartsAt}};
    route.blanksToZeros = {F::PrvReading};
    route.trimmed = route.members;
    return route;
}

const MeterLayout& RouteLayout() {
    static const MeterLayout route = MakeRouteLayout();
    return route;
}

ReadingLayout MakeReadingsLayout() {
    ReadingLayout line;
    line.lineLength = 281;
    line.members = {F::ServiceUniqueID, F::BillingName, F::ServiceAddress, F::ReadingDate,
                    F::CurReading,      F::ReadingTime, F::MeterType,      F::MeterSerialNbr,
                    F::MaxReading,      F::MinReading,  F::Message,        F::Digits,
                    F::UserDef};
    line.pieces = {
        TextIn(0, 8, F::UserDef),
        TextIn(20, 1, F::MeterType),
        TextIn(21, 25, F::BillingName),
        TextIn(46, 21, F::ServiceAddress),
        TextIn(67, 20, F::MeterSerialNbr),
        // At most ten digits came from the route file: they fit whole.
        Whole(88, {PadBehind(Text(F::MaxReading), 10)}),
        Whole(98, {PadBehind(Text(F::MinReading), 10)}),
        TextIn(108, 100, F::Message),
        TextIn(208, 2, F::Digits),
        TextIn(216, 12, F::ServiceUniqueID),
        ReportingLoss(First(228, 10, {PadBehind(Text(F::CurReading), 10)})),
        DateMMDDYY(248, F::ReadingDate),
        ZeroPaddedIn(254, 6, F::ReadingTime),
    };
    return line;
}

const ReadingLayout& ReadingsLayout() {
    static const ReadingLayout line = MakeReadingsLayout();
    return line;
}

}  // namespace

DataPointeMeter::DataPointeMeter() : VendorMeter(RouteLayout()) {}

void DataPointeMeter::AdjustFields(std::string_view line) {
    if (line.size() < kMarker + 2 || line[kMarker] != '*') {
        return;
    }
    const char kind = line[kMarker + 1];
    const std::string_view tag =
        kMarkedTag < line.size() ? line.substr(kMarkedTag, kMarkedTagLength) : std::string_view{};
    if (kind == 'P' || kind == 'p') {
        MutableField(CodecField::MeterTagNbr).assign("0000").append(tag);
        MutableField(CodecField::ReadType).assign("P");
    } else if (kind == 'R' || kind == 'r') {
        MutableField(CodecField::MeterTagNbr).assign(tag);
        MutableField(CodecField::ReadType).assign("R");
    }
}

bool DataPointeMeter::HooksChange(CodecField field) const {
    return field == F::MeterTagNbr || field == F::ReadType;
}

DataPointeReading::DataPointeReading() : VendorReading(ReadingsLayout()) {}
