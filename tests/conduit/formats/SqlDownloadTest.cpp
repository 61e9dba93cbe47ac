// The SQL link's download of the routes that the handheld asks for, in whole
// syncs against the sample billing database.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/conduit/WriteFaults.h"
#include "tests/conduit/formats/SqlLinkTestBed.h"

namespace wexal::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class SqlDownloadTest : public SqlLinkTest {
  protected:
    void SetUp() override {
        SqlLinkTest::SetUp();
        if (!IsSkipped()) {
            PutReaderSettings();
        }
    }

    std::vector<std::string> Field(const std::string& route, const std::string& name) {
        std::vector<std::string> values;
        for (const MeterFields& meter : Meters(route)) {
            values.push_back(meter.at(name));
        }
        return values;
    }
};

TEST_F(SqlDownloadTest, RequestedRouteArrivesInRouteSequenceOrder) {
    billing_->AddService("500-0003", "05", "030");
    billing_->AddService("500-0001", "05", "010");
    billing_->AddService("500-0002", "05", "020");
    PutRoute({"05", "D", 0, 4, 4, 0, "999999", "a", "b"});
    EXPECT_EQ(Sync(), 0);
    EXPECT_THAT(boxes_, IsEmpty());

    EXPECT_THAT(Field("05", "ServiceUniqueID"), ElementsAre("500-0001", "500-0002", "500-0003"));
    const MeterFields first = Meters("05").at(0);
    EXPECT_EQ(first, (MeterFields{{"ServiceUniqueID", "500-0001"},
                                  {"MeterTagNbr", "T500-0001"},
                                  {"MeterSerialNbr", ""},
                                  {"MeterType", "W"},
                                  {"RouteSequence", "010"},
                                  {"Digits", "06"},
                                  {"PrvReading", "100"},
                                  {"MaxReading", ""},
                                  {"MinReading", ""},
                                  {"CurReading", ""},
                                  {"ReadingDate", ""},
                                  {"ReadingTime", ""},
                                  {"BillingName", "Name 500-0001"},
                                  {"ServiceAddress", ""},
                                  {"Message", "note"},
                                  {"Status", "U"},
                                  {"Intials", ""},
                                  {"ResponseCode", ""},
                                  {"ResponseText", ""},
                                  {"LstReadingDate", ""},
                                  {"ReadType", "S"},
                                  {"UserDef", ""}}));

    const RouteEntry route = Route("05");
    EXPECT_EQ(route.status, "R");
    EXPECT_EQ(route.meterCount, 3);
    EXPECT_EQ(route.lastIndex, 2);
    EXPECT_EQ(route.word2, 0);
    EXPECT_EQ(route.word3, 0);
    EXPECT_EQ(route.text1, kSixBlanks);
    EXPECT_EQ(route.text2, kSixBlanks);
    // Refreshed by the route list, which runs first.
    EXPECT_TRUE(StampedDuringSync(route.stamp)) << route.stamp;
    EXPECT_EQ(CurrentRoute(), "05");
}

TEST_F(SqlDownloadTest, FieldsAreStoredAsTheDatabaseGivesThem) {
    billing_->Execute(
        "UPDATE BillingService SET ReadStatus = 'R', Message = NULL, MeterSerialNbr = 'S\u00E9 1', "
        "RouteSequence = '5' WHERE ServiceUniqueID = '100-0002'");
    PutRoute({"01", "D"});
    EXPECT_EQ(Sync(), 0);
    // In the database's order of the text column, not padded.
    EXPECT_THAT(Field("01", "RouteSequence"), ElementsAre("010", "030", "5"));
    EXPECT_THAT(Field("01", "Message"), ElementsAre("Dog in yard", "Meter behind gate", ""));
    // Not reset to "U".
    EXPECT_THAT(Field("01", "Status"), ElementsAre("U", "U", "R"));
    // 8-bit in the handheld's code page.
    EXPECT_THAT(Field("01", "MeterSerialNbr"), ElementsAre("S88001", "S88003", "S\xE9 1"));
    EXPECT_THAT(Field("01", "Digits"), ElementsAre("06", "05", "06"));
}

