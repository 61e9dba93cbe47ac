// The SQL link's upload of readings, in whole syncs against the sample
// billing database.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <thread>

#include "platform/palm/SyncManager.h"
#include "tests/conduit/ReadFaults.h"
#include "tests/conduit/WriteFaults.h"
#include "tests/conduit/formats/SqlLinkTestBed.h"
#include "tests/support/WaitUntil.h"

namespace wexal::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using Rows = std::vector<std::vector<std::string>>;

const Boxes kApplyBoxes = {{"Error", "Error Applying Readings"},
                           {"Error", "Database constraints prohibited applying readings!"},
                           {"Error", "Appending readings to alternate table"}};

class SqlUploadTest : public SqlLinkTest {
  protected:
    // Readings applied by the billing system, by service.
    Rows Applied() {
        return billing_->Rows(
            "SELECT ServiceUniqueID, coalesce(Reading::text, '<none>'), ReadStatus, "
            "ResponseCode, HandHeldID FROM BillingReading ORDER BY ReadingId");
    }
    std::string Waiting() { return billing_->Scalar("SELECT count(*) FROM WexalReading"); }

    // A reading waiting from an earlier sync: it is applied when the apply
    // step runs.
    void LeaveEarlierReading() { HandIn(*billing_, "200-0002", "003400"); }

    static void HandIn(BillingDatabase& database, const std::string& service,
                       const std::string& reading) {
        database.Execute(
            "INSERT INTO WexalReading (HandHeldID, ServiceUniqueID, MeterTagNbr, MeterSerialNbr, "
            "MeterType, RouteSequence, Digits, CurReading, BillingName, ServiceAddress, Message, "
            "Status, ResponseCode, ResponseText, PrvReading, MaxReading, MinReading, ReadingDate, "
            "ReadingTime) VALUES ('UNIT09', ?, '', '', 'W', '020', '0', ?, '', '', '', 'R', '', "
            "'', '', '', '', '', '')",
            {Wide(service), Wide(reading)});
    }
};

TEST_F(SqlUploadTest, ReadingsOfAReturnedRouteAreStoredAndApplied) {
    PutRoute({"01", "U", 3, 0, 0, 2});
    PutMeters("01", {{{"ServiceUniqueID", "100-0001"}, {"Status", "R"}, {"CurReading", "004321"}},
                     {{"ServiceUniqueID", "100-0002"}, {"Status", "U"}},
                     {{"ServiceUniqueID", "100-0003"}, {"Status", "E"}, {"ResponseCode", "3"}}});
    EXPECT_EQ(Sync(), 0);
    EXPECT_THAT(boxes_, IsEmpty());
    EXPECT_EQ(Applied(), (Rows{{"100-0001", "4321", "R", "", "UNIT01"},
                               {"100-0003", "<none>", "E", "3", "UNIT01"}}));
    EXPECT_EQ(Waiting(), "0");
    EXPECT_EQ(billing_->Scalar("SELECT PrvReading FROM BillingService "
                               "WHERE ServiceUniqueID = '100-0001'"),
              "004321");
    EXPECT_EQ(Route("01").status, "N");
    // The readings stay on the handheld; the upload never writes meters.
    EXPECT_EQ(Meters("01").size(), 3u);
}

TEST_F(SqlUploadTest, EveryMeterButAnUnreadOneIsUploaded) {
    PutRoute({"01", "U"});
    PutMeters("01", {{{"ServiceUniqueID", "100-0001"}, {"Status", ""}},
                     {{"ServiceUniqueID", "100-0002"}, {"Status", "R"}},
                     {{"ServiceUniqueID", "100-0003"}, {"Status", "E"}},
                     {{"ServiceUniqueID", "200-0001"}, {"Status", "u"}},
                     {{"ServiceUniqueID", "200-0002"}, {"Status", "U"}},
                     {{"ServiceUniqueID", "300-0001"}, {"Status", "U "}}});
    EXPECT_EQ(Sync(), 0);
    EXPECT_EQ(billing_->Rows("SELECT ServiceUniqueID, ReadStatus FROM BillingReading "
                             "ORDER BY ReadingId"),
              (Rows{{"100-0001", ""},
                    {"100-0002", "R"},
                    {"100-0003", "E"},
                    {"200-0001", "u"},
                    {"300-0001", "U"}}));
}

