// How the SQL link's failures end a sync: each is named in the sync log as a
// failure that the sync manager counts, so that the sync ends as one with
// errors; and a database that does not answer is given up on, its readings
// kept for the next sync.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "platform/ado/AdoError.h"
#include "platform/ado/ObjectFactory.h"
#include "tests/conduit/formats/SqlLinkTestBed.h"
#include "tests/sql/SilentDataSource.h"
#include "tests/support/Watchdog.h"
#include "tools/hotsync/LoggedFailures.h"

namespace wexal::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;
using Box = std::pair<std::string, std::string>;

class SqlFailureTest : public SqlLinkTest {
  protected:
    // The failures logged since the last call, as "activity text".
    std::vector<std::string> LoggedFailures() {
        SyncLogLines();
        std::vector<std::string> failures;
        for (; seen_ < bed_.Log().size(); ++seen_) {
            const synclog::Entry& entry = bed_.Log()[seen_];
            if (hotsync::IsFailure(entry)) {
                failures.push_back(std::to_string(entry.activity) + " " + entry.text);
            }
        }
        return failures;
    }

    // A route handed back with a reading and one asked for.
    void PutRoutesToExchange() {
        PutRoute({"01", "U"});
        PutMeters("01",
                  {{{"ServiceUniqueID", "100-0001"}, {"Status", "R"}, {"CurReading", "4300"}}});
        PutRoute({"02", "D"});
    }

    std::string Applied() {
        return billing_->Scalar(
            "SELECT string_agg(ServiceUniqueID || ' ' || Reading, ',') "
            "FROM BillingReading");
    }

    std::size_t seen_ = 0;
};

// Every failure box of the link, and a sync without one.
TEST_F(SqlFailureTest, EachFailureIsLoggedOnceAsOneThatEndsTheSyncWithErrors) {
    using Arrange = std::function<std::shared_ptr<void>(BillingDatabase&)>;
    const auto refusing = [](const char* table) -> Arrange {
        return [table](BillingDatabase& billing) {
            return std::make_shared<RefusedRows>(billing, table, "false");
        };
    };
    const auto unavailable = [](ado::ObjectClass objectClass) -> Arrange {
        return [objectClass](BillingDatabase&) {
            return std::make_shared<ado::UnavailableClass>(objectClass,
                                                           ado::kErrorClassNotAvailable);
        };
    };
    const struct {
        const char* name;
        Arrange arrange;
        std::string password;
        Box firstBox;         // empty: no box at all
        std::string failure;  // the logged failure's start; empty: none
        std::string detail;   // what else the failure's line says
    } cases[] = {
        {"all goes well", {}, kBillingPassword, {}, "", ""},
        {"wrong password",
         {},
         "not the password",
         {"Debug", "Connection Open Failed"},
         "21 SQL Interface: Connection Open Failed - ",
         "password authentication failed"},
        {"route list refused",
         refusing("WexalRouteList"),
         kBillingPassword,
         {"Error", "Error downloading routelist"},
         "21 SQL Interface: Error downloading routelist - ",
         "test_refuse"},
        {"readings refused",
         refusing("WexalReading"),
         kBillingPassword,
         {"Error", "Error Uploading Route"},
         "21 SQL Interface: Error Uploading Route - the readings of route 01 stay on the handheld",
         "test_refuse"},
        {"apply refused",
         refusing("BillingReading"),
         kBillingPassword,
         {"Error", "Error Applying Readings"},
         "21 SQL Interface: Error Applying Readings - ",
         "test_refuse"},
        {"download refused",
         refusing("WexalSelectedRoute"),
         kBillingPassword,
         {"Error", "Error Downloading Route"},
         "21 SQL Interface: Error Downloading Route - route 02: ",
         "test_refuse"},
        {"no command object",
         unavailable(ado::ObjectClass::Command),
         kBillingPassword,
         {"Error", "Received failure on CreateInstance(Command) return=-2147221005 (0x800401f3) "},
         "21 SQL Interface: Received failure on CreateInstance(Command)",
         ""},
        {"no connection object",
         unavailable(ado::ObjectClass::Connection),
         kBillingPassword,
         {},
         "21 SQL Interface: no connection object can be made - code -2147221005",
         ""},
    };
    int unit = 10;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        billing_->Reset();
        bed_.UseHandheld(bed_.AddHandheld("UNIT" + std::to_string(++unit)));
        bed_.BeginSession();
        LoggedFailures();
        boxes_.clear();
        PutRoutesToExchange();
        {
            const std::shared_ptr<void> arranged = c.arrange ? c.arrange(*billing_) : nullptr;
            Sync(c.password);
        }
        if (c.firstBox.first.empty()) {
            EXPECT_THAT(boxes_, IsEmpty());
        } else {
            ASSERT_FALSE(boxes_.empty());
            EXPECT_EQ(boxes_.front(), c.firstBox);
        }
        const std::vector<std::string> failures = LoggedFailures();
        if (c.failure.empty()) {
            EXPECT_THAT(failures, IsEmpty());
            continue;
        }
        ASSERT_EQ(failures.size(), 1u) << ::testing::PrintToString(failures);
        EXPECT_THAT(failures[0], StartsWith(c.failure));
        EXPECT_THAT(failures[0], HasSubstr(c.detail));
    }
}

// A server that accepts the connection and never answers, then a table of
// readings that another session holds locked: each sync gives up with the
// link's failure box and a logged failure, and the readings wait on the
// handheld until the database answers again.
TEST_F(SqlFailureTest, DatabaseThatDoesNotAnswerIsGivenUpOnAndTheReadingsWait) {
    const Watchdog watchdog("a sync with a database that does not answer", std::chrono::minutes(2));
    const ado::ShortenedTimeouts shortened(2, 1);
    PutRoutesToExchange();
    {
        const SilentDataSource silent;
        EXPECT_EQ(Sync(kBillingPassword, SilentDataSource::kName), 0);
    }
    EXPECT_EQ(boxes_, (Boxes{{"Debug", "Connection Open Failed"}}));
    std::vector<std::string> failures = LoggedFailures();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_THAT(failures[0], StartsWith("21 SQL Interface: Connection Open Failed - "));
    EXPECT_THAT(failures[0], HasSubstr("timeout expired"));
    EXPECT_EQ(Route("01").status, "U");

    BillingDatabase office;
    office.Begin();
    office.Execute("LOCK TABLE WexalReading IN ACCESS EXCLUSIVE MODE");
    boxes_.clear();
    EXPECT_EQ(Sync(), 0);
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[0], (Box{"Error", "Error Uploading Route"}));
    EXPECT_THAT(boxes_[1].second, HasSubstr("statement timeout"));
    failures = LoggedFailures();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_THAT(failures[0], StartsWith("21 SQL Interface: Error Uploading Route - the readings "
                                        "of route 01 stay on the handheld"));
    EXPECT_EQ(Route("01").status, "U");
    // The download did not wait on the lock.
    EXPECT_EQ(Route("02").status, "R");

    office.Commit();
    boxes_.clear();
    EXPECT_EQ(Sync(), 0);
    EXPECT_THAT(boxes_, IsEmpty());
    EXPECT_THAT(LoggedFailures(), IsEmpty());
    EXPECT_EQ(Applied(), "100-0001 4300");
    EXPECT_EQ(Route("01").status, "N");
}

}  // namespace
}  // namespace wexal::testing
