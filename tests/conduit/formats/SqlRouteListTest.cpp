// The SQL link's connection and route list, in whole syncs against the
// sample billing database.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "conduit/formats/WexalIfcOdbc.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/ObjectFactory.h"
#include "tests/conduit/formats/SqlLinkTestBed.h"

namespace wexal::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class SqlRouteListTest : public SqlLinkTest {
  protected:
    // A route handed back with readings and one asked for: whether the
    // upload and the download ran shows in their statuses.
    void PutRoutesToExchange() {
        PutRoute({"07", "U"});
        PutRoute({"02", "D"});
    }
};

TEST_F(SqlRouteListTest, SyncListsTheBillingRoutesOnTheHandheld) {
    EXPECT_EQ(Sync(), 0);
    EXPECT_THAT(boxes_, IsEmpty());
    const std::vector<RouteEntry> routes = Routes();
    ASSERT_EQ(routes.size(), 3u);
    EXPECT_EQ(routes[0].name, "01");
    EXPECT_EQ(routes[1].name, "02");
    EXPECT_EQ(routes[2].name, "12 A");
    for (const RouteEntry& route : routes) {
        EXPECT_EQ(route.status, "N");
        EXPECT_EQ(route.meterCount, 0);
        EXPECT_EQ(route.word2, 0);
        EXPECT_EQ(route.word3, 0);
        EXPECT_EQ(route.lastIndex, 0xFFFE);
        EXPECT_EQ(route.text1, kSixBlanks);
        EXPECT_EQ(route.text2, kSixBlanks);
        EXPECT_TRUE(StampedDuringSync(route.stamp)) << route.stamp;
    }
    // Listing a route downloads nothing.
    EXPECT_FALSE(HasMeterDatabase("01"));

    // A second sync finds them listed and adds none.
    EXPECT_EQ(Sync(), 0);
    EXPECT_THAT(RouteNames(), ElementsAre("01", "02", "12 A"));
}

TEST_F(SqlRouteListTest, ListedRouteKeepsItsStatusCountAndWord2) {
    PutRoute({"01", "R", 25, 7, 3, 24, "999999", "x", "y"});
    EXPECT_EQ(Sync(), 0);
    const RouteEntry route = Route("01");
    EXPECT_EQ(route.status, "R");
    EXPECT_EQ(route.meterCount, 25);
    EXPECT_EQ(route.word2, 7);
    EXPECT_EQ(route.word3, 0);
    EXPECT_EQ(route.lastIndex, 0xFFFE);
    EXPECT_EQ(route.text1, kSixBlanks);
    EXPECT_EQ(route.text2, kSixBlanks);
    EXPECT_TRUE(StampedDuringSync(route.stamp)) << route.stamp;
    EXPECT_THAT(RouteNames(), ElementsAre("01", "02", "12 A"));
}

TEST_F(SqlRouteListTest, TrailingBlanksOfARouteBookAreDropped) {
    billing_->AddService("400-0001", "04   ", "001");
    billing_->AddService("100-0009", "01 ", "040");
    EXPECT_EQ(Sync(), 0);
    // "01 " and "01" are one route.
    EXPECT_THAT(RouteNames(), ElementsAre("01", "02", "04", "12 A"));
}

TEST_F(SqlRouteListTest, UpdateRouteSetsCountsLikeTheRouteList) {
    WexalIfc_ODBC link;
    PutRoute({"01", "N", 9, 5, 0, 8});
    EXPECT_EQ(link.UpdateRoute("01", 0, "N"), 0);
    RouteEntry route = Route("01");
    EXPECT_EQ(route.meterCount, 0);
    EXPECT_EQ(route.lastIndex, 8);  // kept when the count is 0
    EXPECT_EQ(route.word2, 5);

    EXPECT_EQ(link.UpdateRoute("01", 3, "R"), 0);
    route = Route("01");
    EXPECT_EQ(route.status, "R");
    EXPECT_EQ(route.meterCount, 3);
    EXPECT_EQ(route.lastIndex, 2);

    EXPECT_EQ(link.UpdateRoute("09\t ", 0, "D"), 0);
    route = Route("09");
    EXPECT_EQ(route.status, "D");  // a new route takes any status
    EXPECT_EQ(route.lastIndex, 0);
}

TEST_F(SqlRouteListTest, EmptyRouteListChangesNothingAndTheExchangeGoesOn) {
    billing_->Execute("TRUNCATE BillingReading, BillingService");
    PutRoutesToExchange();
    EXPECT_EQ(Sync(), 0);
    EXPECT_THAT(boxes_, IsEmpty());
    const std::vector<RouteEntry> routes = Routes();
    ASSERT_EQ(routes.size(), 2u);
    EXPECT_EQ(routes[0].status, "N");
    EXPECT_EQ(routes[1].status, "R");
}

