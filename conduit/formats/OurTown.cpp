#include "conduit/formats/OurTown.h"

#include "conduit/formats/FieldForms.h"
#include "conduit/formats/MeterLayout.h"
#include "conduit/formats/ReadingLayout.h"

namespace {

using F = CodecField;
using namespace layout;

MeterLayout MakeRoute() {
    MeterLayout route;
    route.members = {F::ServiceUniqueID, F::BillingName,    F::ServiceAddress, F::Message,
                     F::MeterType,       F::MeterTagNbr,    F::MeterSerialNbr, F::MaxReading,
                     F::MinReading,      F::PrvReading,     F::SelectedRoute,  F::RouteSequence,
                     F::Digits,          F::LstReadingDate, F::ReadType,       F::UserDef};
    // The file has no message column: Message stays empty.
    route.fields = {
        {F::BillingName, {Columns(8, 20)}},
        {F::ServiceAddress, {Columns(28, 20)}},
        {F::MeterSerialNbr, {Columns(67, 10)}},
        {F::ServiceUniqueID, {Columns(120, 15)}},
        {F::SelectedRoute, {Columns(120, 2)}},  // route, sequence and account make the id
        {F::RouteSequence, {Columns(122, 3)}},
        {F::UserDef, {Columns(130, 5)}},
        {F::MeterType, {Columns(143, 1)}},
        {F::MeterTagNbr, {Columns(164, 10)}},
        // No digit count in the file: the digit rule makes "00" nine digits.
        {F::Digits, {Constant("00")}},
        {F::LstReadingDate, {Constant("")}},
        {F::ReadType, {Constant("S")}},
    };
    route.readings = {{F::MaxReading, 85}, {F::MinReading, 94}, {F::PrvReading, 103}};
    route.marks = {MarkSets(F::MeterType, 143, " ", "W")};
    route.blanksToZeros = {F::MaxReading, F::MinReading, F::PrvReading};
    route.trimmed = route.members;
    return route;
}

ReadingLayout MakeReadings() {
    ReadingLayout line;
    line.lineLength = 255;
    line.members = {F::ServiceUniqueID, F::BillingName, F::ServiceAddress,
                    F::ReadingDate,     F::CurReading,  F::MeterTagNbr,
                    F::MeterSerialNbr,  F::MaxReading,  F::MinReading};
    line.pieces = {
        TextIn(8, 20, F::BillingName),
        TextIn(28, 20, F::ServiceAddress),
        TextIn(67, 10, F::MeterSerialNbr),
        ReportingLoss(TextIn(77, 9, F::MaxReading)),
        ReportingLoss(TextIn(86, 9, F::MinReading)),
        ReportingLoss(TextIn(95, 9, F::CurReading)),
        TextIn(120, 15, F::ServiceUniqueID),
        // MM/DD/YY
        First(135, 8,
              {PadFront(Part(F::ReadingDate, 2, 2), 2, '0'), Literal("/"),
               PadFront(Part(F::ReadingDate, 4, 2), 2, '0'), Literal("/"),
               PadFront(Part(F::ReadingDate, 0, 2), 2, '0')}),
        Whole(164, {Text(F::MeterTagNbr)}),
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

OurTownMeter::OurTownMeter() : VendorMeter(RouteLayout()) {}

VendorMeter::LineUse OurTownMeter::PrepareLine(std::string& line) {
    return line.empty() ? LineUse::Skip : LineUse::Record;
}

OurTownReading::OurTownReading() : VendorReading(ReadingsLayout()) {}
