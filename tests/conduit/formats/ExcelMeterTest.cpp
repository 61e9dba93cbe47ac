// The download side of the workbook link: which rows hold meters and what
// each field of a meter takes from its row.
#include <gtest/gtest.h>

#include "conduit/formats/ExcelMeter.h"
#include "tests/conduit/ExcelOffice.h"

namespace wexal::testing {
namespace {

using Lines = std::vector<std::string>;

struct MeterRead {
    std::string serviceUniqueId, address, name, tag, serial, type, previous, min, max, message,
        digits, userDef, readType, route;
    bool operator==(const MeterRead&) const = default;
};

std::ostream& operator<<(std::ostream& out, const MeterRead& m) {
    return out << "{" << m.serviceUniqueId << "|" << m.address << "|" << m.name << "|" << m.tag
               << "|" << m.serial << "|" << m.type << "|" << m.previous << "|" << m.min << "|"
               << m.max << "|" << m.message << "|" << m.digits << "|" << m.userDef << "|"
               << m.readType << "|" << m.route << "}";
}

struct Download {
    std::int32_t opened = -1;
    std::vector<MeterRead> meters;
    // What Read gave after the last meter.
    std::int32_t end = -1;
    Lines log;
};

Download ReadMeters(ExcelOffice& office) {
    Download download;
    download.log = office.InSession([&](WexalConduit&, const WexalConfig& config) {
        ExcelMeter reader("01");
        download.opened = reader.Open(config.Workbook, config.Worksheet, nullptr);
        std::int32_t result = 0;
        while ((result = reader.Read()) == 0) {
            download.meters.push_back(
                {reader.ServiceUniqueID, reader.ServiceAddress, reader.BillingName,
                 reader.MeterTagNbr, reader.MeterSerialNbr, reader.MeterType, reader.PrvReading,
                 reader.MinReading, reader.MaxReading, reader.Message, reader.Digits,
                 reader.UserDef, reader.ReadType, reader.SelectedRoute});
        }
        download.end = result;
    });
    return download;
}

Lines Column(const std::vector<MeterRead>& meters, std::string MeterRead::*field) {
    Lines values;
    for (const MeterRead& meter : meters) {
        values.push_back(meter.*field);
    }
    return values;
}

TEST(ExcelMeterTest, OnlyRowsWithAHouseNumberHoldMeters) {
    ExcelOffice office;
    office.MakeSheet(R"(
ws.append([12, 'Main Street'])
ws.append([0, 'Zero Street'])
ws.append([12.9, 'Oak Street'])
ws.append([-5, 'Elm Street'])
ws.append([datetime.datetime(2006, 3, 15), 'Date Street'])
ws.append([True, 'Truth Street'])
ws.append(['#N/A', 'Error Street'])
ws.append([])
ws.append(['12A', 'Text Street'])
ws.append([None, None, 'TOTAL', None, 3400, 600])
ws.append([7, 'Last Street'])
)");
    const Download download = ReadMeters(office);
    EXPECT_EQ(download.opened, 0);
    EXPECT_EQ(Column(download.meters, &MeterRead::serviceUniqueId),
              (Lines{"000002", "000004", "000005", "000010", "000012"}));
    EXPECT_EQ(Column(download.meters, &MeterRead::address),
              (Lines{"12 Main Street", "12 Oak Street", "-5 Elm Street", "12A Text Street",
                     "7 Last Street"}));
    // The meter of the last used row is handed out, then the end.
    EXPECT_EQ(download.end, ExcelMeter::kNoMoreMeters);

    // A totals row and blank rows after the last meter hold none.
    office.MakeSheet(
        "ws.append([12, 'Main'])\nws.append([])\nws.append([None, None, 'TOTAL', "
        "None, None, 100])\n");
    EXPECT_EQ(ReadMeters(office).meters.size(), 1u);
}

TEST(ExcelMeterTest, ServiceAddressJoinsHouseAndStreet) {
    ExcelOffice office;
    office.MakeSheet(R"(
ws.append([12, 'Main Street'])
ws.append([12345, 'Very Long Street Name'])
ws.append(['12A', 'Very Long Street Name Here'])
ws.append([8, None])
ws.append([9, 42])
)");
    EXPECT_EQ(Column(ReadMeters(office).meters, &MeterRead::address),
              (Lines{"12 Main Street", "12345 Very Long Stre", "12A Very Long Street Name Here",
                     "8 ", "9 42"}));

    ExcelSettings settings;
    settings.routeMap = {"House Number/A"};
    office.Configure(settings);
    EXPECT_EQ(Column(ReadMeters(office).meters, &MeterRead::address),
              Lines(5, "NO SERVICE ADDRESS"));
}

TEST(ExcelMeterTest, FieldsComeFromTheirCellsAndStartAfreshOnEachRow) {
    ExcelOffice office;
    office.Configure(
        {.routeMap = {"House Number/A", "BillingName/C", "MeterTagNbr/D", "MeterSerialNbr/H",
                      "MeterType/I", "Digits/J", "Message/K", "UserDef/L", "PrvReading/-1"}});
    office.MakeSheet(R"(
ws['L1'] = 'USER'
# HOUSE, STREET, NAME, TAG, PREVIOUS, USAGE, READING, serial, type, digits, message, user
ws.append([1, None, 'JONES MARY', 'TAG-0000000000000000001', 1000, 0, None,
           'SERIAL-0123456', 'Electric', 5, 'Dog', 'u1'])
ws.append([2, None, 123.7, None, 1500.9, 0, None,
           98765, 3, '123', None, None])
ws.append([3, None, None, 17, None, 0, None,
           None, None, datetime.datetime(2006, 3, 15), 'x' * 70, 'y' * 30])
)");
    const Download download = ReadMeters(office);
    ASSERT_EQ(download.opened, 0);
    ASSERT_EQ(download.meters.size(), 3u);
    EXPECT_EQ(download.meters[0],
              (MeterRead{"000002", "NO SERVICE ADDRESS", "JONES MARY", "TAG-0000000000000000",
                         "SERIAL-012", "E", "1000", "1000", "1000", "Dog", "05", "u1", "S", "01"}));
    EXPECT_EQ(download.meters[1],
              (MeterRead{"000003", "NO SERVICE ADDRESS", "123", "", "98765", "W", "1500", "1500",
                         "1500", "", "12", "", "S", "01"}));
    EXPECT_EQ(download.meters[2],
              (MeterRead{"000004", "NO SERVICE ADDRESS", "", "17", "", "W", "", "0", "0",
                         std::string(60, 'x'), "07", std::string(20, 'y'), "S", "01"}));
}

TEST(ExcelMeterTest, ExpectedRangeWidensThePreviousReadingByTheUsage) {
    ExcelOffice office;
    office.MakeSheet(R"(
ws.append([1, 'Main', None, None, 1000, 200])
ws.append([2, 'Main', None, None, 1000, 'n/a'])
ws.append([3, 'Main', None, None, '00750 kWh', 22])
)");
    const Download download = ReadMeters(office);
    EXPECT_EQ(Column(download.meters, &MeterRead::min), (Lines{"1100", "1000", "761"}));
    EXPECT_EQ(Column(download.meters, &MeterRead::max), (Lines{"1300", "1000", "783"}));
    EXPECT_EQ(Column(download.meters, &MeterRead::previous), (Lines{"1000", "1000", "00750 kWh"}));

    // Without percentages the range is the previous reading itself.
    office.Configure({.routeMap = {"House Number/A", "PrvReading/-1"}});
    EXPECT_EQ(Column(ReadMeters(office).meters, &MeterRead::max), (Lines{"1000", "1000", "750"}));

    // An entry without a column maps nothing: no previous reading, the range
    // is the usage widened from 0.
    office.Configure({.routeMap = {"House Number/A", "PrvReading/", "MaxReading/"}});
    const Download unmapped = ReadMeters(office);
    EXPECT_EQ(Column(unmapped.meters, &MeterRead::previous), (Lines{"", "", ""}));
    EXPECT_EQ(Column(unmapped.meters, &MeterRead::max), (Lines{"0", "0", "0"}));
}

TEST(ExcelMeterTest, TextsReachTheHandheldInItsCharacterSet) {
    ExcelOffice office;
    office.MakeSheet("ws.append([1, 'Caf\\u00e9', '\\u20ac5 \\u6771\\u4eac'])\n");
    const Download download = ReadMeters(office);
    ASSERT_EQ(download.meters.size(), 1u);
    EXPECT_EQ(download.meters[0].address, "1 Caf\xE9");
    EXPECT_EQ(download.meters[0].name,
              "\x80"
              "5 ??");
}

struct MappingCase {
    std::string name;
    ExcelSettings settings;
    Lines log;
};

// By name, not by its bytes, which change from build to build.
void PrintTo(const MappingCase& mapping, std::ostream* out) {
    *out << mapping.name;
}

class ExcelMeterMappingTest : public ::testing::TestWithParam<MappingCase> {};

TEST_P(ExcelMeterMappingTest, WorksheetIsRefusedWithTheLineNamingTheEntry) {
    ExcelOffice office;
    office.Configure(GetParam().settings);
    office.MakeSheet("ws.append([1, 'Main'])\n");
    const std::string before = ReadFile(office.Workbook());
    const Download download = ReadMeters(office);
    EXPECT_EQ(download.opened, kWorksheetRefused);
    EXPECT_TRUE(download.meters.empty());
    EXPECT_EQ(download.end, ExcelMeter::kNoMoreMeters);
    EXPECT_EQ(download.log, GetParam().log);
    // Closed without saving.
    EXPECT_EQ(ReadFile(office.Workbook()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Mappings, ExcelMeterMappingTest,
    ::testing::Values(
        MappingCase{"BothRequiredMissing",
                    {.routeMap = {"ServiceAddress/B"}, .readingMap = {}},
                    {"22 CurReading mapping entry was not found in the configuration file.  It "
                     "is required."}},
        MappingCase{"HouseNumberMissing",
                    {.routeMap = {"ServiceAddress/B"}},
                    {"22 House Number mapping entry was not found in the configuration file.  "
                     "It is required."}},
        MappingCase{"ColumnBeyondTheUsedRange",
                    {.routeMap = {"House Number/A", "UserDef/Z"}},
                    {"22 UserDef mapping entry gives column 26, outside the used columns 1 to 11 "
                     "of Worksheet Route."}},
        MappingCase{"HouseColumnZero",
                    {.routeMap = {"House Number/0"}},
                    {"22 House Number mapping entry gives column 0, outside the used columns 1 "
                     "to 11 of Worksheet Route."}},
        MappingCase{"PreviousReadingLeftOfTheSheet",
                    {.routeMap = {"House Number/A", "PrvReading/-6"}},
                    {"22 PrvReading mapping entry gives column 0, outside the used columns 1 to "
                     "11 of Worksheet Route."}},
        MappingCase{"NoUsageHeading", {.usageRow = "2"}, {}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace wexal::testing