TEST_F(SqlUploadTest, RowsHoldTheFieldsCutToTheirColumns) {
    // The billing system refuses them, so they stay in the alternate table
    // as the link stored them.
    RefusedRows refused(*billing_, "BillingReading", "false");
    PutRoute({"01", "U"});
    PutMeters("01", {{{"ServiceUniqueID", "100-0001-ABCDEFGHIJKLMN"},
                      {"MeterTagNbr", "T1001-ABCDEFGHIJ"},
                      {"MeterSerialNbr", "S88001"},
                      {"MeterType", "WX"},
                      {"RouteSequence", "0105"},
                      {"Digits", "06"},
                      {"PrvReading", "004210"},
                      {"MaxReading", "0044001"},
                      {"MinReading", "004215"},
                      {"CurReading", "1234567"},
                      {"ReadingDate", "1205269"},
                      {"ReadingTime", "09035"},
                      {"BillingName", std::string(75, 'B')},
                      {"ServiceAddress", "12 Elm Street"},
                      {"Message", "Caf\xE9 \x80"},
                      {"Status", "R"},
                      {"Intials", "JH"},
                      {"ResponseCode", "12"},
                      {"ResponseText", "Dog in yard"},
                      {"LstReadingDate", "110526"},
                      {"ReadType", "S"},
                      {"UserDef", "x"}}});
    EXPECT_EQ(Sync(), 0);
    EXPECT_EQ(boxes_, kApplyBoxes);
    EXPECT_EQ(billing_->Rows("SELECT HandHeldID, ServiceUniqueID, MeterTagNbr, MeterSerialNbr, "
                             "MeterType, RouteSequence, Digits, CurReading, BillingName, "
                             "ServiceAddress, Message, Status, ResponseCode, ResponseText, "
                             "PrvReading, MaxReading, MinReading, ReadingDate, ReadingTime "
                             "FROM WexalReadingAlternate"),
              (Rows{{"UNIT01", "100-0001-ABCDEFGHIJK", "T1001-ABCDEFGH", "S88001", "W", "010", "0",
                     "123456", std::string(60, 'B'), "12 Elm Street", "Caf\xC3\xA9 \xE2\x82\xAC",
                     "R", "1", "Dog in yard", "004210", "004400", "004215", "120526", "0903"}}));
}

TEST_F(SqlUploadTest, RouteWithoutReadMetersStillRunsTheApplyStep) {
    LeaveEarlierReading();
    PutRoute({"02", "U"});
    PutMeters("02", {{{"ServiceUniqueID", "200-0001"}, {"Status", "U"}}});
    EXPECT_EQ(Sync(), 0);
    EXPECT_EQ(Applied(), (Rows{{"200-0002", "3400", "R", "", "UNIT09"}}));
    EXPECT_EQ(Route("02").status, "N");
}

TEST_F(SqlUploadTest, NeighbouringReturnedRoutesAreBothUploaded) {
    PutRoute({"01", "U"});
    PutRoute({"02", "U"});
    PutRoute({"12 A", "M"});
    PutMeters("01", {{{"ServiceUniqueID", "100-0001"}, {"Status", "R"}, {"CurReading", "4300"}}});
    PutMeters("02", {{{"ServiceUniqueID", "200-0001"}, {"Status", "R"}, {"CurReading", "950"}}});
    PutMeters("12 A", {{{"ServiceUniqueID", "300-0001"}, {"Status", "R"}}});
    EXPECT_EQ(Sync(), 0);
    EXPECT_EQ(Applied(), (Rows{{"100-0001", "4300", "R", "", "UNIT01"},
                               {"200-0001", "950", "R", "", "UNIT01"}}));
    EXPECT_EQ(Route("01").status, "N");
    EXPECT_EQ(Route("02").status, "N");
    // "M" is not an SQL upload status.
    EXPECT_EQ(Route("12 A").status, "M");
}

