// How the SQL link's failures end a sync: each is logged as a failure that
// the sync manager counts, so that the sync ends as one with errors; and a
// database that does not answer, or ends the session, is given up on at once,
// its readings kept.
#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>

#include "platform/ado/AdoError.h"
#include "platform/ado/ObjectFactory.h"
#include "tests/conduit/formats/SqlLinkTestBed.h"
#include "tests/support/TempDir.h"
#include "tests/support/Watchdog.h"
#include "tools/hotsync/LoggedFailures.h"

namespace wexal::testing {
namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

// While alive, the data source "Silent" names a server that accepts
// connections (the kernel completes them on a listening socket) and never
// answers.
class SilentDataSource {
  public:
    SilentDataSource() : socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        EXPECT_EQ(::bind(socket_, reinterpret_cast<sockaddr*>(&address), length), 0);
        EXPECT_EQ(::listen(socket_, 16), 0);
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
        std::ifstream known(std::getenv("ODBCINI"));
        WriteFile(dir_ / "odbc.ini", std::string(std::istreambuf_iterator<char>(known), {}) +
                                         "\n[Silent]\nDriver = PostgreSQL Unicode\nServername = "
                                         "127.0.0.1\nDatabase = billing\nPort = " +
                                         std::to_string(ntohs(address.sin_port)) + "\n");
    }
    ~SilentDataSource() { ::close(socket_); }

  private:
    int socket_;
    TempDir dir_;
    ScopedEnv odbcIni_{"ODBCINI", (dir_ / "odbc.ini").string()};
};

class SqlFailureTest : public SqlLinkTest {
  protected:
    // The failures logged since the last call, as "activity text".
    std::vector<std::string> LoggedFailures() {
        SyncLogLines();
        std::vector<std::string> failures;
        for (; seen_ < bed_.Log().size(); ++seen_) {
            if (hotsync::IsFailure(bed_.Log()[seen_])) {
                failures.push_back(std::to_string(bed_.Log()[seen_].activity) + " " +
                                   bed_.Log()[seen_].text);
            }
        }
        return failures;
    }

    // A route handed back with a reading, and one asked for.
    void PutRoutesToExchange() {
        PutRoute({"01", "U"});
        PutMeters("01",
                  {{{"ServiceUniqueID", "100-0001"}, {"Status", "R"}, {"CurReading", "4300"}}});
        PutRoute({"02", "D"});
    }

    std::size_t seen_ = 0;
};

TEST_F(SqlFailureTest, EachFailureIsLoggedOnceAsOneThatEndsTheSyncWithErrors) {
    using Arrange = std::function<std::shared_ptr<void>(BillingDatabase&)>;
    const auto refusing = [](const char* table) -> Arrange {
        return [table](BillingDatabase& b) {
            return std::make_shared<RefusedRows>(b, table, "false");
        };
    };
    const struct {
        Arrange arrange;
        std::string password;
        std::string firstBox;  // empty: no box
        std::string failure;   // the start of the one failure logged; empty: none
        std::string detail;    // what else its line says
    } cases[] = {
        {{}, kBillingPassword, "", "", ""},
        {{},
         "wrong",
         "Connection Open Failed",
         "21 SQL Interface: Connection Open Failed - ",
         "password authentication failed"},
        {refusing("WexalRouteList"), kBillingPassword, "Error downloading routelist",
         "21 SQL Interface: Error downloading routelist - ", "test_refuse"},
        {refusing("WexalReading"), kBillingPassword, "Error Uploading Route",
         "21 SQL Interface: Error Uploading Route - the readings of route 01 stay on the handheld",
         "test_refuse"},
        {refusing("BillingReading"), kBillingPassword, "Error Applying Readings",
         "21 SQL Interface: Error Applying Readings - ", "test_refuse"},
        {refusing("WexalSelectedRoute"), kBillingPassword, "Error Downloading Route",
         "21 SQL Interface: Error Downloading Route - route 02: ", "test_refuse"},
        {[](BillingDatabase&) {
             return std::make_shared<ado::UnavailableClass>(ado::ObjectClass::Connection,
                                                            ado::kErrorClassNotAvailable);
         },
         kBillingPassword, "",
         "21 SQL Interface: no connection object can be made - code -2147221005", ""},
    };
    int unit = 10;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.firstBox + c.failure);
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
        EXPECT_EQ(boxes_.empty() ? "" : boxes_.front().second, c.firstBox);
        const std::vector<std::string> failures = LoggedFailures();
        EXPECT_EQ(failures.size(), c.failure.empty() ? 0u : 1u);
        for (const std::string& failure : failures) {
            EXPECT_THAT(failure, StartsWith(c.failure));
            EXPECT_THAT(failure, HasSubstr(c.detail));
        }
    }
}

