// Running SQL texts and procedure calls with bound text parameters (that
// they stay data shows in the link's download of a hostile route name).
#include <gtest/gtest.h>

#include "platform/ado/Command.h"
#include "platform/ado/Connection.h"
#include "tests/platform/ado/ErrorOf.h"
#include "tests/sql/BillingDatabase.h"

namespace wexal::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;

class CommandTest : public BillingDatabaseTest {
  protected:
    void SetUp() override {
        BillingDatabaseTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        connection_ = std::make_shared<ado::Connection>();
        connection_->Open(BillingConnectString());
    }

    void Execute(const std::u16string& text, const std::vector<ado::Value>& parameters = {}) {
        ado::Command command;
        command.SetActiveConnection(connection_);
        command.SetCommandText(text);
        for (const auto& parameter : parameters) {
            command.AppendParameter(parameter);
        }
        command.Execute();
    }

    std::shared_ptr<ado::Connection> connection_;
};

TEST_F(CommandTest, EmptyTextStaysApartFromNull) {
    Execute(
        u"INSERT INTO WexalSelectedRoute (ServiceUniqueID, Message, BillingName) "
        u"VALUES (?, ?, ?)",
        {u"", std::nullopt, u"Z\u00FCrich \u20AC \U0001F600"});
    EXPECT_EQ(billing_->Rows("SELECT ServiceUniqueID, Message, BillingName, "
                             "length(BillingName) FROM WexalSelectedRoute"),
              (Rows{{"", "<NULL>", "Z\xC3\xBCrich \xE2\x82\xAC \xF0\x9F\x98\x80", "10"}}));
}

TEST_F(CommandTest, CallOfAMissingProcedureRaisesTheDriversDiagnostics) {
    const ado::AdoError error = ErrorOf([&] { Execute(u"{Call NoSuchProcedure}"); });
    EXPECT_EQ(error.Code(), ado::kErrorFailed);
    EXPECT_EQ(error.SqlState(), u"42883");
    EXPECT_NE(std::string(error.what()).find("nosuchprocedure"), std::string::npos) << error.what();
    // The connection goes on working.
    Execute(u"{Call Build_WexalRouteList}");
    EXPECT_EQ(billing_->Scalar("SELECT count(*) FROM WexalRouteList"), "3");
}

TEST_F(CommandTest, StatementThatChangesNoRowSucceeds) {
    EXPECT_NO_THROW(Execute(u"DELETE FROM WexalReading"));
    EXPECT_NO_THROW(Execute(u"UPDATE BillingService SET Message = ? WHERE RouteBook = ?",
                            {u"x", u"no such route"}));
}

}  // namespace
}  // namespace wexal::testing
