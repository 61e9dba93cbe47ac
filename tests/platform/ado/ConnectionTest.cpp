// Connecting to the data source, and transactions.
#include <gtest/gtest.h>

#include "platform/ado/Command.h"
#include "platform/ado/Connection.h"
#include "tests/platform/ado/ErrorOf.h"
#include "tests/sql/BillingDatabase.h"

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
