#include "conduit/formats/LogHH.h"

#include "conduit/formats/FieldForms.h"
#include "conduit/formats/MeterLayout.h"

namespace {

using F = CodecField;
using namespace layout;

MeterLayout MakeRoute() {
    MeterLayout route;
    route.members = {F::ServiceUniqueID, F::BillingName,    F::ServiceAddress, F::Message,
                     F::MeterType,       F::MeterTagNbr,    F::MeterSerialNbr, F::MaxReading,
                     F::MinReading,      F::PrvReading,     F::SelectedRoute,  F::RouteSequence,
                     F::Digits,          F::LstReadingDate, F::ReadType,       F::UserDef};
    // Six-digit readings in fixed columns: no dial-digit rule.
    route.fields = {
        {F::ServiceAddress, {Columns(0, 25)}}, {F::ServiceUniqueID, {Columns(27, 10)}},
        {F::SelectedRoute, {Columns(77, 3)}},  {F::RouteSequence, {Columns(82, 4)}},
        {F::MeterType, {Columns(87, 1)}},      {F::MeterTagNbr, {Columns(88, 8)}},
        {F::MeterSerialNbr, {Columns(88, 8)}}, {F::PrvReading, {Columns(106, 6)}},
        {F::MaxReading, {Columns(112, 6)}},    {F::MinReading, {Columns(118, 6)}},
        {F::Message, {Columns(159, 20)}},      {F::BillingName, {Columns(179, 20)}},
        {F::Digits, {Constant("6")}},          {F::LstReadingDate, {Constant("      ")}},
        {F::ReadType, {Constant("S")}},
    };
    route.blanksToZeros = {F::MeterTagNbr, F::PrvReading, F::MaxReading, F::MinReading};
    route.trimmed = route.members;
    route.trimmed.Remove(F::LstReadingDate);
    route.firstLineIsHeader = true;
    return route;
}

const MeterLayout& RouteLayout() {
    static const MeterLayout route = MakeRoute();
    return route;
}

ReadingLayout MakeReadings() {
    ReadingLayout line;
    line.lineLength = 241;
    line.members = {F::ServiceUniqueID, F::BillingName,   F::ServiceAddress, F::ResponseCode,
                    F::ResponseText,    F::ReadingDate,   F::CurReading,     F::ReadingTime,
                    F::MeterTagNbr,     F::SelectedRoute, F::Intials,        F::UserDef,
                    F::RouteSequence,   F::MeterType,     F::PrvReading,     F::MaxReading,
                    F::MinReading};
    // The stored readings are the route file's six columns, written back as
    // they came.
    line.pieces = {
        TextIn(0, 25, F::ServiceAddress),     TextIn(27, 10, F::ServiceUniqueID),
        TextIn(77, 3, F::SelectedRoute),      Whole(80, {Literal("-0")}),
        TextIn(82, 4, F::RouteSequence),      TextIn(87, 1, F::MeterType),
        TextIn(88, 12, F::MeterTagNbr),       ReportingLoss(ZeroPaddedIn(100, 6, F::CurReading)),
        Whole(106, {Text(F::PrvReading)}),    Whole(112, {Text(F::MaxReading)}),
        Whole(118, {Text(F::MinReading)}),    DateMMDDYY(125, F::ReadingDate),
        ZeroPaddedIn(131, 6, F::ReadingTime), TextIn(159, 20, F::ResponseText),
        TextIn(179, 20, F::BillingName),      Whole(239, {Literal("X")}),
    };
    return line;
}

const ReadingLayout& ReadingsLayout() {
    static const ReadingLayout line = MakeReadings();
    return line;
}

}  // namespace

LogHHMeter::LogHHMeter() : VendorMeter(RouteLayout()) {}

LogHHReading::LogHHReading() : VendorReading(ReadingsLayout()) {}
