// WexalConduit::UpdateRoute and WexalConduit::PurgeRoutes on "routeDB".
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "conduit/WexalConduit.h"
#include "platform/palm/SyncManager.h"
#include "tests/conduit/HandheldFixture.h"
#include "tests/conduit/ReadFaults.h"

namespace wexal::testing {
namespace {

using ::testing::AnyOf;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kBlanks = "      ";

std::string Stamp(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char text[16] = {};
    std::strftime(text, sizeof text, "%d%H%M", &local);
    return text;
}

std::string Route(std::initializer_list<std::uint16_t> words, const std::string& name,
                  const std::string& stamp, const std::string& status,
                  const std::string& spare = kBlanks) {
    return Words(words) + Texts({name, stamp, spare, spare, status});
}

class RouteListTest : public HandheldFixture {
  protected:
    // Runs UpdateRoute and gives the stamp it must have written, allowing
    // for a minute that turns during the call.
    std::vector<std::string> Update(const std::string& route, std::int32_t count,
                                    const std::string& status) {
        const std::time_t before = std::time(nullptr);
        EXPECT_EQ(conduit_.UpdateRoute(route, count, status), 0);
        return {Stamp(before), Stamp(std::time(nullptr))};
    }

    // The route names of the list, in order.
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (const std::string& record : Records("routeDB")) {
            names.emplace_back(record.c_str() + 8);
        }
        return names;
    }

    WexalConduit conduit_;
};

TEST_F(RouteListTest, UnlistedRouteIsAddedWithTheGivenStatus) {
    const auto stamps = Update("01", -1, "N");
    EXPECT_THAT(Records("routeDB"),
                ElementsAre(AnyOf(Route({0, 0, 0, 0xFFFE}, "01", stamps[0], "N"),
                                  Route({0, 0, 0, 0xFFFE}, "01", stamps[1], "N"))));
    EXPECT_EQ(stamps[0].size(), 6u);

    Update("02", 0, "R");
    Update("03", 25, "R");
    const std::vector<std::string> records = Records("routeDB");
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1].substr(0, 8), Words({0, 0, 0, 0}));
    EXPECT_EQ(records[2].substr(0, 8), Words({25, 0, 0, 24}));
    EXPECT_THAT(LogLines(), IsEmpty());
}

TEST_F(RouteListTest, ListedRouteKeepsItsStatusUnlessTheNewOneIsR) {
    PutRecords("routeDB", {Route({5, 7, 7, 4}, "01", "000000", "U", "x"),
                           Route({3, 0, 0, 2}, "02", "000000", "N", "y")});
    const auto stamps = Update("01", 10, "N");
    const std::vector<std::string> records = Records("routeDB");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_THAT(records[0], AnyOf(Route({10, 0, 0, 9}, "01", stamps[0], "U"),
                                  Route({10, 0, 0, 9}, "01", stamps[1], "U")));
    EXPECT_EQ(records[1], Route({3, 0, 0, 2}, "02", "000000", "N", "y"));

    Update("01", 12, "R");
    EXPECT_EQ(Records("routeDB")[0].substr(0, 8), Words({12, 0, 0, 11}));
    EXPECT_EQ(Records("routeDB")[0].substr(Records("routeDB")[0].size() - 2), "R" + Texts({""}));
}

TEST_F(RouteListTest, CountMinusOneKeepsTheMeterCountOfAListedRoute) {
    PutRecords("routeDB", {Route({42, 1, 1, 41}, "01", "000000", "M")});
    const auto stamps = Update("01", -1, "N");
    EXPECT_THAT(Records("routeDB"),
                ElementsAre(AnyOf(Route({42, 0, 0, 0xFFFE}, "01", stamps[0], "M"),
                                  Route({42, 0, 0, 0xFFFE}, "01", stamps[1], "M"))));
}

TEST_F(RouteListTest, TrailingWhiteSpaceIsTrimmedAndCaseMatters) {
    PutRecords("routeDB", {Route({1, 0, 0, 0}, "north", "000000", "N")});
    Update(" north \t\r\n", 2, "R");
    Update("north \t", 3, "R");
    Update("NORTH", 4, "R");
    EXPECT_THAT(Names(), ElementsAre("north", " north", "NORTH"));
    EXPECT_EQ(Records("routeDB")[0].substr(0, 2), Words({3}));
}

TEST_F(RouteListTest, PurgeKeepsRoutesNotYetUploadedInTheirOrder) {
    std::vector<std::string> records;
    for (const char* status : {"N", "R", "D", "M", "U", "", " ", "  ", "N", "X"}) {
        records.push_back(Route({1, 0, 0, 0}, std::string("s") + status, "000000", status));
    }
    PutRecords("routeDB", records);
    EXPECT_EQ(conduit_.PurgeRoutes(), 0);
    EXPECT_THAT(Names(), ElementsAre("sR", "sM", "sU", "s", "s "));
}

TEST_F(RouteListTest, PurgeOfAMissingListCreatesItEmpty) {
    EXPECT_EQ(conduit_.PurgeRoutes(), 0);
    EXPECT_TRUE(Exists("routeDB"));
    EXPECT_EQ(CountOf("routeDB"), 0u);
}

TEST_F(RouteListTest, PurgeKeepsAnUnreadableRecordAndGoesOn) {
    PutRecords("routeDB", {Route({1, 0, 0, 0}, "01", "000000", "N"),
                           Route({1, 0, 0, 0}, "02", "000000", "N")});
    {
        FailingRead failing(0, kSyncErrIo);
        conduit_.PurgeRoutes();
    }
    EXPECT_THAT(Names(), ElementsAre("01"));
}

}  // namespace
}  // namespace wexal::testing
