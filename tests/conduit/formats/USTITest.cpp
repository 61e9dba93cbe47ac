// USTI route-file lines and readings lines, written by hand column by column,
// and the one codec object that serves both directions.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "conduit/formats/USTI.h"
#include "platform/msgbox/MessageBox.h"
#include "tests/conduit/formats/CodecFiles.h"

namespace wexal::testing {
namespace {

using F = CodecField;

// One route line of six-digit readings, 192 characters; the comments give
// the columns.
std::string RouteLine(const std::string& meterId = "12345:D         ") {
    return "R01"                             // 0-2      route
           "ACCOUNT 0042    "                // 3-18     account
           + meterId +                       // 19-34    meter id
           "12 ELM ST           "            // 35-54    address
           "BEWARE OF DOG                 "  // 55-84    message
           + std::string(14, ' ') +          // 85-98
           "200000"                          // 99-104   maximum
           "    "                            // 105-108
           "000100"                          // 109-114  minimum
           "    "                            // 115-118
           "150000"                          // 119-124  previous
           "06"                              // 125-126  digits
           "    "                            // 127-130
           "149000"                          // 131-136  current
           + std::string(12, ' ') +          // 137-148
           "07"                              // 149-150  response code
           "S"                               // 151      service
           "JONES MARY                    "  // 152-181  name
           "WATER     ";                     // 182-191  meter type
}

TEST(USTIRouteFileTest, ReadsTheColumnsOfALine) {
    ASSERT_EQ(RouteLine().size(), 192u);
    TempDir dir;
    USTIInterface usti;
    ReadLine(usti, dir, RouteLine());
    const std::map<F, std::string> expected = {
        {F::Route, "R01"},
        {F::Account, "ACCOUNT 0042"},
        {F::MeterID, "12345:D"},
        {F::Address, "12 ELM ST"},
        {F::Message, "BEWARE OF DOG"},
        {F::MaxRead, "200000"},
        {F::MinRead, "000100"},
        {F::PrvRead, "150000"},
        {F::Digits, "06"},
        {F::Current, "149000"},
        {F::ResponseCode, "07"},
        {F::Service, "S"},
        {F::BillingName, "JONES MARY"},
        {F::MeterType, "WATER"},
        {F::UserDef, ""},
        // A demand meter: the number in front of ":D", twelve digits.
        {F::MeterTagNbr, "000000012345"},
        {F::ReadType, "P"},
    };
    for (const auto& [field, text] : expected) {
        EXPECT_EQ(usti.Field(field), text) << static_cast<int>(field);
        EXPECT_TRUE(usti.HasField(field)) << static_cast<int>(field);
    }
    EXPECT_EQ(usti.RouteOfFile(), "R01");
}

TEST(USTIRouteFileTest, MeterWithoutDemandMarkHasNoTag) {
    TempDir dir;
    USTIInterface usti;
    OpenRouteFile(usti, dir, RouteLine() + "\r\n" + RouteLine("METER123        ") + "\r\n");
    ASSERT_EQ(usti.Read(), VendorMeter::kRecordRead);
    ASSERT_EQ(usti.Read(), VendorMeter::kRecordRead);
    EXPECT_EQ(usti.Field(F::MeterTagNbr), "");
    EXPECT_EQ(usti.Field(F::ReadType), "S");
}

TEST(USTIRouteFileTest, NoDigitCountMeansNineDigits) {
    std::string line = RouteLine();
    line.replace(125, 2, "  ");
    TempDir dir;
    USTIInterface usti;
    ReadLine(usti, dir, line);
    EXPECT_EQ(usti.Field(F::MaxRead), "   200000");
    EXPECT_EQ(usti.Field(F::Current), "   149000");
}

// What the upload hands over for one meter.
void SetMeter(USTIInterface& usti) {
    const std::pair<F, std::string> fields[] = {
        {F::Route, "R01"},
        // The second half of the joined name keeps its blanks.
        {F::Account, "ACCOUNT 0042                  "},
        {F::MeterID, "000000012345"},
        {F::Address, "12 ELM ST"},
        {F::Message, "BEWARE OF DOG"},
        {F::MaxRead, "200000"},
        {F::MinRead, "000100"},
        {F::PrvRead, "150000"},
        {F::Digits, "06"},
        {F::Current, "151234"},
        {F::ReadingDate, "240315"},
        {F::ReadingTime, "0930"},
        {F::ResponseCode, "07"},
        {F::Service, "S"},
        {F::BillingName, "JONES MARY                    "},
    };
    for (const auto& [field, text] : fields) {
        usti.SetField(field, text);
    }
}

TEST(USTIReadingsLineTest, WritesTheLineBackWithTheReading) {
    const std::string expected =
        "R01"                             // 0-2      route
        "ACCOUNT 0042    "                // 3-18     account
        "000000012345    "                // 19-34    meter id
        "12 ELM ST           "            // 35-54    address
        "BEWARE OF DOG                 "  // 55-84    message
        "          "                      // 85-94
        "0000200000"                      // 95-104   maximum
        "0000000100"                      // 105-114  minimum
        "0000150000"                      // 115-124  previous
        "06"                              // 125-126  digits
        "0000151234"                      // 127-136  current
        "240315"                          // 137-142  date
        "0930"                            // 143-146  time
        "  "                              // 147-148
        "07"                              // 149-150  response code
        "S"                               // 151      service
        " "                               // 152
        "JONES MARY                    "  // 153-182  name
        "         "                       // 183-191  meter type
        "\r\n";
    TempDir dir;
    USTIInterface usti;
    const auto path = dir / "readings.txt";
    ASSERT_EQ(usti.Open(path.string(), 1), 0);
    SetMeter(usti);
    ASSERT_EQ(usti.Write(), 0);
    usti.SetField(F::ReadingTime, "101500");
    usti.SetField(F::MaxRead, "1234");
    usti.SetField(F::MeterType, "WATER METER");
    ASSERT_EQ(usti.Write(), 0);
    ASSERT_EQ(usti.Close(), 0);

    const std::string file = ReadFile(path);
    ASSERT_EQ(file.size(), 2 * 194u);
    EXPECT_EQ(file.substr(0, 194), expected);
    const std::string second = file.substr(194);
    EXPECT_EQ(second.substr(143, 6), "101500");
    EXPECT_EQ(second.substr(149, 2), "07");
    EXPECT_EQ(second.substr(95, 10), "0000001234");
    EXPECT_EQ(second.substr(183, 11), "WATER MET\r\n");
}

TEST(USTIInterfaceTest, ModeFollowsTheOpenThatSucceededLast) {
    std::vector<std::string> boxes;
    msgbox::SetCapture(
        [&boxes](const std::string&, const std::string& text) { boxes.push_back(text); });
    TempDir dir;
    const auto route = dir / "route.txt";
    const auto readings = dir / "readings.txt";
    WriteFile(route, RouteLine() + "\r\n");
    USTIInterface usti;

    // Constructed: neither direction. A wrong-mode Read shows no box.
    EXPECT_EQ(usti.Read(), VendorMeter::kWrongMode);
    EXPECT_EQ(usti.Write(), -2);

    ASSERT_EQ(usti.Open(route.string()), 0);
    EXPECT_EQ(usti.Write(), -2);
    ASSERT_EQ(usti.Open(readings.string(), 1), 0);
    EXPECT_EQ(usti.Path(), readings.string());
    EXPECT_EQ(usti.Read(), VendorMeter::kWrongMode);
    // A readings file is never rolled into the route file history.
    EXPECT_EQ(usti.CloseAndRoll(0), -1);
    EXPECT_TRUE(std::filesystem::exists(readings));
    EXPECT_FALSE(std::filesystem::exists(dir / "PriorD01"));

    // A failed Open leaves the mode as it was.
    EXPECT_EQ(usti.Open((dir / "missing" / "route.txt").string()), -1);
    EXPECT_EQ(usti.Read(), VendorMeter::kWrongMode);
    ASSERT_EQ(usti.Open(route.string()), 0);
    EXPECT_EQ(usti.Read(), VendorMeter::kRecordRead);
    EXPECT_EQ(usti.Field(F::Route), "R01");
    EXPECT_EQ(usti.CloseAndRoll(0), 0);
    EXPECT_TRUE(std::filesystem::exists(dir / "PriorD01"));
    msgbox::SetCapture({});
    EXPECT_TRUE(boxes.empty());
}

TEST(USTIInterfaceTest, BothPartsShareOneRecord) {
    // Deleting through either part's pointer frees the whole object.
    std::unique_ptr<VendorReading> asReading = std::make_unique<USTIInterface>();
    asReading->SetField(F::Route, "R07");
    EXPECT_EQ(dynamic_cast<USTIInterface&>(*asReading).Field(F::Route), "R07");
    std::unique_ptr<VendorMeter> asMeter = std::make_unique<USTIInterface>();
    EXPECT_TRUE(asMeter->HasField(F::Current));
}

}  // namespace
}  // namespace wexal::testing
