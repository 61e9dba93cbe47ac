#include "conduit/formats/RAMAR.h"

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
    // No digit rule: the previous reading takes the six columns of the
    // meter's six dials. Nine columns from 231 would run into the date that
    // starts at 237 and give a reading ending in the century. The file has
    // no user field: UserDef stays empty.
    route.fields = {
        {F::SelectedRoute, {Columns(1, 4)}},
        {F::BillingName, {Columns(32, 20)}},
        {F::ServiceAddress, {Columns(64, 25)}},
        {F::MeterSerialNbr, {Columns(88, 8)}},
        {F::ServiceUniqueID, {Columns(144, 17)}},
        {F::Message, {Columns(159, 20)}},
        {F::MeterTagNbr, {Columns(176, 8)}},
        {F::PrvReading, {Columns(231, 6)}},
        // The YYMMDD part of the CCYYMMDD date at 237-244.
        {F::LstReadingDate, {Columns(239, 6)}},
        {F::MeterType, {Constant("W")}},
        {F::RouteSequence, {Constant("0000")}},
        {F::Digits, {Constant("6")}},
        {F::MaxReading, {Constant("")}},
        {F::MinReading, {Constant("")}},
        {F::ReadType, {Constant("S")}},
    };
    route.blanksToZeros = {F::SelectedRoute, F::MeterTagNbr, F::PrvReading};
    route.trimmed = route.members;
    return route;
}

ReadingLayout MakeReadings() {
    ReadingLayout line;
    line.lineLength = 257;
    line.members = {F::ServiceUniqueID, F::BillingName, F::ServiceAddress, F::ReadingDate,
                    F::CurReading,      F::ReadingTime, F::MeterTagNbr,    F::SelectedRoute};
    line.pieces = {
        TextIn(1, 4, F::SelectedRoute),
        TextIn(32, 20, F::BillingName),
        TextIn(64, 25, F::ServiceAddress),
        TextIn(144, 17, F::ServiceUniqueID),
        TextIn(176, 8, F::MeterTagNbr),
        // CCYYMMDDhhmmss
        First(
            215, 14,
            {Literal("20"), PadFront(Part(F::ReadingDate, 0, 2), 2, '0'),
             PadFront(Part(F::ReadingDate, 2, 2), 2, '0'),
             PadFront(Part(F::ReadingDate, 4, 2), 2, '0'), PadFront(Text(F::ReadingTime), 6, '0')}),
        ReportingLoss(First(229, 10, {Literal("0"), PadFront(Text(F::CurReading), 9, '0')})),
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

RAMARMeter::RAMARMeter() : VendorMeter(RouteLayout()) {}

RAMARReading::RAMARReading() : VendorReading(ReadingsLayout()) {}
