// Connecting to the data source, giving up on one that does not answer, and
// transactions.
#include <gtest/gtest.h>

#include "platform/ado/Command.h"
#include "platform/ado/Connection.h"
#include "platform/ado/Recordset.h"
#include "tests/platform/ado/ErrorOf.h"
#include "tests/sql/BillingDatabase.h"
#include "tests/sql/SilentDataSource.h"
#include "tests/support/Watchdog.h"

namespace wexal::testing {
namespace {

using ado::AdoError;
using ado::Connection;

class ConnectionTest : public BillingDatabaseTest {
  protected:
    static std::shared_ptr<Connection> Connected() {
        auto connection = std::make_shared<Connection>();
        connection->Open(BillingConnectString());
        return connection;
    }

    static void Run(const std::shared_ptr<Connection>& connection, const std::string& sql) {
        ado::Command command;
        command.SetActiveConnection(connection);
        command.SetCommandText(Wide(sql));
        command.Execute();
    }

    std::string RouteCount() { return billing_->Scalar("SELECT count(*) FROM WexalRouteList"); }
};

TEST_F(ConnectionTest, OpensWithTheRightPasswordOnly) {
    EXPECT_TRUE(Connected()->IsOpen());

    Connection refused;
    const AdoError wrong = ErrorOf([&] {
        refused.Open(Wide(std::string("DSN=") + kBillingDsn + ";UID=" + kBillingUser + ";PWD=x;"));
    });
    EXPECT_EQ(wrong.Code(), ado::kErrorFailed);
    EXPECT_EQ(wrong.SqlState(), u"08001");
    EXPECT_NE(std::string(wrong.what()).find("password authentication failed"), std::string::npos)
        << wrong.what();
    EXPECT_FALSE(refused.IsOpen());

    const AdoError unknown = ErrorOf([&] { refused.Open(u"DSN=NoSuchSource;UID=a;PWD=b;"); });
    EXPECT_EQ(unknown.SqlState(), u"IM002");
    EXPECT_FALSE(refused.IsOpen());

    // A connection that failed can still be opened.
    refused.Open(BillingConnectString());
    EXPECT_TRUE(refused.IsOpen());
    EXPECT_EQ(ErrorOf([&] { refused.Open(BillingConnectString()); }).Code(), ado::kErrorObjectOpen);
    refused.Close();
    EXPECT_FALSE(refused.IsOpen());
}

// A server that never answers the login, and a table that another session
// holds locked: each call gives up after its timeout with the driver's
// diagnostics, and the connection serves again once the lock is gone.
TEST_F(ConnectionTest, DatabaseThatDoesNotAnswerIsGivenUpOn) {
    const Watchdog watchdog("a call on a database that does not answer", std::chrono::minutes(2));
    {
        const SilentDataSource silent;
        Connection connection;
        connection.SetConnectionTimeout(2);
        const AdoError error = ErrorOf([&] {
            connection.Open(Wide(std::string("DSN=") + SilentDataSource::kName +
                                 ";UID=" + kBillingUser + ";PWD=" + kBillingPassword + ";"));
        });
        EXPECT_EQ(error.SqlState(), u"08001");
        EXPECT_NE(std::string(error.what()).find("timeout expired"), std::string::npos)
            << error.what();
        EXPECT_FALSE(connection.IsOpen());
    }
    auto connection = Connected();
    connection->SetCommandTimeout(1);
    ado::Command command;
    command.SetActiveConnection(connection);
    command.SetCommandText(u"SELECT count(*) FROM WexalReading");
    command.SetCommandTimeout(1);
    ado::Recordset recordset;
    billing_->Begin();
    billing_->Execute("LOCK TABLE WexalReading IN ACCESS EXCLUSIVE MODE");
    EXPECT_EQ(ErrorOf([&] { command.Execute(); }).SqlState(), u"57014");
    EXPECT_EQ(
        ErrorOf([&] { recordset.Open(u"SELECT * FROM WexalReading", connection); }).SqlState(),
        u"57014");
    billing_->Commit();
    command.Execute();
    recordset.Open(u"SELECT * FROM WexalReading", connection);
    EXPECT_TRUE(recordset.IsEOF());
}

TEST_F(ConnectionTest, CommittedRowsAppearRolledBackOnesNever) {
    auto connection = Connected();
    connection->BeginTrans();
    Run(connection, "INSERT INTO WexalRouteList VALUES ('T1')");
    EXPECT_EQ(RouteCount(), "0");  // not yet visible to another connection
    connection->CommitTrans();
    EXPECT_EQ(RouteCount(), "1");

    connection->BeginTrans();
    Run(connection, "INSERT INTO WexalRouteList VALUES ('T2')");
    connection->RollbackTrans();
    EXPECT_FALSE(connection->InTransaction());
    // Without a transaction every statement stands on its own again.
    Run(connection, "INSERT INTO WexalRouteList VALUES ('T3')");
    EXPECT_EQ(billing_->Rows("SELECT RouteBook FROM WexalRouteList ORDER BY 1"),
              (std::vector<std::vector<std::string>>{{"T1"}, {"T3"}}));
}

TEST_F(ConnectionTest, UnfinishedTransactionIsRolledBack) {
    {
        auto connection = Connected();
        ado::Transaction transaction(*connection);
        Run(connection, "INSERT INTO WexalRouteList VALUES ('T1')");
    }
    {
        auto connection = Connected();
        connection->BeginTrans();
        Run(connection, "INSERT INTO WexalRouteList VALUES ('T2')");
        // Destroyed with the transaction open.
    }
    EXPECT_EQ(RouteCount(), "0");

    auto connection = Connected();
    {
        ado::Transaction transaction(*connection);
        Run(connection, "INSERT INTO WexalRouteList VALUES ('T3')");
        transaction.Commit();
    }
    EXPECT_EQ(RouteCount(), "1");
}

TEST_F(ConnectionTest, OneTransactionAtATime) {
    auto connection = Connected();
    EXPECT_EQ(ErrorOf([&] { connection->CommitTrans(); }).Code(), ado::kErrorNotAllowed);
    EXPECT_EQ(ErrorOf([&] { connection->RollbackTrans(); }).Code(), ado::kErrorNotAllowed);
    connection->BeginTrans();
    EXPECT_EQ(ErrorOf([&] { connection->BeginTrans(); }).Code(), ado::kErrorNotAllowed);
    EXPECT_TRUE(connection->InTransaction());
}

TEST_F(ConnectionTest, FailedCommitLeavesNothingAndEndsTheTransaction) {
    auto connection = Connected();
    Run(connection, "CREATE TEMP TABLE parent (id int PRIMARY KEY)");
    Run(connection,
        "CREATE TEMP TABLE child (id int REFERENCES parent DEFERRABLE INITIALLY DEFERRED)");
    connection->BeginTrans();
    Run(connection, "INSERT INTO WexalRouteList VALUES ('T1')");
    Run(connection, "INSERT INTO child VALUES (5)");  // checked only at the commit
    const AdoError error = ErrorOf([&] { connection->CommitTrans(); });
    EXPECT_EQ(error.SqlState(), u"23503") << error.what();
    EXPECT_FALSE(connection->InTransaction());
    EXPECT_EQ(RouteCount(), "0");

    Run(connection, "INSERT INTO WexalRouteList VALUES ('T2')");
    EXPECT_EQ(RouteCount(), "1");
}

}  // namespace
}  // namespace wexal::testing
