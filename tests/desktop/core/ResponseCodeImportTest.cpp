// Response codes read from a text file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/core/ResponseCodeImport.h"
#include "tests/support/TempDir.h"

namespace {

using wexal::desktop::ImportedResponseCode;
using wexal::desktop::ParseResponseCodes;
using wexal::desktop::ReadResponseCodeFile;
using Codes = std::vector<ImportedResponseCode>;

TEST(ResponseCodeImportTest, LinesBecomeCodeAndText) {
    struct Case {
        std::string name;
        std::string bytes;
        Codes expected;
    };
    const std::vector<Case> cases = {
        {"every line end",
         "01Dog\r\n02Gate locked\r03Meter buried\n04Last",
         {{"01", "Dog"}, {"02", "Gate locked"}, {"03", "Meter buried"}, {"04", "Last"}}},
        {"nothing trimmed, a tab kept",
         "07\tMeter blocked\r\n7 Short code \r\n",
         {{"07", "\tMeter blocked"}, {"7 ", "Short code "}}},
        {"short, blank code or blank text skipped",
         "01\r\n\r\n  Text without code\r\n05   \r\nAB C\r\n",
         {{"AB", " C"}}},
        {"empty lines between", "\n\n01A\n\n\n02B\r\n\r\n", {{"01", "A"}, {"02", "B"}}},
        {"UTF-8 with a mark, characters counted",
         "\xEF\xBB\xBF\xC3\xA9\xC3\xA8"
         "Caf\xC3\xA9\n",
         {{"\xC3\xA9\xC3\xA8", "Caf\xC3\xA9"}}},
        {"Windows-1252 line beside a UTF-8 one",
         "01Se\xF1or\r\n02Se\xC3\xB1or\r\n03\x80 5\r\n",
         {{"01", "Se\xC3\xB1or"}, {"02", "Se\xC3\xB1or"}, {"03", "\xE2\x82\xAC 5"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ParseResponseCodes(c.bytes), c.expected);
    }
}

TEST(ResponseCodeImportTest, FileThatCannotBeReadSaysWhy) {
    wexal::testing::TempDir dir;
    wexal::testing::WriteFile(dir / "codes.txt", "01Dog\n");
    const auto good = ReadResponseCodeFile(dir / "codes.txt");
    EXPECT_TRUE(good.Read);
    EXPECT_EQ(good.Codes, (Codes{{"01", "Dog"}}));

    const auto missing = ReadResponseCodeFile(dir / "none.txt");
    EXPECT_FALSE(missing.Read);
    EXPECT_EQ(missing.Reason, "No such file or directory");
    const auto folder = ReadResponseCodeFile(dir.path());
    EXPECT_FALSE(folder.Read);
    EXPECT_EQ(folder.Reason, "Is a directory");
    EXPECT_TRUE(folder.Codes.empty());
}

}  // namespace
