#include "conduit/formats/ConnektFamily.h"

#include "conduit/formats/FieldForms.h"
#include "conduit/formats/MeterLayout.h"

namespace {

using F = CodecField;

}  // namespace

MeterLayout ConnektFamilyRouteLayout() {
    using namespace layout;
    MeterLayout route;
    route.members = {F::ServiceUniqueID, F::BillingName,    F::ServiceAddress, F::Message,
                     F::MeterType,       F::MeterTagNbr,    F::MeterSerialNbr, F::MaxReading,
                     F::MinReading,      F::PrvReading,     F::SelectedRoute,  F::RouteSequence,
                     F::Digits,          F::LstReadingDate, F::ReadType,       F::UserDef};
    route.fields = {
        {F::ServiceAddress, {Columns(28, 20)}},
        {F::RouteSequence, {Columns(166, 4)}},
    };
    route.blanksToZeros = {F::MaxReading, F::MinReading, F::PrvReading, F::MeterTagNbr};
    route.trimmed = route.members;
    return route;
}

bool StartsWithTwoBlanks(std::string_view line) {
    return line.starts_with("  ");
}

ReadingLayout ConnektFamilyReadingsLayout() {
    using namespace layout;
    ReadingLayout line;
    line.lineLength = 255;
    line.members = {F::ServiceUniqueID, F::BillingName,    F::ServiceAddress, F::ResponseCode,
                    F::ResponseText,    F::ReadingDate,    F::CurReading,     F::ReadingTime,
                    F::MeterTagNbr,     F::MeterSerialNbr, F::SelectedRoute,  F::Intials,
                    F::UserDef,         F::RouteSequence,  F::Digits,         F::MeterType,
                    F::PrvReading,      F::MaxReading,     F::MinReading};
    line.pieces = {
        TextIn(8, 20, F::BillingName),
        TextIn(28, 20, F::ServiceAddress),
        TextIn(67, 9, F::MeterSerialNbr),
    };
    return line;
}

namespace layout {

std::vector<Segment> MonthDayYearWithSlashes(CodecField date) {
    std::vector<Segment> parts = MonthDayYear(date);
    parts.insert(parts.begin() + 2, Literal("/"));
    parts.insert(parts.begin() + 1, Literal("/"));
    return parts;
}

std::vector<Segment> TimePairs(CodecField time, std::string_view separator) {
    std::vector<Segment> pairs;
    for (std::size_t from = 0; from < 6; from += 2) {
        if (from > 0 && !separator.empty()) {
            pairs.push_back(Literal(separator));
        }
        pairs.push_back(PadFront(Part(time, from, 2), 2, '0'));
    }
    return pairs;
}

}  // namespace layout