TEST_F(SqlUploadTest, RouteListedTwiceWithoutIdsIsUploadedOnce) {
    PutRoute({"01", "U"});
    PutRoute({"01", "U"});
    PutMeters("01", {{{"ServiceUniqueID", "100-0001"}, {"Status", "R"}, {"CurReading", "4300"}}});
    bed_.EditRecords("routeDB", [](auto& records) {
        for (auto& record : records) {
            record.uniqueId = 0;
        }
    });
    EXPECT_EQ(Sync(), 0);
    EXPECT_EQ(Applied(), (Rows{{"100-0001", "4300", "R", "", "UNIT01"}}));
    std::vector<std::string> statuses;
    for (const RouteEntry& route : Routes()) {
        if (route.name == "01") {
            statuses.push_back(route.status);
        }
    }
    EXPECT_THAT(statuses, ElementsAre("N", "N"));
}

TEST_F(SqlUploadTest, RefusedApplyShowsThreeBoxesAndFallsBack) {
    PutRoute({"01", "U"});
    PutMeters("01", {{{"ServiceUniqueID", "100-0001"}, {"Status", "R"}, {"CurReading", "4300"}},
                     {{"ServiceUniqueID", "999-9999"}, {"Status", "R"}, {"CurReading", "12"}}});
    EXPECT_EQ(Sync(), 0);
    EXPECT_EQ(boxes_, kApplyBoxes);
    EXPECT_THAT(Applied(), IsEmpty());
    EXPECT_EQ(billing_->Rows("SELECT ServiceUniqueID FROM WexalReadingAlternate "
                             "ORDER BY ReadingId"),
              (Rows{{"100-0001"}, {"999-9999"}}));
    EXPECT_EQ(Waiting(), "0");
    EXPECT_EQ(Route("01").status, "N");
}

TEST_F(SqlUploadTest, FailedFallbackLeavesTheReadingsWaiting) {
    RefusedRows refused(*billing_, "WexalReadingAlternate", "false");
    PutRoute({"01", "U"});
    PutMeters("01", {{{"ServiceUniqueID", "999-9999"}, {"Status", "R"}}});
    EXPECT_EQ(Sync(), 0);
    Boxes expected = kApplyBoxes;
    expected.emplace_back("Error", "Error Applying Readings to Alternate Table");
    EXPECT_EQ(boxes_, expected);
    // Stored, neither applied nor set aside: still there for the office.
    EXPECT_EQ(Waiting(), "1");
    EXPECT_EQ(Route("01").status, "N");
}

// Two handhelds sync at once: one's readings arrive while the other's apply
// step waits for a lock. They wait for the next apply; none is removed
// unapplied.
TEST_F(SqlUploadTest, ReadingsHandedInDuringAnApplyWaitForTheNext) {
    struct Case {
        const char* apply;
        const char* hold;  // what the office holds that the apply step waits for
        const char* kept;  // where the first reading ends
    };
    const Case cases[] = {
        {"WexalApplyReadings",
         "UPDATE BillingService SET Message = Message WHERE ServiceUniqueID = '100-0001'",
         "BillingReading"},
        {"WexalFailReadings", "INSERT INTO WexalReadingAlternate SELECT * FROM WexalReading",
         "WexalReadingAlternate"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.apply);
        billing_->Reset();
        HandIn(*billing_, "100-0001", "004300");
        BillingDatabase office;
        office.Begin();
        office.Execute(c.hold);
        std::thread applying(
            [&c] { BillingDatabase().Execute(std::string("SELECT ") + c.apply + "()"); });
        BillingDatabase arriving;
        EXPECT_TRUE(WaitUntil([&] {
            return arriving.Scalar(
                       "SELECT count(*) FROM pg_stat_activity "
                       "WHERE wait_event_type = 'Lock'") != "0";
        })) << "the apply step never waited for the office's lock";
        HandIn(arriving, "200-0002", "003400");
        office.Commit();
        applying.join();
        EXPECT_EQ(billing_->Rows("SELECT ServiceUniqueID FROM WexalReading"), (Rows{{"200-0002"}}));
        EXPECT_EQ(billing_->Rows(std::string("SELECT ServiceUniqueID FROM ") + c.kept),
                  (Rows{{"100-0001"}}));
    }
}

