#include "conduit/formats/StandardLayouts.h"

#include <string>
#include <utility>
#include <vector>

#include "conduit/formats/FieldForms.h"
#include "conduit/formats/MeterLayout.h"
#include "conduit/formats/ReadingLayout.h"
#include "conduit/formats/VendorReading.h"

namespace {

using F = CodecField;
using namespace layout;

// Functions rather than globals: layouts may be built during another
// source's static initialisation.
FieldSet Readings() {
    return {F::MaxReading, F::MinReading, F::PrvReading};
}

FieldSet ReadingsAndTag() {
    return {F::MaxReading, F::MinReading, F::PrvReading, F::MeterTagNbr};
}

// A date written month, separator, day, separator, year in columns 161-168,
// taken as YYMMDD.
std::vector<LinePiece> MonthDayYearAt161() {
    return {Columns(167, 2), Columns(161, 2), Columns(164, 2)};
}

MeterLayout MakeStandardRoute() {
    MeterLayout route;
    route.members = {F::ServiceUniqueID, F::BillingName, F::ServiceAddress, F::Message,
                     F::MeterType,       F::MeterTagNbr, F::MeterSerialNbr, F::MaxReading,
                     F::MinReading,      F::PrvReading,  F::SelectedRoute,  F::RouteSequence,
                     F::Digits,          F::ReadType,    F::UserDef};
    route.fields = {
        {F::ServiceUniqueID, {RightAligned(0, 14, 14), RightAligned(14, 3, 3)}},
        {F::BillingName, {Columns(17, 30)}},
        {F::ServiceAddress, {Columns(47, 30)}},
        {F::Message, {Columns(77, 30)}},
        {F::MeterType, {Columns(108, 1)}},
        {F::MeterTagNbr, {Columns(109, 10)}},
        {F::MeterSerialNbr, {Columns(129, 5)}},
        {F::SelectedRoute, {Columns(169, 4)}},
        {F::RouteSequence, {Columns(174, 4)}},
        {F::Digits, {Columns(180, 2)}},
        {F::ReadType, {Constant("S")}},
        {F::UserDef, {Constant("")}},
    };
    route.readings = {{F::MaxReading, 151}, {F::MinReading, 160}, {F::PrvReading, 190}};
    route.marks = {MarkSets(F::MeterType, 107, "D", "D")};
    route.trimmed = route.members;
    return route;
}

// The variants that carry the last reading date.
MeterLayout WithLastReadingDate(MeterLayout route, std::vector<LinePiece> date) {
    route.members.Add(F::LstReadingDate);
    route.SetField(F::LstReadingDate, std::move(date));
    return route;
}

MeterLayout MakeMunicipalSoftwareRoute() {
    MeterLayout route = MakeStandardRoute();
    route.SetField(F::MeterSerialNbr, {Columns(109, 10)});
    return route;
}

MeterLayout MakeInfinitecRoute() {
    MeterLayout route = MakeStandardRoute();
    route.SetField(F::MeterTagNbr, {Constant("0000"), Columns(191, 8)});
    route.SetField(F::MeterSerialNbr, {Columns(109, 15)});
    route.blanksToZeros = Readings();
    return route;
}

MeterLayout MakeCaselleRoute() {
    MeterLayout route = MakeStandardRoute();
    route.SetField(F::MeterSerialNbr, {Columns(109, 10)});
    route.SetField(F::UserDef, {Columns(119, 10)});
    route.SetField(F::RouteSequence, {Columns(175, 4)});
    route.SetField(F::MeterTagNbr, {Columns(192, 12)});
    route.marks.push_back(MarkLetterOr(F::ReadType, 191, "PRS", "S"));
    route.blanksToZeros = Readings();
    route.trimmed.Remove(F::ReadType);
    return route;
}

MeterLayout MakeDataTechRoute() {
    MeterLayout route = WithLastReadingDate(MakeStandardRoute(), {Columns(161, 6)});
    route.SetField(F::MeterTagNbr, {Columns(192, 12)});
    route.SetField(F::MeterSerialNbr, {Columns(109, 10)});
    route.marks.push_back(MarkOr(F::ReadType, 191, "P", "P", "S"));
    route.blanksToZeros = Readings();
    return route;
}

MeterLayout MakePowerMgrRoute() {
    MeterLayout route = WithLastReadingDate(MakeStandardRoute(), MonthDayYearAt161());
    route.SetField(F::UserDef, {Columns(109, 20)});
    route.SetField(F::MeterTagNbr, {Columns(192, 12)});
    route.SetField(F::MeterSerialNbr, {Columns(109, 10)});
    route.marks.push_back(MarkOr(F::ReadType, 191, "MNZ", "P", "S"));
    route.blanksToZeros = ReadingsAndTag();
    route.trimmed.Remove(F::UserDef);
    return route;
}

MeterLayout MakeThoroughbredRoute() {
    MeterLayout route = WithLastReadingDate(MakeStandardRoute(), MonthDayYearAt161());
    route.SetField(F::ServiceUniqueID, {RightAligned(0, 17, 17)});
    route.SetField(F::UserDef, {Columns(20, 16)});
    route.SetField(F::MeterTagNbr, {Columns(192, 12)});
    route.SetField(F::MeterSerialNbr, {Columns(109, 8)});
    route.SetField(F::RouteSequence, {Columns(176, 4)});
    route.marks.push_back(MarkLetterOr(F::ReadType, 191, "PRS", "S"));
    route.blanksToZeros = ReadingsAndTag();
    route.trimmed.Remove(F::UserDef);
    return route;
}

MeterLayout MakePrairiFireRoute() {
    MeterLayout route = WithLastReadingDate(MakeStandardRoute(),
                                            {Columns(186, 2), Columns(180, 2), Columns(183, 2)});
    route.SetField(F::ServiceUniqueID, {RightAligned(0, 20, 20)});
    route.SetField(F::UserDef, {Columns(20, 16)});
    route.SetField(F::BillingName, {Columns(36, 30)});
    route.SetField(F::ServiceAddress, {Columns(66, 30)});
    route.SetField(F::Message, {Columns(96, 30)});
    route.SetField(F::MeterType, {Columns(127, 1)});
    route.SetField(F::MeterSerialNbr, {Columns(109, 17)});
    route.SetField(F::SelectedRoute, {Columns(188, 4)});
    route.SetField(F::RouteSequence, {Columns(193, 4)});
    route.SetField(F::Digits, {Columns(199, 2)});
    route.SetField(F::MeterTagNbr, {Columns(210, 12)});
    route.readings = {{F::MaxReading, 170}, {F::MinReading, 179}, {F::PrvReading, 209}};
    route.marks = {MarkSets(F::MeterType, 126, "D", "D"),
                   MarkLetterOr(F::ReadType, 222, "PRS", "S")};
    route.blanksToZeros = ReadingsAndTag();
    route.trimmed.Remove(F::UserDef);
    return route;
}

ReadingLayout MakeStandardReadings() {
    ReadingLayout line;
    line.lineLength = 136;
    line.members = {F::ServiceUniqueID, F::BillingName, F::ServiceAddress,
                    F::ResponseCode,    F::ReadingDate, F::CurReading,
                    F::ReadingTime,     F::MeterTagNbr, F::Intials};
    line.pieces = {
        TextIn(0, 17, F::ServiceUniqueID),    TextIn(17, 30, F::BillingName),
        TextIn(47, 30, F::ServiceAddress),    TextIn(77, 5, F::Intials),
        DateMMDDYY(82, F::ReadingDate),       ReadingIn9(88, F::CurReading),
        ZeroPaddedIn(107, 6, F::ReadingTime), TextIn(113, 20, F::MeterTagNbr),
        TextIn(133, 2, F::ResponseCode),
    };
    return line;
}

ReadingLayout MakeElDoradoReadings() {
    ReadingLayout line = MakeStandardReadings();
    line.lineLength = 134;
    line.Remove(133);
    line.Put(TextIn(97, 2, F::ResponseCode));
    return line;
}

ReadingLayout MakePowerMgrReadings() {
    ReadingLayout line = MakeStandardReadings();
    line.members.Remove(F::MeterTagNbr);
    line.members.Add(F::UserDef);
    line.Put(TextIn(113, 20, F::UserDef));
    return line;
}

// The 196-character lines that add the response text.
ReadingLayout WithResponseText(ReadingLayout line) {
    line.lineLength = 196;
    line.members.Add(F::ResponseText);
    line.Put(TextIn(135, 60, F::ResponseText));
    return line;
}

ReadingLayout MakeCaselleReadings() {
    ReadingLayout line = WithResponseText(MakeStandardReadings());
    line.members.Remove(F::MeterTagNbr);
    line.members.Add(F::MeterSerialNbr);
    line.members.Add(F::UserDef);
    line.Put(TextIn(113, 10, F::MeterSerialNbr));
    line.Put(TextIn(123, 10, F::UserDef));
    return line;
}

ReadingLayout MakeMunicipalSoftwareReadings() {
    ReadingLayout line = WithResponseText(MakeStandardReadings());
    // "%010ld" of the reading's leading integer, of which the last 9.
    line.Put(Last(88, 9, {PadFront(Number(F::CurReading), 10, '0')}));
    return line;
}

// Meter type mark: "ED" for a meter of type exactly "D", else its first
// letter (a blank when it has none) and a blank.
void AppendMeterTypeMark(const VendorReading& codec, std::string& out) {
    const std::string& type = codec.Field(F::MeterType);
    if (type == "D") {
        out.append("ED");
    } else {
        out.push_back(type.empty() ? ' ' : type.front());
        out.push_back(' ');
    }
}

ReadingLayout MakeInfinitecReadings() {
    ReadingLayout line = WithResponseText(MakeStandardReadings());
    line.members.Add(F::MeterType);
    line.Put(First(77, 2, {Custom(AppendMeterTypeMark)}));
    line.Put(TextIn(97, 5, F::Intials));
    return line;
}

ReadingLayout MakeWideReadings() {
    ReadingLayout line;
    line.lineLength = 186;
    line.members = {F::ServiceUniqueID, F::BillingName, F::ServiceAddress, F::ResponseCode,
                    F::ResponseText,    F::ReadingDate, F::CurReading,     F::ReadingTime,
                    F::Intials,         F::UserDef};
    line.pieces = {
        TextIn(0, 20, F::ServiceUniqueID), TextIn(20, 17, F::UserDef),
        TextIn(37, 30, F::BillingName),    TextIn(67, 30, F::ServiceAddress),
        TextIn(97, 5, F::Intials),         DateMMDDYY(102, F::ReadingDate),
        ReadingIn9(108, F::CurReading),    ZeroPaddedIn(117, 6, F::ReadingTime),
        TextIn(123, 2, F::ResponseCode),   TextIn(125, 60, F::ResponseText),
    };
    return line;
}

}  // namespace