TEST_F(SqlRouteListTest, RouteListThatCannotBeReadIsReportedAndTheExchangeGoesOn) {
    RefusedRows refused(*billing_, "WexalRouteList", "RouteBook <> '12 A'");
    PutRoutesToExchange();
    EXPECT_EQ(Sync(), 0);
    EXPECT_EQ(boxes_, (Boxes{{"Error", "Error downloading routelist"}}));
    EXPECT_THAT(RouteNames(), ElementsAre("07", "02"));
    EXPECT_EQ(Route("07").status, "N");
    EXPECT_EQ(Route("02").status, "R");
    EXPECT_EQ(Route("02").meterCount, 2);
}

TEST_F(SqlRouteListTest, WrongPasswordShowsOneBoxAndExchangesNothing) {
    PutRoutesToExchange();
    EXPECT_EQ(Sync("not the password"), 0);
    EXPECT_EQ(boxes_, (Boxes{{"Debug", "Connection Open Failed"}}));
    EXPECT_THAT(RouteNames(), ElementsAre("07", "02"));
    EXPECT_EQ(Route("07").status, "U");
    EXPECT_EQ(Route("02").status, "D");
    EXPECT_FALSE(HasMeterDatabase("02"));
    EXPECT_EQ(billing_->Scalar("SELECT count(*) FROM WexalRouteList"), "0");
}

// The reader's password for the life of the object.
class ChangedPassword {
  public:
    ChangedPassword(BillingDatabase& billing, const std::string& password) : billing_(billing) {
        billing_.Execute("ALTER ROLE " + std::string(kBillingUser) + " PASSWORD '" + password +
                         "'");
    }
    ~ChangedPassword() {
        billing_.Execute("ALTER ROLE " + std::string(kBillingUser) + " PASSWORD '" +
                         kBillingPassword + "'");
    }
    ChangedPassword(const ChangedPassword&) = delete;
    ChangedPassword& operator=(const ChangedPassword&) = delete;

  private:
    BillingDatabase& billing_;
};

// The configuration's texts are UTF-8, and so is what the data source gets.
TEST_F(SqlRouteListTest, PasswordsWithSemicolonsOrBeyondAsciiStillLogIn) {
    for (const char* password : {"me;ters}", "m\xC3\xABt\xE2\x82\xACrs \xE4\xB8\xAD"}) {
        SCOPED_TRACE(password);
        {
            ChangedPassword changed(*billing_, password);
            EXPECT_EQ(Sync(password), 0);
        }
        EXPECT_THAT(boxes_, IsEmpty());
        EXPECT_THAT(RouteNames(), ElementsAre("01", "02", "12 A"));
    }
}

TEST_F(SqlRouteListTest, ConnectionThatCannotBeMadeEndsTheSyncSilently) {
    ado::UnavailableClass unavailable(ado::ObjectClass::Connection, ado::kErrorClassNotAvailable);
    PutRoutesToExchange();
    EXPECT_EQ(Sync(), 0);
    EXPECT_THAT(boxes_, IsEmpty());
    EXPECT_EQ(Route("07").status, "U");
    EXPECT_EQ(Route("02").status, "D");
}

TEST_F(SqlRouteListTest, CommandThatCannotBeMadeStopsTheSync) {
    ado::UnavailableClass unavailable(ado::ObjectClass::Command, ado::kErrorClassNotAvailable);
    PutRoutesToExchange();
    EXPECT_EQ(Sync(), 1);
    EXPECT_EQ(boxes_, (Boxes{{"Error",
                              "Received failure on CreateInstance(Command) "
                              "return=-2147221005 (0x800401f3) "}}));
    EXPECT_THAT(RouteNames(), ElementsAre("07", "02"));
    EXPECT_EQ(Route("07").status, "U");
    EXPECT_EQ(Route("02").status, "D");
}

TEST_F(SqlRouteListTest, RecordsetThatCannotBeMadeStopsTheSync) {
    ado::UnavailableClass unavailable(ado::ObjectClass::Recordset, ado::kErrorClassNotAvailable);
    PutRoutesToExchange();
    EXPECT_EQ(Sync(), 1);
    EXPECT_EQ(boxes_, (Boxes{{"Error", "Received failure on Recordset CreateInstance"}}));
    EXPECT_THAT(RouteNames(), ElementsAre("07", "02"));
    EXPECT_EQ(Route("07").status, "U");
    EXPECT_EQ(Route("02").status, "D");
}

}  // namespace
}  // namespace wexal::testing