TEST_F(SqlDownloadTest, RouteWithoutMetersArrivesEmpty) {
    PutRoute({"06", "D", 9, 0, 0, 8});
    PutMeters("06", {{{"ServiceUniqueID", "old"}}});
    EXPECT_EQ(Sync(), 0);
    EXPECT_THAT(Meters("06"), IsEmpty());
    const RouteEntry route = Route("06");
    EXPECT_EQ(route.status, "R");
    EXPECT_EQ(route.meterCount, 0);
    EXPECT_EQ(route.lastIndex, 0xFFFF);
}

TEST_F(SqlDownloadTest, LongRouteAndItsCount) {
    for (int i = 1; i <= 25; ++i) {
        char sequence[8];
        std::snprintf(sequence, sizeof sequence, "%03d", 26 - i);
        billing_->AddService("700-" + std::to_string(i), "07", sequence, "");
    }
    PutRoute({"07", "D"});
    EXPECT_EQ(Sync(), 0);
    EXPECT_EQ(Meters("07").size(), 25u);
    EXPECT_EQ(Meters("07").front().at("ServiceUniqueID"), "700-25");
    EXPECT_EQ(Route("07").meterCount, 25);
    EXPECT_EQ(Route("07").lastIndex, 24);
}

// A route the database failed to send stays asked for: marked downloaded, it
// would leave the reader an empty route that no sync fills.
TEST_F(SqlDownloadTest, FirstRouteAskedForBecomesCurrentEvenWhenItFails) {
    billing_->AddService("BAD", "A1", "001");
    billing_->AddService("800-0001", "A2", "001");
    RefusedRows refused(*billing_, "WexalSelectedRoute", "ServiceUniqueID <> 'BAD'");
    PutRoute({"A1", "D"});
    PutRoute({"01", "R", 3, 0, 0, 2});
    PutRoute({"A2", "D"});
    EXPECT_EQ(Sync(), 0);
    EXPECT_EQ(boxes_, (Boxes{{"Error", "Error Downloading Route"}}));
    EXPECT_EQ(CurrentRoute(), "A1");
    EXPECT_EQ(Route("A1").status, "D");
    EXPECT_THAT(Meters("A1"), IsEmpty());
    EXPECT_EQ(Route("A2").status, "R");
    EXPECT_EQ(Route("A2").meterCount, 1);
    // A route with another status is left alone.
    EXPECT_EQ(Route("01").meterCount, 3);
    EXPECT_FALSE(HasMeterDatabase("01"));
}

TEST_F(SqlDownloadTest, RouteNameReachesTheProcedureAsData) {
    const std::string hostile = "1); DROP TABLE WexalReading; --";
    const std::string quoted = "');DROP TABLE WexalReading";
    billing_->AddService("900-0001", quoted, "001");
    PutRoute({"12 A", "D"});
    PutRoute({hostile, "D"});
    PutRoute({quoted, "D"});
    EXPECT_EQ(Sync(), 0);
    EXPECT_THAT(boxes_, IsEmpty());
    EXPECT_EQ(billing_->Scalar("SELECT count(*) FROM WexalReading"), "0");
    EXPECT_THAT(Field("12 A", "ServiceUniqueID"), ElementsAre("300-0001"));
    EXPECT_THAT(Field(quoted, "ServiceUniqueID"), ElementsAre("900-0001"));
    // Too long a name for a meter database: nothing stored, still asked for.
    EXPECT_EQ(Route(hostile).status, "D");
    EXPECT_EQ(Route(hostile).meterCount, 0);
}

