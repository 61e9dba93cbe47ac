// The Installation tab's rules without windows: the status text, the units'
// count, names, remembered values and preselection.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "desktop/core/ConduitStatus.h"
#include "desktop/core/HandheldUnits.h"
#include "tests/desktop/core/FixedClock.h"

namespace wexal::desktop {
namespace {

class MapSettings final : public SettingsStore {
  public:
    std::string GetSetting(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const override {
        const auto found = values.find(std::string(section) + "/" + std::string(key));
        return found != values.end() ? found->second : std::string(defaultValue);
    }
    void SaveSetting(std::string_view section, std::string_view key,
                     std::string_view value) override {
        values[std::string(section) + "/" + std::string(key)] = value;
    }
    std::map<std::string, std::string> values;
};

TEST(ConduitStatusTest, TextForEachState) {
    ConduitStatusFacts facts;
    facts.palmDesktopPath = "/home/office/desktop";
    facts.hotSyncVersion = "2.6.32.0";
    facts.conduitVersion = "2.6.32.1";
    facts.unitDate = "260305";
    const std::string head =
        "Palm Desktop software in /home/office/desktop\r\nHotSync Version 2.6.32.0\r\n"
        "Current Wexal Conduit Version 2.6.32.1\r\n";

    EXPECT_EQ(ConduitStatusText(facts),
              head + "Conduit is not yet installed\r\nCurrent Wexal Unit Date 260305");

    facts.registeredConduit = "/opt/old/libWexalCN.so";
    facts.registeredVersion = "Not Found";
    EXPECT_EQ(ConduitStatusText(facts),
              head +
                  "WARNING: registered conduit is not the one in this application's directory\r\n"
                  "Registered conduit is /opt/old/libWexalCN.so         Version: Not Found\r\n"
                  "Current Wexal Unit Date 260305");

    facts.registeredIsOurs = true;
    EXPECT_EQ(ConduitStatusText(facts), head + "Current Wexal Unit Date 260305");

    facts.palmDesktopPath = "";
    EXPECT_EQ(ConduitStatusText(facts), "Palm Desktop NOT INSTALLLED!!!!");
}

TEST(HandheldUnitsTest, CountNamesRowsAndInstalls) {
    MapSettings settings;
    for (const auto& [stored, count] : std::map<std::string, int>{
             {"", 20}, {"5", 5}, {"0", 20}, {"-3", 20}, {"7x", 20}, {" 7", 20}, {"120", 120}}) {
        if (stored.empty()) {
            settings.values.erase("Settings/UnitCount");
        } else {
            settings.values["Settings/UnitCount"] = stored;
        }
        EXPECT_EQ(UnitCount(settings), count) << "'" << stored << "'";
    }
    EXPECT_EQ(UnitUserName(1), "UNIT01");
    EXPECT_EQ(UnitUserName(12), "UNIT12");
    EXPECT_EQ(UnitUserName(100), "UNIT100");

    EXPECT_EQ(UnitRow(settings, 3), (std::vector<std::string>{"3", "Never", "", "Never", "0"}));
    testing::FixedClock clock({2026, 3, 7, 9, 0, 0});
    RecordUnitInstall(settings, 12, clock, "260305");
    settings.values["UNITREADS/12"] = "4711";
    EXPECT_EQ(UnitRow(settings, 12),
              (std::vector<std::string>{"12", "03/07/26", "260305", "Never", "4711"}));
}

TEST(HandheldUnitsTest, Preselection) {
    struct Case {
        const char* lastInstall;
        const char* version;
        bool preselected;
    };
    for (const Case& c : {Case{"Never", "", true}, Case{"Never", "260305", true},
                          Case{"01/02/26", "", true}, Case{"01/02/26", "260101", true},
                          Case{"03/05/26", "260305", false}, Case{"01/02/99", "991230", false}}) {
        EXPECT_EQ(NeedsInstall(c.lastInstall, c.version, "260305"), c.preselected)
            << c.lastInstall << " " << c.version;
    }
}

}  // namespace
}  // namespace wexal::desktop
