// Route-file lines of the standard layout and its variants, written by hand
// column by column, read by each vendor's codec.
#include <gtest/gtest.h>

#include <map>
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
using Expected = std::map<F, std::string>;

// One standard line, 191 characters; the comments give the columns.
const std::string kLine191 =
    "    1001234567001"               // 0-16     service id
    "SMITH JOHN                    "  // 17-46    name
    "12 ELM ST                     "  // 47-76    address
    "DOG IN YARD                   "  // 77-106   message
    " "                               // 107      D mark
    "W"                               // 108      meter type
    "TAG0012345"                      // 109-118  tag
    "UDF0000001"                      // 119-128
    "SN123"                           // 129-133  serial
    "EXTRA0001"                       // 134-142
    "   123456"                       // 143-151  maximum
    "      100"                       // 152-160  minimum
    "03/15/24"                        // 161-168
    "R01 "                            // 169-172  route
    " "                               // 173
    "0042"                            // 174-177  sequence
    "  "                              // 178-179
    "06"                              // 180-181  digits
    "   654321";                      // 182-190  previous

// Columns 191-203 of the longer variants: a read type mark and a tag.
std::string Tail204(char mark) {
    return std::string(1, mark) +  // 191
           "  7766554433";         // 192-203
}

void ExpectFields(const VendorMeter& meter, const Expected& expected) {
    for (const auto& [field, text] : expected) {
        EXPECT_EQ(meter.Field(field), text) << "field " << static_cast<int>(field);
        EXPECT_TRUE(meter.HasField(field)) << "field " << static_cast<int>(field);
    }
}

Expected StandardFields() {
    return {{F::ServiceUniqueID, "    1001234567001"},
            {F::BillingName, "SMITH JOHN"},
            {F::ServiceAddress, "12 ELM ST"},
            {F::Message, "DOG IN YARD"},
            {F::MeterType, "W"},
            {F::MeterTagNbr, "TAG0012345"},
            {F::MeterSerialNbr, "SN123"},
            {F::MaxReading, "123456"},
            {F::MinReading, "   100"},
            {F::PrvReading, "654321"},
            {F::SelectedRoute, "R01"},
            {F::RouteSequence, "0042"},
            {F::Digits, "06"},
            {F::ReadType, "S"},
            {F::UserDef, ""}};
}

template <class Meter>
class StandardRouteFileTest : public ::testing::Test {};
using StandardMeters =
    ::testing::Types<AccuFundMeter, DatawestMeter, QuikWaterMeter, ElDoradoMeter>;
TYPED_TEST_SUITE(StandardRouteFileTest, StandardMeters);

TYPED_TEST(StandardRouteFileTest, ReadsTheStandardColumns) {
    ASSERT_EQ(kLine191.size(), 191u);
    TempDir dir;
    TypeParam meter;
    ReadLine(meter, dir, kLine191);
    ExpectFields(meter, StandardFields());
    EXPECT_FALSE(meter.HasField(F::LstReadingDate));
    EXPECT_EQ(meter.RouteOfFile(), "R01");
}

TYPED_TEST(StandardRouteFileTest, DInColumn107MakesADemandMeter) {
    TempDir dir;
    TypeParam meter;
    std::string line = kLine191;
    line[107] = 'D';
    ReadLine(meter, dir, line);
    EXPECT_EQ(meter.Field(F::MeterType), "D");
}

TEST(MunicipalSoftwareRouteFileTest, SerialNumberSharesTheTagColumns) {
    TempDir dir;
    MunicipalSoftwareMeter meter;
    ReadLine(meter, dir, kLine191);
    Expected expected = StandardFields();
    expected[F::MeterSerialNbr] = "TAG0012345";
    ExpectFields(meter, expected);
}

