#include "conduit/formats/SCA.h"

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
    route.fields = {
        {F::ServiceUniqueID, {RightAligned(0, 16, 16)}},
        {F::MeterType, {Columns(13, 1)}},  // inside the service id
        {F::BillingName, {Columns(16, 30)}},
        {F::ServiceAddress, {Columns(46, 30)}},
        {F::Message, {Columns(76, 30)}},
        // MMDD20YY at 126-133 taken as YYMMDD.
        {F::LstReadingDate, {Columns(132, 2), Columns(126, 2), Columns(128, 2)}},
        {F::MeterSerialNbr, {Columns(134, 8)}},
        {F::SelectedRoute, {Columns(144, 3)}},
        {F::RouteSequence, {Columns(149, 4)}},
        {F::MeterTagNbr, {Constant("00"), Columns(173, 10)}},
        {F::Digits, {Columns(184, 2)}},
        {F::UserDef, {Constant("")}},
    };
    route.readings = {{F::PrvReading, 115}, {F::MinReading, 162}, {F::MaxReading, 172}};
    // A blank or unreadable count means ten digits here, not nine.
    route.digits = {F::Digits, 10, 10};
    route.marks = {MarkLetterOr(F::ReadType, 183, "PRS", "S")};
    route.blanksToZeros = {F::PrvReading, F::MinReading, F::MaxReading, F::MeterTagNbr};
    route.trimmed = route.members;
    return route;
}

ReadingLayout MakeReadings() {
    ReadingLayout line;
    line.lineLength = 249;
    line.members = {F::ServiceUniqueID, F::BillingName, F::ServiceAddress, F::ResponseCode,
                    F::ResponseText,    F::ReadingDate, F::CurReading,     F::MeterTagNbr,
                    F::SelectedRoute,   F::Message,     F::PrvReading,     F::MeterSerialNbr,
                    F::RouteSequence,   F::MaxReading,  F::MinReading,     F::ReadType,
                    F::Digits};
    line.pieces = {
        TextIn(0, 16, F::ServiceUniqueID),
        TextIn(16, 30, F::BillingName),
        TextIn(46, 30, F::ServiceAddress),
        TextIn(76, 30, F::Message),
        ReadingIn9(107, F::PrvReading),
        ReportingLoss(Last(116, 10, {PadFront(Text(F::CurReading), 10, ' ')})),
        // MMDD20YY
        First(126, 8,
              {PadFront(Part(F::ReadingDate, 2, 2), 2, '0'),
               PadFront(Part(F::ReadingDate, 4, 2), 2, '0'), Literal("20"),
               PadFront(Part(F::ReadingDate, 0, 2), 2, '0')}),
        TextIn(134, 10, F::MeterSerialNbr),
        TextIn(144, 3, F::SelectedRoute),
        Whole(147, {Literal("00"), Part(F::RouteSequence, 0, 4)}),
        // One column right of where the route file ends it.
        Whole(154, {PadFront(Text(F::MinReading), 10, ' ')}),
        ReadingIn9(164, F::MaxReading),
        // The tag of the route file, without the zeros put in front of it.
        Last(173, 10, {Text(F::MeterTagNbr)}),
        TextIn(183, 1, F::ReadType),
        TextIn(184, 2, F::Digits),
        TextIn(186, 2, F::ResponseCode),
        TextIn(188, 60, F::ResponseText),
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

SCAMeter::SCAMeter() : VendorMeter(RouteLayout()) {}

SCAReading::SCAReading() : VendorReading(ReadingsLayout()) {}
