// Readings lines of the standard layout and its variants, compared with
// lines written by hand column by column.
#include <gtest/gtest.h>

#include <string>

#include "conduit/formats/AccuFund.h"
#include "conduit/formats/Caselle.h"
#include "conduit/formats/DataTech.h"
#include "conduit/formats/Datawest.h"
#include "conduit/formats/ElDorado.h"
#include "conduit/formats/Infinitec.h"
#include "conduit/formats/MunicipalSoftware.h"
#include "conduit/formats/PowerMgr.h"
#include "conduit/formats/PrairiFire.h"
#include "conduit/formats/QuikWater.h"
#include "conduit/formats/Thoroughbred.h"
#include "tests/conduit/formats/CodecFiles.h"

namespace wexal::testing {
namespace {

using F = CodecField;

// One meter's values as the upload hands them over.
std::string WriteMeter(VendorReading& reading, const std::string& meterType = "W") {
    TempDir dir;
    return WriteOneLine(reading, dir,
                        {{F::ServiceUniqueID, "1001234567001ABCDEFGH"},
                         {F::BillingName, "SMITH JOHN"},
                         {F::ServiceAddress, "12 ELM ST"},
                         {F::Intials, "JDOEXY"},
                         {F::ReadingDate, "240315"},
                         {F::CurReading, "12345"},
                         {F::ReadingTime, "0930"},
                         {F::MeterTagNbr, "TAG0012345"},
                         {F::ResponseCode, "07"},
                         {F::ResponseText, "GATE LOCKED"},
                         {F::UserDef, "UDF0000001"},
                         {F::MeterSerialNbr, "SN12345678901"},
                         {F::MeterType, meterType}});
}

const std::string kResponseText60 =
    "GATE LOCKED                                                 ";  // 135-194

const std::string kStandardLine =
    "1001234567001ABCD"               // 0-16     service id
    "SMITH JOHN                    "  // 17-46    name
    "12 ELM ST                     "  // 47-76    address
    "JDOEX"                           // 77-81    initials
    "031524"                          // 82-87    date
    "    12345"                       // 88-96    reading
    "          "                      // 97-106
    "000930"                          // 107-112  time
    "TAG0012345          "            // 113-132  tag
    "07"                              // 133-134  response code
    "\r\n";

template <class Reading>
class StandardReadingsLineTest : public ::testing::Test {};
using StandardReadings = ::testing::Types<AccuFundReading, DatawestReading, QuikWaterReading>;
TYPED_TEST_SUITE(StandardReadingsLineTest, StandardReadings);

TYPED_TEST(StandardReadingsLineTest, WritesTheStandardColumns) {
    ASSERT_EQ(kStandardLine.size(), 137u);
    TypeParam reading;
    EXPECT_EQ(WriteMeter(reading), kStandardLine);
    EXPECT_TRUE(reading.HasField(F::MeterTagNbr));
    EXPECT_FALSE(reading.HasField(F::ResponseText));
}

TEST(ElDoradoReadingsLineTest, ResponseCodeAt97AndAShorterLine) {
    const std::string expected =
        "1001234567001ABCD"               // 0-16     service id
        "SMITH JOHN                    "  // 17-46    name
        "12 ELM ST                     "  // 47-76    address
        "JDOEX"                           // 77-81    initials
        "031524"                          // 82-87    date
        "    12345"                       // 88-96    reading
        "07"                              // 97-98    response code
        "        "                        // 99-106
        "000930"                          // 107-112  time
        "TAG0012345          "            // 113-132  tag
        "\r\n";
    ElDoradoReading reading;
    EXPECT_EQ(WriteMeter(reading), expected);
}

TEST(PowerMgrReadingsLineTest, UserFieldInPlaceOfTheTag) {
    const std::string expected =
        "1001234567001ABCD"               // 0-16     service id
        "SMITH JOHN                    "  // 17-46    name
        "12 ELM ST                     "  // 47-76    address
        "JDOEX"                           // 77-81    initials
        "031524"                          // 82-87    date
        "    12345"                       // 88-96    reading
        "          "                      // 97-106
        "000930"                          // 107-112  time
        "UDF0000001          "            // 113-132  user field
        "07"                              // 133-134  response code
        "\r\n";
    PowerMgrReading reading;
    EXPECT_EQ(WriteMeter(reading), expected);
    EXPECT_TRUE(reading.HasField(F::UserDef));
    EXPECT_FALSE(reading.HasField(F::MeterTagNbr));
}

TEST(CaselleReadingsLineTest, SerialUserFieldAndResponseText) {
    const std::string expected =
        "1001234567001ABCD"               // 0-16     service id
        "SMITH JOHN                    "  // 17-46    name
        "12 ELM ST                     "  // 47-76    address
        "JDOEX"                           // 77-81    initials
        "031524"                          // 82-87    date
        "    12345"                       // 88-96    reading
        "          "                      // 97-106
        "000930"                          // 107-112  time
        "SN12345678"                      // 113-122  serial
        "UDF0000001"                      // 123-132  user field
        "07"                              // 133-134  response code
        + kResponseText60 +               // 135-194  response text
        "\r\n";
    CaselleReading reading;
    EXPECT_EQ(WriteMeter(reading), expected);
}

TEST(DataTechReadingsLineTest, StandardLineWithResponseText) {
    const std::string expected = kStandardLine.substr(0, 135) + kResponseText60 + "\r\n";
    DataTechReading reading;
    EXPECT_EQ(WriteMeter(reading), expected);
}

TEST(MunicipalSoftwareReadingsLineTest, ZeroFilledReadingAndResponseText) {
    const std::string expected =
        "1001234567001ABCD"               // 0-16     service id
        "SMITH JOHN                    "  // 17-46    name
        "12 ELM ST                     "  // 47-76    address
        "JDOEX"                           // 77-81    initials
        "031524"                          // 82-87    date
        "000012345"                       // 88-96    reading
        "          "                      // 97-106
        "000930"                          // 107-112  time
        "TAG0012345          "            // 113-132  tag
        "07"                              // 133-134  response code
        + kResponseText60 +               // 135-194  response text
        "\r\n";
    MunicipalSoftwareReading reading;
    EXPECT_EQ(WriteMeter(reading), expected);
}

TEST(InfinitecReadingsLineTest, MeterTypeMarkAndInitialsAt97) {
    std::string expected =
        "1001234567001ABCD"               // 0-16     service id
        "SMITH JOHN                    "  // 17-46    name
        "12 ELM ST                     "  // 47-76    address
        "W    "                           // 77-81    type mark
        "031524"                          // 82-87    date
        "    12345"                       // 88-96    reading
        "JDOEX     "                      // 97-106   initials
        "000930"                          // 107-112  time
        "TAG0012345          "            // 113-132  tag
        "07"                              // 133-134  response code
        + kResponseText60 +               // 135-194  response text
        "\r\n";
    InfinitecReading reading;
    EXPECT_EQ(WriteMeter(reading), expected);

    InfinitecReading demand;
    expected.replace(77, 2, "ED");
    EXPECT_EQ(WriteMeter(demand, "D"), expected);

    InfinitecReading untyped;
    expected.replace(77, 2, "  ");
    EXPECT_EQ(WriteMeter(untyped, ""), expected);
}

const std::string kWideLine =
    "1001234567001ABCDEFG"                                          // 0-19     service id
    "UDF0000001       "                                             // 20-36    user field
    "SMITH JOHN                    "                                // 37-66    name
    "12 ELM ST                     "                                // 67-96    address
    "JDOEX"                                                         // 97-101   initials
    "031524"                                                        // 102-107  date
    "    12345"                                                     // 108-116  reading
    "000930"                                                        // 117-122  time
    "07"                                                            // 123-124  response code
    "GATE LOCKED                                                 "  // 125-184
    "\r\n";

TEST(WideReadingsLineTest, PrairiFireAndThoroughbredWriteTheWideLine) {
    ASSERT_EQ(kWideLine.size(), 187u);
    PrairiFireReading prairiFire;
    EXPECT_EQ(WriteMeter(prairiFire), kWideLine);
    ThoroughbredReading thoroughbred;
    EXPECT_EQ(WriteMeter(thoroughbred), kWideLine);
}

}  // namespace
}  // namespace wexal::testing