const MeterLayout& StandardRouteLayout() {
    static const MeterLayout route = MakeStandardRoute();
    return route;
}

const MeterLayout& MunicipalSoftwareRouteLayout() {
    static const MeterLayout route = MakeMunicipalSoftwareRoute();
    return route;
}

const MeterLayout& InfinitecRouteLayout() {
    static const MeterLayout route = MakeInfinitecRoute();
    return route;
}

const MeterLayout& CaselleRouteLayout() {
    static const MeterLayout route = MakeCaselleRoute();
    return route;
}

const MeterLayout& DataTechRouteLayout() {
    static const MeterLayout route = MakeDataTechRoute();
    return route;
}

const MeterLayout& PowerMgrRouteLayout() {
    static const MeterLayout route = MakePowerMgrRoute();
    return route;
}

const MeterLayout& ThoroughbredRouteLayout() {
    static const MeterLayout route = MakeThoroughbredRoute();
    return route;
}

const MeterLayout& PrairiFireRouteLayout() {
    static const MeterLayout route = MakePrairiFireRoute();
    return route;
}

const ReadingLayout& StandardReadingsLayout() {
    static const ReadingLayout line = MakeStandardReadings();
    return line;
}

const ReadingLayout& ElDoradoReadingsLayout() {
    static const ReadingLayout line = MakeElDoradoReadings();
    return line;
}

const ReadingLayout& PowerMgrReadingsLayout() {
    static const ReadingLayout line = MakePowerMgrReadings();
    return line;
}

const ReadingLayout& CaselleReadingsLayout() {
    static const ReadingLayout line = MakeCaselleReadings();
    return line;
}

const ReadingLayout& DataTechReadingsLayout() {
    static const ReadingLayout line = WithResponseText(MakeStandardReadings());
    return line;
}

const ReadingLayout& MunicipalSoftwareReadingsLayout() {
    static const ReadingLayout line = MakeMunicipalSoftwareReadings();
    return line;
}

const ReadingLayout& InfinitecReadingsLayout() {
    static const ReadingLayout line = MakeInfinitecReadings();
    return line;
}

const ReadingLayout& WideReadingsLayout() {
    static const ReadingLayout line = MakeWideReadings();
    return line;
}