// A server that never answers, readings locked by another session, then a
// session that the database ends while it applies readings: each sync gives
// up at the first such failure (its box, its logged failure, one line for the
// routes that wait) and sends nothing more; the readings wait on the
// handheld, or in WexalReading once stored, until the database answers again.
TEST_F(SqlFailureTest, DatabaseThatDoesNotAnswerIsGivenUpOnAndTheReadingsWait) {
    const Watchdog watchdog("a sync with a database that does not answer", std::chrono::minutes(2));
    const ado::ShortenedTimeouts shortened(2, 1);
    PutRoutesToExchange();
    PutRoute({"12 A", "U"});
    PutMeters("12 A", {{{"ServiceUniqueID", "300-0001"}, {"Status", "R"}, {"CurReading", "7750"}}});
    PutRoute({"03", "U"});
    PutMeters("03", {{{"ServiceUniqueID", "100-0003"}, {"Status", "R"}, {"CurReading", "55100"}}});
    const auto statuses = [this] {
        std::vector<std::string> found;
        for (const RouteEntry& route : Routes()) {
            found.push_back(route.name + " " + route.status);
        }
        return found;
    };
    const std::vector<std::string> untouched = {"01 U", "02 D", "12 A U", "03 U"};
    {
        const SilentDataSource silent;
        EXPECT_EQ(Sync(kBillingPassword, "Silent"), 0);
    }
    EXPECT_EQ(boxes_, (Boxes{{"Debug", "Connection Open Failed"}}));
    EXPECT_THAT(LoggedFailures(),
                ElementsAre(AllOf(StartsWith("21 SQL Interface: Connection Open Failed - "),
                                  HasSubstr("timeout expired"))));
    EXPECT_EQ(statuses(), untouched);

    BillingDatabase office;
    office.Begin();
    office.Execute("LOCK TABLE WexalReading IN ACCESS EXCLUSIVE MODE");
    boxes_.clear();
    EXPECT_EQ(Sync(), 0);
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[0].second, "Error Uploading Route");
    EXPECT_THAT(boxes_[1].second, HasSubstr("statement timeout"));
    EXPECT_THAT(LoggedFailures(),
                ElementsAre(StartsWith("21 SQL Interface: Error Uploading Route - "
                                       "the readings of route 01 stay"),
                            "21 SQL Interface: The database did not answer - 3 routes to upload "
                            "and 1 to download wait for the next HotSync"));
    EXPECT_EQ(statuses(), untouched);
    office.Commit();

    boxes_.clear();
    {
        // Route 01's readings are stored; their apply ends the session.
        const RefusedRows endsSession(*billing_, "BillingReading",
                                      "pg_terminate_backend(pg_backend_pid())");
        EXPECT_EQ(Sync(), 0);
    }
    EXPECT_EQ(boxes_, (Boxes{{"Error", "Error Applying Readings"}}));
    EXPECT_THAT(LoggedFailures(),
                ElementsAre(AllOf(StartsWith("21 SQL Interface: Error Applying Readings - "),
                                  HasSubstr("terminating connection")),
                            "21 SQL Interface: The database did not answer - 2 routes to upload "
                            "and 1 to download wait for the next HotSync"));
    EXPECT_EQ(statuses(), (std::vector<std::string>{"01 N", "02 D", "12 A U", "03 U"}));
    EXPECT_EQ(billing_->Scalar("SELECT (SELECT count(*) FROM WexalReading) || ' ' || "
                               "(SELECT count(*) FROM WexalReadingAlternate)"),
              "1 0");

    boxes_.clear();
    EXPECT_EQ(Sync(), 0);
    EXPECT_THAT(boxes_, IsEmpty());
    EXPECT_THAT(LoggedFailures(), IsEmpty());
    EXPECT_EQ(billing_->Rows("SELECT ServiceUniqueID, Reading FROM BillingReading ORDER BY 1"),
              (std::vector<std::vector<std::string>>{
                  {"100-0001", "4300"}, {"100-0003", "55100"}, {"300-0001", "7750"}}));
    EXPECT_EQ(statuses(), (std::vector<std::string>{"01 N", "02 R", "12 A N", "03 N"}));
}

}  // namespace
}  // namespace wexal::testing
