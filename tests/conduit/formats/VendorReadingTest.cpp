// The readings-line engine: piece forms, insertion at columns, line ends on
// disk, and what the file holds after failures and take-backs.
#include <gtest/gtest.h>

#include <string>

#include "conduit/formats/AccuFund.h"
#include "conduit/formats/FieldForms.h"
#include "conduit/formats/MunicipalSoftware.h"
#include "conduit/formats/ReadingLayout.h"
#include "tests/conduit/SmallDisk.h"
#include "tests/conduit/formats/CodecFiles.h"

namespace wexal::testing {
namespace {

using F = CodecField;

// Columns `from` to `to` of the first line of a readings file.
std::string Columns(const std::string& file, std::size_t from, std::size_t to) {
    return file.substr(from, to - from + 1);
}

TEST(VendorReadingTest, StandardFormsOfReadingTimeAndDate) {
    struct Case {
        F field;
        std::string text;
        std::size_t from, to;
        std::string written;
    };
    const Case cases[] = {
        {F::CurReading, "12345", 88, 96, "    12345"},
        {F::CurReading, "1234567890", 88, 96, "234567890"},
        {F::CurReading, "", 88, 96, "         "},
        {F::ReadingTime, "0930", 107, 112, "000930"},
        {F::ReadingTime, "", 107, 112, "000000"},
        {F::ReadingTime, "12345678", 107, 112, "123456"},
        {F::ReadingDate, "240315", 82, 87, "031524"},
        {F::ReadingDate, "", 82, 87, "000000"},
        {F::ReadingDate, "24031", 82, 87, "030124"},
        {F::Intials, "ABCDEFG", 77, 81, "ABCDE"},
        {F::BillingName, std::string(35, 'N'), 17, 46, std::string(30, 'N')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("'" + c.text + "'");
        TempDir dir;
        AccuFundReading reading;
        const std::string file = WriteOneLine(reading, dir, {{c.field, c.text}});
        EXPECT_EQ(Columns(file, c.from, c.to), c.written);
        EXPECT_EQ(file.size(), 137u);
    }
}

TEST(VendorReadingTest, ZeroFilledNumberOfTheReading) {
    const std::pair<std::string, std::string> cases[] = {
        {"12345", "000012345"},      {"12.7", "000000012"},  {"", "000000000"},
        {"1234567890", "234567890"}, {"  42x", "000000042"},
    };
    for (const auto& [text, written] : cases) {
        SCOPED_TRACE("'" + text + "'");
        TempDir dir;
        MunicipalSoftwareReading reading;
        EXPECT_EQ(Columns(WriteOneLine(reading, dir, {{F::CurReading, text}}), 88, 96), written);
    }
}

TEST(VendorReadingTest, LongPiecePushesWhatFollowsItToTheRight) {
    // A piece inserted whole keeps later pieces at their own columns; its
    // overflow moves behind them and the line end cuts what is too far.
    ReadingLayout layout;
    layout.lineLength = 12;
    layout.pieces = {layout::Whole(2, {layout::Text(F::Intials)}),
                     layout::TextIn(4, 2, F::ResponseCode), layout::TextIn(6, 2, F::MeterType)};
    TempDir dir;
    VendorReading reading(layout);
    const std::string file = WriteOneLine(
        reading, dir, {{F::Intials, "abcdef"}, {F::ResponseCode, "BB"}, {F::MeterType, "CC"}});
    EXPECT_EQ(file, "  abBBCCcde\r\n");
}

TEST(VendorReadingTest, PiecesAtOneColumnGoInBeforeEachOther) {
    // The later piece is inserted at the column, pushing the earlier one;
    // a piece at the line end's column or beyond is cut off.
    ReadingLayout layout;
    layout.lineLength = 10;
    layout.pieces = {layout::Whole(2, {layout::Text(F::Intials)}),
                     layout::Whole(2, {layout::Text(F::ResponseCode)}),
                     layout::TextIn(9, 3, F::MeterType)};
    TempDir dir;
    VendorReading reading(layout);
    const std::string file = WriteOneLine(
        reading, dir, {{F::Intials, "ab"}, {F::ResponseCode, "XY"}, {F::MeterType, "CC"}});
    EXPECT_EQ(file, "  XYab   \r\n");
}

TEST(VendorReadingTest, WriteNeedsAnOpenReadingsFile) {
    TempDir dir;
    AccuFundReading reading;
    EXPECT_EQ(reading.Write(), -2);
    ASSERT_EQ(reading.Open((dir / "readings.txt").string(), 1), 0);
    EXPECT_EQ(reading.Close(), 0);
    EXPECT_EQ(reading.Close(), 0);
    EXPECT_EQ(reading.Write(), -1);
    EXPECT_EQ(ReadFile(dir / "readings.txt"), "");
}

TEST(VendorReadingTest, OpenFailsWithoutItsFolder) {
    TempDir dir;
    AccuFundReading reading;
    EXPECT_EQ(reading.Open((dir / "no-folder" / "readings.txt").string(), 1), -1);
    EXPECT_EQ(reading.Path(), "");
    EXPECT_EQ(reading.Write(), -2);
}

TEST(VendorReadingTest, OpenAppendsAndNeverTruncates) {
    TempDir dir;
    const auto path = dir / "readings.txt";
    WriteFile(path, "earlier line\r\n");
    for (const std::int32_t append : {1, 0}) {
        AccuFundReading reading;
        ASSERT_EQ(reading.Open(path.string(), append), 0);
        reading.SetField(F::ResponseCode, "0" + std::to_string(append));
        ASSERT_EQ(reading.Write(), 0);
        ASSERT_EQ(reading.Close(), 0);
    }
    const std::string file = ReadFile(path);
    ASSERT_EQ(file.size(), 14u + 2 * 137u);
    EXPECT_EQ(file.substr(0, 14), "earlier line\r\n");
    EXPECT_EQ(file.substr(14 + 133, 4), "01\r\n");
    EXPECT_EQ(file.substr(14 + 137 + 133, 4), "00\r\n");
}

TEST(VendorReadingTest, DiscardWrittenRestoresTheFileAsItWasAtOpen) {
    TempDir dir;
    const auto path = dir / "readings.txt";
    const std::string before = "kept\r\nlast line without end";
    WriteFile(path, before);
    {
        AccuFundReading reading;
        EXPECT_EQ(reading.DiscardWritten(), -1);  // never opened
        ASSERT_EQ(reading.Open(path.string(), 1), 0);
        ASSERT_EQ(reading.Write(), 0);
        ASSERT_EQ(reading.Write(), 0);
        EXPECT_EQ(reading.DiscardWritten(), 0);
        EXPECT_EQ(reading.Close(), 0);
        EXPECT_EQ(ReadFile(path), before);
    }
    {
        // After Close too: the lines are on disk by then.
        AccuFundReading reading;
        ASSERT_EQ(reading.Open(path.string(), 1), 0);
        ASSERT_EQ(reading.Write(), 0);
        ASSERT_EQ(reading.Close(), 0);
        ASSERT_EQ(ReadFile(path).size(), before.size() + 137);
        EXPECT_EQ(reading.DiscardWritten(), 0);
        EXPECT_EQ(ReadFile(path), before);
    }
}

// A readings file on a disk with no room left. (A device such as /dev/full
// is no readings file: it is refused at open.)
class VendorReadingFullDiskTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!disk_.Mounted()) {
            GTEST_SKIP() << "no permission to mount a small file system";
        }
        disk_.Fill();
        ASSERT_EQ(reading_.Open((disk_.Path() / "readings.txt").string(), 1), 0);
    }

    SmallDisk disk_;
    AccuFundReading reading_;
};

TEST_F(VendorReadingFullDiskTest, FullDiskIsReportedByClose) {
    reading_.SetField(F::CurReading, "1");
    // Lines are buffered: the refusal shows when they reach the disk.
    EXPECT_EQ(reading_.Write(), 0);
    EXPECT_EQ(reading_.Close(), -1);
    EXPECT_EQ(reading_.Close(), 0);
}

TEST_F(VendorReadingFullDiskTest, FullDiskFailsTheWriteThatFillsTheBuffer) {
    std::int32_t result = 0;
    int written = 0;
    while (result == 0 && written < 100000) {
        result = reading_.Write();
        ++written;
    }
    EXPECT_EQ(result, -1);
    EXPECT_EQ(reading_.Write(), -1);
    EXPECT_EQ(reading_.Close(), -1);
}

}  // namespace
}  // namespace wexal::testing
