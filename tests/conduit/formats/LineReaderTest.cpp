// Line ends, over-long lines, Ctrl-Z and read errors of route files.
#include "conduit/formats/LineReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/TempDir.h"

namespace wexal::testing {
namespace {

constexpr std::size_t kLimit = 499;

struct Reading {
    std::vector<std::string> lines;
    LineReader::Outcome last;
};

Reading ReadAll(const TempDir& dir, const std::string& content, std::size_t limit = kLimit) {
    const auto path = dir / "route.txt";
    WriteFile(path, content);
    LineReader reader(limit);
    EXPECT_TRUE(reader.Open(path.string()));
    Reading result;
    std::string line;
    while ((result.last = reader.Next(line)) == LineReader::Outcome::Line) {
        result.lines.push_back(line);
    }
    return result;
}

TEST(LineReaderTest, LineEndsAreNeverData) {
    TempDir dir;
    // LF, CR LF and a CR alone each end one line.
    const struct {
        std::string content;
        std::vector<std::string> lines;
    } cases[] = {
        {"one\r\ntwo\nthree\r\n", {"one", "two", "three"}},
        {"\r\n\n", {"", ""}},
        {"one\rtwo\rthree\r", {"one", "two", "three"}},
        {"a\rb\r\nc\n\rd", {"a", "b", "c", "", "d"}},
        {"\r\r\n\r", {"", "", ""}},
        {"\r\x1A\rnever", {""}},
    };
    for (const auto& [content, lines] : cases) {
        EXPECT_EQ(ReadAll(dir, content).lines, lines) << content;
    }
    // A CR at the end of one buffer fill and the LF that begins the next
    // are one line end.
    const std::string full(256 * 1024 - 1, 'x');
    EXPECT_EQ(ReadAll(dir, full + "\r\nnext\r", full.size()).lines,
              (std::vector<std::string>{full, "next"}));
}

TEST(LineReaderTest, LastLineWithoutLineEndKeepsEveryCharacter) {
    TempDir dir;
    EXPECT_EQ(ReadAll(dir, "first\r\nlast").lines, (std::vector<std::string>{"first", "last"}));
    EXPECT_EQ(ReadAll(dir, "").lines, std::vector<std::string>{});
    EXPECT_EQ(ReadAll(dir, "").last, LineReader::Outcome::End);
}

TEST(LineReaderTest, OverLongLineIsCutAndItsRestPassedOver) {
    TempDir dir;
    const std::string longLine = std::string(499, 'a') + std::string(101, 'b');
    const Reading read = ReadAll(dir, longLine + "\r\nnext\r\n");
    ASSERT_EQ(read.lines.size(), 2u);
    EXPECT_EQ(read.lines[0], std::string(499, 'a'));
    EXPECT_EQ(read.lines[1], "next");
}

TEST(LineReaderTest, LineAtTheLimitKeepsAllItsCharactersAndLosesItsCr) {
    TempDir dir;
    const std::string full(499, 'x');
    EXPECT_EQ(ReadAll(dir, full + "\r\n" + full + "y\r\n").lines,
              (std::vector<std::string>{full, full}));
    EXPECT_EQ(ReadAll(dir, "abcdef\r\n", 3).lines, (std::vector<std::string>{"abc"}));
}

TEST(LineReaderTest, CtrlZWhereALineBeginsEndsTheFile) {
    TempDir dir;
    const Reading read = ReadAll(dir, "one\r\n\x1A\r\nnever\r\n");
    EXPECT_EQ(read.lines, (std::vector<std::string>{"one"}));
    EXPECT_EQ(read.last, LineReader::Outcome::End);
    // Inside a line it is an ordinary character.
    EXPECT_EQ(ReadAll(dir, "a\x1A\r\nb").lines, (std::vector<std::string>{"a\x1A", "b"}));
}

TEST(LineReaderTest, LinesAcrossManyBufferFillsArriveWhole) {
    TempDir dir;
    // 185 bytes a line: over a megabyte, with line ends split across fills.
    std::string content;
    for (int i = 0; i < 6000; ++i) {
        std::string line(183, static_cast<char>('A' + i % 26));
        line.replace(0, 4, std::to_string(1000 + i % 9000));
        content += line + "\r\n";
    }
    const Reading read = ReadAll(dir, content);
    ASSERT_EQ(read.lines.size(), 6000u);
    for (int i = 0; i < 6000; ++i) {
        ASSERT_EQ(read.lines[i].size(), 183u) << i;
        ASSERT_EQ(read.lines[i].substr(0, 4), std::to_string(1000 + i % 9000)) << i;
        ASSERT_EQ(read.lines[i].back(), static_cast<char>('A' + i % 26)) << i;
    }
}

TEST(LineReaderTest, ReadErrorIsNotAnEndOfFile) {
    // Reading a process's own memory at address 0 fails with an I/O error.
    LineReader reader(kLimit);
    ASSERT_TRUE(reader.Open("/proc/self/mem"));
    std::string line = "previous";
    EXPECT_EQ(reader.Next(line), LineReader::Outcome::Error);
    EXPECT_EQ(reader.Next(line), LineReader::Outcome::Error);
}

TEST(LineReaderTest, FoldersAndMissingFilesDoNotOpen) {
    TempDir dir;
    LineReader reader(kLimit);
    EXPECT_FALSE(reader.Open(dir.path().string()));
    EXPECT_FALSE(reader.Open((dir / "missing.txt").string()));
}

}  // namespace
}  // namespace wexal::testing