TEST(InfinitecRouteFileTest, TagFromColumn191AndZerosInTheReadings) {
    TempDir dir;
    InfinitecMeter meter;
    ReadLine(meter, dir, kLine191 + "87654321");  // 191-198 tag
    Expected expected = StandardFields();
    expected[F::MeterTagNbr] = "000087654321";
    expected[F::MeterSerialNbr] = "TAG0012345UDF00";
    expected[F::MinReading] = "000100";
    ExpectFields(meter, expected);

    TempDir shortDir;
    InfinitecMeter shortLine;
    ReadLine(shortLine, shortDir, kLine191);
    EXPECT_EQ(shortLine.Field(F::MeterTagNbr), "0000");
}

Expected CaselleFields() {
    Expected expected = StandardFields();
    expected[F::MeterSerialNbr] = "TAG0012345";
    expected[F::UserDef] = "UDF0000001";
    expected[F::RouteSequence] = "042";
    expected[F::MinReading] = "000100";
    return expected;
}

TEST(CaselleRouteFileTest, LongLineWithReadTypeCarriesItsTag) {
    TempDir dir;
    CaselleMeter meter;
    const std::string line = kLine191 + Tail204('P');
    ASSERT_EQ(line.size(), 204u);
    OpenRouteFile(meter, dir, line + "\r\n");
    ASSERT_EQ(meter.Read(26), VendorMeter::kRecordRead);
    Expected expected = CaselleFields();
    expected[F::MeterTagNbr] = "  7766554433";
    expected[F::ReadType] = "P";
    ExpectFields(meter, expected);
}

TEST(CaselleRouteFileTest, ScheduledReadingIsKnownByItsSerialNumber) {
    for (const std::string& line :
         {kLine191 + Tail204('Q'), kLine191 + Tail204('S'), kLine191 + "P  77665544", kLine191}) {
        SCOPED_TRACE(line.size());
        TempDir dir;
        CaselleMeter meter;
        ReadLine(meter, dir, line);
        Expected expected = CaselleFields();
        expected[F::MeterTagNbr] = "TAG0012345";
        expected[F::ReadType] = "S";
        ExpectFields(meter, expected);
    }
}

TEST(DataTechRouteFileTest, TagAtColumn192AndLastReadingDateAsWritten) {
    TempDir dir;
    DataTechMeter meter;
    std::string line = kLine191 + Tail204('P');
    line.replace(161, 8, "2403    ");  // 161-168: a date with trailing blanks
    ReadLine(meter, dir, line);
    Expected expected = StandardFields();
    expected[F::MeterTagNbr] = "  7766554433";
    expected[F::MeterSerialNbr] = "TAG0012345";
    expected[F::LstReadingDate] = "2403  ";
    expected[F::ReadType] = "P";
    expected[F::MinReading] = "000100";
    ExpectFields(meter, expected);

    TempDir other;
    DataTechMeter notP;
    ReadLine(notP, other, kLine191 + Tail204('R'));
    EXPECT_EQ(notP.Field(F::ReadType), "S");
}

Expected PowerMgrFields() {
    Expected expected = StandardFields();
    expected[F::UserDef] = "TAG0012345UDF0000001";
    expected[F::MeterSerialNbr] = "TAG0012345";
    expected[F::LstReadingDate] = "240315";
    expected[F::MinReading] = "000100";
    return expected;
}

TEST(PowerMgrRouteFileTest, ShortLineHasAZeroTag) {
    TempDir dir;
    PowerMgrMeter meter;
    ReadLine(meter, dir, kLine191);
    Expected expected = PowerMgrFields();
    expected[F::MeterTagNbr] = "000000000000";
    expected[F::ReadType] = "S";
    ExpectFields(meter, expected);
}

TEST(PowerMgrRouteFileTest, LongLineMarksTheReadType) {
    for (const char mark : {'M', 'N', 'Z', 'P'}) {
        SCOPED_TRACE(mark);
        TempDir dir;
        PowerMgrMeter meter;
        ReadLine(meter, dir, kLine191 + Tail204(mark));
        Expected expected = PowerMgrFields();
        expected[F::MeterTagNbr] = "007766554433";
        expected[F::ReadType] = mark == 'P' ? "S" : "P";
        ExpectFields(meter, expected);
    }
}