TEST_F(SqlUploadTest, RouteWhoseRowsCannotAllBeStoredKeepsThemForTheNextSync) {
    LeaveEarlierReading();
    PutRoute({"01", "U"});
    PutMeters("01", {{{"ServiceUniqueID", "100-0001"}, {"Status", "R"}, {"CurReading", "4300"}},
                     {{"ServiceUniqueID", "100-0002"}, {"Status", "R"}, {"CurReading", "12900"}}});
    {
        RefusedRows refused(*billing_, "WexalReading", "ServiceUniqueID <> '100-0002'");
        EXPECT_EQ(Sync(), 0);
        ASSERT_EQ(boxes_.size(), 2u);
        EXPECT_EQ(boxes_[0],
                  (std::pair<std::string, std::string>{"Error", "Error Uploading Route"}));
        EXPECT_EQ(boxes_[1].first, "Error");
        EXPECT_THAT(boxes_[1].second, HasSubstr("test_refuse"));
        EXPECT_THAT(boxes_[1].second, ::testing::Not(::testing::EndsWith("\n")));
        // Nothing of the route is stored, and the apply step did not run.
        EXPECT_EQ(Waiting(), "1");
        EXPECT_THAT(Applied(), IsEmpty());
        EXPECT_EQ(Route("01").status, "U");
    }
    boxes_.clear();
    EXPECT_EQ(Sync(), 0);
    EXPECT_THAT(boxes_, IsEmpty());
    EXPECT_EQ(Applied(), (Rows{{"200-0002", "3400", "R", "", "UNIT09"},
                               {"100-0001", "4300", "R", "", "UNIT01"},
                               {"100-0002", "12900", "R", "", "UNIT01"}}));
    EXPECT_EQ(Route("01").status, "N");
}

TEST_F(SqlUploadTest, RouteWithAnUnreadableMeterKeepsItsReadings) {
    // No billing routes: the route list holds only the returned route, so
    // that only its meters have a record 1 to fail.
    billing_->Execute("TRUNCATE BillingReading, BillingService");
    PutRoute({"01", "U"});
    PutMeters("01", {{{"ServiceUniqueID", "100-0001"}, {"Status", "R"}},
                     {{"ServiceUniqueID", "100-0002"}, {"Status", "R"}}});
    {
        FailingRead failing(1, kSyncErrIo);
        EXPECT_EQ(Sync(), 0);
    }
    EXPECT_EQ(boxes_, (Boxes{{"Error", "Error Uploading Route"},
                             {"Error", "Error " + std::to_string(kSyncErrIo) +
                                           " occurred reading meter table"}}));
    EXPECT_EQ(Waiting(), "0");
    EXPECT_EQ(Route("01").status, "U");
}

// --- a sync killed between storing the readings and marking the route --------

struct KillCase {
    const char* name;
    std::vector<const char*> refusing;  // tables that refuse every reading
    const char* table;                  // where the readings end up
};

void PrintTo(const KillCase& kill, std::ostream* out) {
    *out << kill.name;
}

// The route-list record of `route` with route status `status`: four words,
// then the texts, the name first and the status last.
bool RouteRecordWith(const std::string& record, const std::string& route,
                     const std::string& status) {
    std::vector<std::string> texts;
    for (std::size_t at = 8; at < record.size();) {
        const std::size_t end = std::min(record.find('\0', at), record.size());
        texts.push_back(record.substr(at, end - at));
        at = end + 1;
    }
    return texts.size() == 5 && texts.front() == route && texts.back() == status;
}

