// The rules behind the small dialogs: the short date with its century window,
// and the registry values that lead to System Information.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "desktop/core/ReadOnlyHive.h"
#include "desktop/core/ShortDate.h"
#include "desktop/core/SystemInformation.h"
#include "desktop/core/UserHive.h"
#include "tests/support/TempDir.h"

namespace wexal::desktop {
namespace {

using testing::TempDir;

TEST(ShortDateTest, ReadsMonthDayYearWithTheCenturyWindow) {
    const std::vector<std::pair<std::string, std::optional<CalendarDate>>> cases = {
        {"01/02/27", CalendarDate{2027, 1, 2}},
        {"1/2/2027", CalendarDate{2027, 1, 2}},
        {"12/31/29", CalendarDate{2029, 12, 31}},
        {"1/1/30", CalendarDate{1930, 1, 1}},
        {"6/5/99", CalendarDate{1999, 6, 5}},
        {"6/5/0", CalendarDate{2000, 6, 5}},
        {" 2-29-2024 ", CalendarDate{2024, 2, 29}},
        {"3.4.1850", CalendarDate{1850, 3, 4}},
        {"2/29/2023", {}},
        {"2/29/1900", {}},
        {"13/1/2020", {}},
        {"4/31/2020", {}},
        {"1/2", {}},
        {"1/2-2020", {}},
        {"", {}},
        {"   ", {}},
        {"a/b/c", {}},
        {"1/2/20201", {}},
        {"1/2/099", {}},
        {"0/5/2020", {}},
    };
    for (const auto& [text, date] : cases) {
        EXPECT_EQ(ParseShortDate(text), date) << '"' << text << '"';
    }
    EXPECT_EQ(FormatShortDate({2027, 1, 2}), "1/2/2027");
    EXPECT_EQ(FormatShortDate({1930, 12, 31}), "12/31/1930");
}

class SystemInformationTest : public ::testing::Test {
  protected:
    SystemInformationTest() {
        for (auto& hive : hives_) {
            hive = std::make_shared<ReadOnlyHive>();
        }
        hives_[Index(clsRegistry::HKEY_LOCAL_MACHINE)] = std::make_shared<UserHive>(machine_);
    }
    static std::size_t Index(std::uint32_t root) { return root - clsRegistry::HKEY_CLASSES_ROOT; }

    TempDir folder_;
    registry::Registry machine_{folder_ / "machine.reg"};
    clsRegistry::Hives hives_;
};

TEST_F(SystemInformationTest, GetKeyValueReadsTextsAndNumbersWithReadAccessOnly) {
    const std::string key = "SOFTWARE\\Test";
    machine_.WriteString(key, "Text", std::string("C:\\msinfo\0tail", 14));
    machine_.WriteDword(key, "Number", 261);
    machine_.WriteString(key, "Long", std::string(1024, 'x'));
    // Nobody may change the file from here on: the key still reads.
    ::chmod(machine_.File().c_str(), 0444);

    struct Case {
        std::uint32_t root;
        std::string key;
        std::string name;
        bool found;
        std::string value;
    };
    const std::vector<Case> cases = {
        {clsRegistry::HKEY_LOCAL_MACHINE, key, "Text", true, "C:\\msinfo"},
        {clsRegistry::HKEY_LOCAL_MACHINE, key, "Number", true, "261"},
        {clsRegistry::HKEY_LOCAL_MACHINE, key, "Long", false, ""},
        {clsRegistry::HKEY_LOCAL_MACHINE, key, "Missing", false, ""},
        {clsRegistry::HKEY_LOCAL_MACHINE, "SOFTWARE\\None", "Text", false, ""},
        {clsRegistry::HKEY_CURRENT_USER, key, "Text", false, ""},
        {0x12345678, key, "Text", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string value = "before";
        EXPECT_EQ(GetKeyValue(hives_, c.root, c.key, c.name, value), c.found);
        EXPECT_EQ(value, c.value);
    }
}

TEST_F(SystemInformationTest, TheProgramIsFoundAtEitherPlace) {
    EXPECT_EQ(SysInfoProgramPath(hives_), std::nullopt);

    const std::string location = "SOFTWARE\\Microsoft\\Shared Tools Location";
    machine_.WriteString(location, "MSINFO", folder_.path().string());
    EXPECT_EQ(SysInfoProgramPath(hives_), std::nullopt) << "no MSINFO32.EXE in the folder";
    testing::WriteFile(folder_ / "MSINFO32.EXE", "");
    EXPECT_EQ(SysInfoProgramPath(hives_), (folder_ / "MSINFO32.EXE").string());

    machine_.WriteString("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", "/opt/si/run");
    EXPECT_EQ(SysInfoProgramPath(hives_), "/opt/si/run");
}

}  // namespace
}  // namespace wexal::desktop
