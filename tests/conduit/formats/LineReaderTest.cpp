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
    std::size_t firstCut;
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
    result.firstCut = reader.FirstCutLine();
    return result;
}

TEST(LineReaderTest, LineEndsAreNeverData) {
    TempDir dir;
    // Every form of line end that billing systems and file transfers leave
    // in route files, bytes in and lines out: what read before must still
    // read. Lines end as most of the file's lines do: at a LF, with the CRs
    // right before it, or else at every CR as well.
    const std::string fill(256 * 1024 - 4, 'x');  // pads a line to a buffer refill
    const std::string full(kLimit, 'x');
    const struct {
        std::string content;
        std::vector<std::string> lines;
        std::size_t limit = kLimit;
    } cases[] = {
        {"one\ntwo\n", {"one", "two"}},
        {"one\r\ntwo\nthree\r\n", {"one", "two", "three"}},
        {"\r\n\n", {"", ""}},
        {"one\rtwo\rthree\r", {"one", "two", "three"}},
        {"one\r\r\ntwo\r\r\n", {"one", "two"}},
        {"SMITH\rJOHN\r\nnext\r\n", {"SMITH\rJOHN", "next"}},
        {"a\rb\r\nc\n\rd", {"a\rb", "c", "\rd"}},
        {"SMITH\rJOHN\r\n", {"SMITH\rJOHN"}},
        {"one\rtwo\nthree\rfour\r", {"one", "two", "three", "four"}},
        {"a\nb\r\nc\r\r\n\rd\re\r", {"a", "b", "c", "\rd\re"}},
        {"first\r\nlast", {"first", "last"}},
        {"first\rlast", {"first", "last"}},
        {"", {}},
        {"one\r\n\x1A\r\nnever\r\n", {"one"}},
        {"\r\x1A\rnever", {""}},
        {"a\x1A\r\nb", {"a\x1A", "b"}},
        {"\r\n \t\r\n\r\nx\r\n\r\n", {"", " \t", "", "x", ""}},
        {"\r\r\n\r", {"", ""}},
        // A line end split by a buffer refill, in the first line or later.
        {fill + "xxx\r\nnext\r", {fill + "xxx", "next"}, fill.size() + 3},
        {fill + "xx\r\r\nnext", {fill + "xx", "next"}, fill.size() + 2},
        {"a\r\n" + fill + "\r\r\nb", {"a", fill, "b"}, fill.size()},
        // Over-long lines are cut at the limit and their rest passed over;
        // the limit counts data only, never the CRs of the line end.
        {full + std::string(101, 'b') + "\r\nnext\r\n", {full, "next"}},
        {full + "\r\n" + full + "y\r\r\n" + full + "\r\r\n", {full, full, full}},
        {"abcdef\r\n", {"abc"}, 3},
        {"ab\r\r\nab\rc\n", {"ab", "ab\r"}, 3},
    };
    for (const auto& [content, lines, limit] : cases) {
        const Reading read = ReadAll(dir, content, limit);
        EXPECT_EQ(read.lines, lines) << content.substr(0, 40);
        EXPECT_EQ(read.last, LineReader::Outcome::End) << content.substr(0, 40);
    }
}

TEST(LineReaderTest, ByteOrderMarkIsNoDataAndTheFirstCutLineIsNumbered) {
    TempDir dir;
    const std::string mark = "\xEF\xBB\xBF";
    // Past a first buffer fill of LF lines, lines ending at a CR alone run into one.
    std::vector<std::string> lfLines(256 * 1024 + 1);
    lfLines.push_back("ab\r");
    const struct {
        std::string content;
        std::vector<std::string> lines;  // of at most 3 characters
        std::size_t firstCut;
    } cases[] = {
        {mark + "one\ntwo\n", {"one", "two"}, 0},
        {mark + "one\r\ntwo\r\n", {"one", "two"}, 0},
        {mark + "one\rtwo\r", {"one", "two"}, 0},
        {mark, {}, 0},
        {mark + mark + "\n" + mark, {mark, mark}, 0},
        {"aa\nbb\r\ncc\rdd\nee\r\nff\rgg\n", {"aa", "bb", "cc\r", "ee", "ff\r"}, 3},
        {std::string(256 * 1024 + 1, '\n') + "ab\rcd\r", lfLines, lfLines.size()},
    };
    for (const auto& [content, lines, firstCut] : cases) {
        const Reading read = ReadAll(dir, content, 3);
        EXPECT_EQ(read.lines, lines) << content.substr(0, 40);
        EXPECT_EQ(read.firstCut, firstCut) << content.substr(0, 40);
    }
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
