// Reading the exceptions-capture file and the readings file: byte columns,
// Windows-1252 text, line ends, and the readings keys.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "desktop/core/ExceptionRecord.h"
#include "desktop/core/ReadingsKeys.h"
#include "desktop/core/TextFileLines.h"
#include "tests/desktop/core/CaptureLines.h"
#include "tests/support/TempDir.h"

namespace {

using wexal::desktop::ExceptionRecord;
using wexal::desktop::ReadExceptionRecord;
using wexal::desktop::ReadingsKeys;
using wexal::desktop::TextFileLines;
using wexal::desktop::WithoutLineEnd;
using wexal::testing::CaptureFields;
using wexal::testing::CaptureLine;
using wexal::testing::TempDir;
using wexal::testing::WriteFile;

std::vector<std::string> LinesOf(const std::string& bytes) {
    TempDir dir;
    WriteFile(dir / "file.txt", bytes);
    TextFileLines lines((dir / "file.txt").string());
    std::vector<std::string> all;
    std::string line;
    while (lines.Next(line)) {
        all.push_back(line);
    }
    return all;
}

TEST(ExceptionRecordTest, ReadsEveryFieldAtItsColumnsTrimmedAndDecoded) {
    CaptureFields fields;
    fields.service = "  00012345678901234";
    fields.tag = "TAG-77";
    fields.serial = "SN 9";
    fields.type = "W";
    fields.previous = "    001200";
    fields.hi = "      1500";
    fields.lo = "      1100";
    fields.current = "   1234.5";
    fields.date = "261209";
    fields.time = "1745";
    fields.owner = "J\xFCrgen M\xFCller";    // Windows-1252 u umlaut
    fields.location = "12 Oak Street \x80";  // the euro sign
    fields.message = "Dog in yard";
    fields.reader = "JMR";
    fields.code = "03";
    fields.text = "Gate locked";
    std::string line = CaptureLine(fields);
    line.replace(51, 6, "000102");   // route sequence and digits: not read
    line.replace(289, 1, "E");       // status: not read
    line.replace(362, 6, "261101");  // last reading date: not read
    const ExceptionRecord r = ReadExceptionRecord(WithoutLineEnd(line));

    EXPECT_EQ(r.Service, "00012345678901234");
    EXPECT_EQ(r.Tag, "TAG-77");
    EXPECT_EQ(r.Serial, "SN 9");
    EXPECT_EQ(r.Type, "W");
    EXPECT_EQ(r.Previous, "001200");
    EXPECT_EQ(r.ExpectHi, "1500");
    EXPECT_EQ(r.ExpectLo, "1100");
    EXPECT_EQ(r.Current, "1234.5");
    EXPECT_EQ(r.Date, "261209");
    EXPECT_EQ(r.Time, "1745");
    EXPECT_EQ(r.Owner, "J\u00fcrgen M\u00fcller");
    EXPECT_EQ(r.Location, "12 Oak Street \u20ac");
    EXPECT_EQ(r.Message, "Dog in yard");
    EXPECT_EQ(r.Reader, "JMR");
    EXPECT_EQ(r.ResponseCode, "03");
    EXPECT_EQ(r.ResponseText, "Gate locked");
    // The key keeps its blanks: it is compared with readings lines as stored.
    EXPECT_EQ(r.Key, "  000123456789012");
}

TEST(ExceptionRecordTest, ShortAndBlankLinesGiveEmptyFields) {
    const ExceptionRecord shortLine = ReadExceptionRecord("  1001   TAG");
    EXPECT_EQ(shortLine.Service, "1001   TAG");
    EXPECT_EQ(shortLine.Tag, "");
    EXPECT_EQ(shortLine.ResponseText, "");
    EXPECT_EQ(shortLine.Key, "  1001   TAG");

    const ExceptionRecord blank = ReadExceptionRecord("");
    EXPECT_EQ(blank.Service, "");
    EXPECT_EQ(blank.Current, "");
    EXPECT_EQ(blank.Key, "");
}

TEST(ExceptionRecordTest, LinesKeepTheirOwnEnds) {
    const std::string big(65535, 'x');  // the reader's chunk ends between CR and LF
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"a\r\nb\rc\nd", {"a\r\n", "b\r", "c\n", "d"}},
        {"a\r\n", {"a\r\n"}},            // a final line end adds no empty line
        {"\r\n\r\n", {"\r\n", "\r\n"}},  // blank lines are lines
        {"a\r\r\n", {"a\r", "\r\n"}},
        {big + "\r\nnext", {big + "\r\n", "next"}},
        {big + "\r", {big + "\r"}},
        {big + "x\r\n", {big + "x\r\n"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LinesOf(c.bytes), c.lines) << c.bytes.substr(0, 20);
    }
    EXPECT_EQ(WithoutLineEnd("a\r\n"), "a");
    EXPECT_EQ(WithoutLineEnd("a\r"), "a");
    EXPECT_EQ(WithoutLineEnd("a\n"), "a");
    EXPECT_EQ(WithoutLineEnd("a"), "a");
}

TEST(ExceptionRecordTest, MissingFileNamesItselfInTheError) {
    try {
        TextFileLines lines("/nonexistent/Exceptions.txt");
        FAIL() << "opened a missing file";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("/nonexistent/Exceptions.txt"), std::string::npos);
    }
}

TEST(ReadingsKeysTest, KeysAreTheFirst17BytesComparedWithoutCase) {
    TempDir dir;
    WriteFile(dir / "readings.txt",
              "             1001 000123 rest of the line\r\n"
              "ABCDEFGHIJKLMNOPQ first line with this key\r"
              "abcdefghijklmnopq same key, later: ignored\n"
              "short\r\n"
              "\xE9t\xE9 1234567890123 Windows-1252 accents\r\n"
              "\r\n");
    const ReadingsKeys keys = ReadingsKeys::Load((dir / "readings.txt").string());
    struct Case {
        std::string key;
        bool present;
    };
    const std::vector<Case> cases = {
        {"             1001", true},
        {"             1002", false},
        {"abcdefghijklmnopq", true},
        {"ABCDEFGHIJKLMNOPQ", true},
        {"ABCDEFGHIJKLMNOP", false},  // a key is all 17 bytes
        {"SHORT", true},              // a short line's key is the whole line
        {"\xC9T\xC9 1234567890123", true},
        {"", false},  // an empty key (a blank line) never matches
    };
    for (const Case& c : cases) {
        EXPECT_EQ(keys.Present(c.key), c.present) << '"' << c.key << '"';
    }
}

}  // namespace