// A route whose meter database would be the route list is refused, listed
// or asked for: the list and the routes around it stay whole.
TEST_F(SqlDownloadTest, RouteNamedAfterTheRouteListIsRefused) {
    billing_->AddService("DB-1", "DB", "001");
    PutRoute({"01", "R", 3, 0, 0, 2});
    PutRoute({"DB", "D", 4});
    PutRoute({"02", "D"});
    EXPECT_EQ(Sync(), 0);
    const std::string why = ": its meter database would be routeDB, the handheld's route list";
    EXPECT_THAT(SyncLogLines(),
                ElementsAre("22 Wexal - Route DB not listed" + why,
                            "22 Wexal - Route DB not downloaded" + why + "; it stays requested"));
    EXPECT_THAT(RouteNames(), ElementsAre("01", "DB", "02", "12 A"));
    EXPECT_EQ(Route("DB").status, "D");
    EXPECT_EQ(Route("DB").meterCount, 4);
    EXPECT_EQ(Route("01").meterCount, 3);
    EXPECT_EQ(Route("02").status, "R");
    EXPECT_EQ(Route("02").meterCount, 2);
    EXPECT_EQ(CurrentRoute(), "02");
}

// A route whose meters do not all reach the handheld is logged and stays
// asked for: listed as ready it would pass for a whole one.
struct RefusedMeterCase {
    const char* name;
    const char* route;
    int services;          // added to the route beside the sample ones
    std::uint32_t writes;  // meter writes the handheld takes; all when 0
    const char* logLine;
};

void PrintTo(const RefusedMeterCase& refusal, std::ostream* out) {
    *out << refusal.name;
}

class SqlRefusedMeterTest : public SqlDownloadTest,
                            public ::testing::WithParamInterface<RefusedMeterCase> {};

TEST_P(SqlRefusedMeterTest, RouteIsLoggedAndStaysAskedFor) {
    const RefusedMeterCase& refusal = GetParam();
    billing_->Execute(
        "INSERT INTO BillingService (ServiceUniqueID, RouteBook, RouteSequence) "
        "SELECT 'X' || n, '" +
        std::string(refusal.route) + "', lpad(n::text, 6, '0') FROM generate_series(1, " +
        std::to_string(refusal.services) + ") n");
    PutRoute({refusal.route, "D", 4});
    PutRoute({"02", "D"});
    {
        FailingWrites failing(std::string("route") + refusal.route,
                              refusal.writes == 0 ? UINT32_MAX : refusal.writes);
        EXPECT_EQ(Sync(), 0);
    }
    EXPECT_THAT(boxes_, IsEmpty());
    EXPECT_THAT(SyncLogLines(), ElementsAre(refusal.logLine));
    const RouteEntry route = Route(refusal.route);
    EXPECT_EQ(route.status, "D");
    EXPECT_EQ(route.meterCount, 4);
    // The next route is downloaded as usual.
    EXPECT_EQ(Route("02").status, "R");
    EXPECT_EQ(Route("02").meterCount, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, SqlRefusedMeterTest,
    ::testing::Values(
        RefusedMeterCase{"MoreMetersThanADatabaseHolds", "70", 70000, 0,
                         "22 Wexal - Route 70 not downloaded: it holds more meters than a "
                         "handheld database can (65535)"},
        RefusedMeterCase{"AMeterTheHandheldRefuses", "01", 0, 2,
                         "22 Wexal - Route 01 not downloaded: the handheld refused its meter "
                         "100-0003"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SqlDownloadTest, MetersTheHandheldCannotSaveLeaveTheRouteAskedFor) {
    PutRoute({"01", "D"});
    {
        FailingSaves full("route01", 1);
        EXPECT_EQ(Sync(), 0);
    }
    EXPECT_EQ(Route("01").status, "D");
    EXPECT_EQ(Route("01").meterCount, 0);
    EXPECT_THAT(Meters("01"), IsEmpty());
}

}  // namespace
}  // namespace wexal::testing