TEST(PowerMgrRouteFileTest, LinesOfOtherLengthsCarryNoMeter) {
    TempDir dir;
    PowerMgrMeter meter;
    std::string userDefWithBlanks = kLine191;
    userDefWithBlanks.replace(119, 10, "UDF1      ");  // 119-128
    OpenRouteFile(meter, dir,
                  "HEADER 2024\r\n" + kLine191 + "X\r\n" + userDefWithBlanks + "\r\n\r\nTRAILER");
    ASSERT_EQ(meter.Read(), VendorMeter::kRecordRead);
    EXPECT_EQ(meter.Field(F::UserDef), "TAG0012345UDF1      ");
    EXPECT_EQ(meter.Read(), VendorMeter::kEndOfFile);
}

TEST(ThoroughbredRouteFileTest, ReadsItsVariantColumns) {
    TempDir dir;
    ThoroughbredMeter meter;
    ReadLine(meter, dir, kLine191 + Tail204('R'));
    Expected expected = StandardFields();
    expected[F::UserDef] = "TH JOHN         ";
    expected[F::MeterTagNbr] = "007766554433";
    expected[F::MeterSerialNbr] = "TAG00123";
    expected[F::RouteSequence] = "42";
    expected[F::LstReadingDate] = "240315";
    expected[F::ReadType] = "R";
    expected[F::MinReading] = "000100";
    ExpectFields(meter, expected);

    TempDir other;
    ThoroughbredMeter shortService;
    ReadLine(shortService, other, "1234567890");
    EXPECT_EQ(shortService.Field(F::ServiceUniqueID), "       1234567890");
    EXPECT_EQ(shortService.Field(F::ReadType), "S");
}

// The wide layout, 223 characters.
const std::string kWideLine =
    "   10012345670019999"                // 0-19     service id
    "UDEF PART ONE   "                    // 20-35    user field
    "SMITH JOHN                    "      // 36-65    name
    "12 ELM ST                     "      // 66-95    address
    "CALL FIRST   "                       // 96-108   message ...
    "SER00000000012345"                   // 109-125  ... and serial
    "D"                                   // 126      D mark
    "W"                                   // 127      meter type
    "UNUSED                            "  // 128-161
    "   123456"                           // 162-170  maximum
    "      100"                           // 171-179  minimum
    "03/15/24"                            // 180-187  last reading date
    "R07 "                                // 188-191  route
    " "                                   // 192
    "0009"                                // 193-196  sequence
    "  "                                  // 197-198
    "06"                                  // 199-200  digits
    "   654321"                           // 201-209  previous
    "    55667788"                        // 210-221  tag
    "P";                                  // 222      read type

TEST(PrairiFireRouteFileTest, ReadsTheWideColumns) {
    ASSERT_EQ(kWideLine.size(), 223u);
    TempDir dir;
    PrairiFireMeter meter;
    ReadLine(meter, dir, kWideLine);
    ExpectFields(meter, {{F::ServiceUniqueID, "   10012345670019999"},
                         {F::UserDef, "UDEF PART ONE   "},
                         {F::BillingName, "SMITH JOHN"},
                         {F::ServiceAddress, "12 ELM ST"},
                         {F::Message, "CALL FIRST   SER00000000012345"},
                         {F::MeterType, "D"},
                         {F::MeterTagNbr, "000055667788"},
                         {F::MeterSerialNbr, "SER00000000012345"},
                         {F::MaxReading, "123456"},
                         {F::MinReading, "000100"},
                         {F::PrvReading, "654321"},
                         {F::SelectedRoute, "R07"},
                         {F::RouteSequence, "0009"},
                         {F::Digits, "06"},
                         {F::LstReadingDate, "240315"},
                         {F::ReadType, "P"}});
    EXPECT_EQ(meter.RouteOfFile(), "R07");
}

}  // namespace
}  // namespace wexal::testing