class SqlUploadKillTest : public SqlUploadTest, public ::testing::WithParamInterface<KillCase> {
  protected:
    // One sync in a child process that kills itself just before the handheld
    // marks `route` uploaded: its readings have reached the database by then.
    void SyncKilledBeforeTheMark(const std::string& route) {
        bed_.EndSession();
        std::fflush(nullptr);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            KillAtWrite kill("routeDB", [route](const std::string& record) {
                return RouteRecordWith(record, route, "N");
            });
            if (SyncOpenSession(bed_.Handheld().c_str()) != kSyncErrNone) {
                _exit(3);
            }
            Sync();
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "the sync was not killed at the mark (status " << status << ")";
        bed_.BeginSession();
    }

    Rows ReadingsPerService(const std::string& table) {
        return billing_->Rows("SELECT ServiceUniqueID, count(*) FROM " + table +
                              " GROUP BY ServiceUniqueID ORDER BY ServiceUniqueID");
    }
};

// The next sync hands the same readings in again: each is kept once,
// wherever the billing system put it.
TEST_P(SqlUploadKillTest, EachReadingIsKeptOnceAfterTheRetry) {
    std::vector<std::unique_ptr<RefusedRows>> refusing;
    for (const char* table : GetParam().refusing) {
        refusing.push_back(std::make_unique<RefusedRows>(*billing_, table, "false"));
    }
    PutRoute({"01", "U"});
    PutMeters("01", {{{"ServiceUniqueID", "100-0001"},
                      {"Status", "R"},
                      {"CurReading", "004321"},
                      {"ReadingDate", "240315"},
                      {"ReadingTime", "0930"}},
                     {{"ServiceUniqueID", "100-0002"},
                      {"Status", "R"},
                      {"CurReading", "012999"},
                      {"ReadingDate", "240315"},
                      {"ReadingTime", "0931"}},
                     {{"ServiceUniqueID", "100-0003"},
                      {"Status", "E"},
                      {"ResponseCode", "3"},
                      {"ReadingDate", "240315"},
                      {"ReadingTime", "0932"}}});
    const Rows once = {{"100-0001", "1"}, {"100-0002", "1"}, {"100-0003", "1"}};

    const std::string previous =
        "SELECT PrvReading FROM BillingService WHERE ServiceUniqueID = '100-0001'";

    ASSERT_NO_FATAL_FAILURE(SyncKilledBeforeTheMark("01"));
    EXPECT_EQ(Route("01").status, "U");
    EXPECT_EQ(ReadingsPerService(GetParam().table), once);
    // A later reading that the office entered meanwhile.
    billing_->Execute(
        "UPDATE BillingService SET PrvReading = '004400' "
        "WHERE ServiceUniqueID = '100-0001'");

    EXPECT_EQ(Sync(), 0);
    EXPECT_EQ(Route("01").status, "N");
    EXPECT_EQ(ReadingsPerService(GetParam().table), once);
    EXPECT_EQ(billing_->Scalar(previous), "004400") << "a reading applied twice";
    for (const char* table : {"BillingReading", "WexalReadingAlternate", "WexalReading"}) {
        if (std::string(table) != GetParam().table) {
            EXPECT_EQ(billing_->Scalar(std::string("SELECT count(*) FROM ") + table), "0") << table;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, SqlUploadKillTest,
    ::testing::Values(
        KillCase{"Applied", {}, "BillingReading"},
        KillCase{"SetAside", {"BillingReading"}, "WexalReadingAlternate"},
        KillCase{"LeftWaiting", {"BillingReading", "WexalReadingAlternate"}, "WexalReading"}),
    [](const ::testing::TestParamInfo<KillCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace wexal::testing
