// The SQL link's parameters and connection string, without a database.
#include <gtest/gtest.h>

#include "conduit/formats/WexalIfcOdbc.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/ObjectFactory.h"
#include "platform/msgbox/MessageBox.h"
#include "tests/support/TempDir.h"

namespace wexal::testing {
namespace {

using Boxes = std::vector<std::pair<std::string, std::string>>;

TEST(SqlParameterTest, OnlyTheThreeNamesInTheirOwnCaseAreTaken) {
    WexalIfc_ODBC link;
    EXPECT_EQ(link.SetParameter("DSN", "Billing"), 0);
    EXPECT_EQ(link.SetParameter("UID", "reader"), 0);
    EXPECT_EQ(link.SetParameter("PWD", "secret"), 0);
    EXPECT_EQ(link.SetParameter("dsn", "Other"), -1);
    EXPECT_EQ(link.SetParameter("Server", "Other"), -1);
    EXPECT_EQ(link.SetParameter("DSN ", "Other"), -1);
    EXPECT_EQ(link.DSN, u"Billing");
    EXPECT_EQ(link.UID, u"reader");
    EXPECT_EQ(link.PWD, u"secret");

    EXPECT_EQ(link.SetParameter("DSN", ""), 0);
    EXPECT_EQ(link.DSN, u"");
    // UTF-8 as the configuration holds it; an older file's Windows-1252.
    EXPECT_EQ(link.SetParameter("PWD", "s\xC3\xA9\xE2\x82\xAC\xF0\x9F\x90\x95"), 0);
    EXPECT_EQ(link.PWD, u"s\u00E9\u20AC\U0001F415");
    EXPECT_EQ(link.SetParameter("PWD", "s\xE9\x80"), 0);
    EXPECT_EQ(link.PWD, u"s\u00E9\u20AC");
    EXPECT_TRUE(link.ConnectString.empty());
}

class SqlConnectionFailureTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteFile(dir_ / "odbc.ini", "");
        msgbox::SetCapture([this](const std::string& caption, const std::string& text) {
            boxes_.emplace_back(caption, text);
        });
    }
    void TearDown() override { msgbox::SetCapture({}); }

    TempDir dir_;
    // No data source is known.
    ScopedEnv odbcIni_{"ODBCINI", (dir_ / "odbc.ini").string()};
    Boxes boxes_;
};

TEST_F(SqlConnectionFailureTest, UnknownDataSourceShowsOneBox) {
    WexalIfc_ODBC link;
    link.SetParameter("DSN", "Billing");
    link.SetParameter("UID", "reader");
    EXPECT_EQ(link.Run(), 0);
    EXPECT_EQ(link.ConnectString, u"DSN=Billing;UID=reader;PWD=;");
    EXPECT_EQ(boxes_, (Boxes{{"Debug", "Connection Open Failed"}}));
}

TEST_F(SqlConnectionFailureTest, ParametersNeverSetLeaveTheirKeysEmpty) {
    WexalIfc_ODBC link;
    EXPECT_EQ(link.Run(), 0);
    EXPECT_EQ(link.ConnectString, u"DSN=;UID=;PWD=;");
}

TEST_F(SqlConnectionFailureTest, ValuesThatWouldBreakTheStringAreBraced) {
    WexalIfc_ODBC link;
    link.SetParameter("DSN", "Billing");
    link.SetParameter("UID", "reader");
    link.SetParameter("PWD", "a;b}c;DSN=Other");
    link.Run();
    EXPECT_EQ(link.ConnectString, u"DSN=Billing;UID=reader;PWD={a;b}}c;DSN=Other};");
}

TEST_F(SqlConnectionFailureTest, ConnectionThatCannotBeMadeShowsNothing) {
    ado::UnavailableClass unavailable(ado::ObjectClass::Connection, ado::kErrorClassNotAvailable);
    WexalIfc_ODBC link;
    link.SetParameter("DSN", "Billing");
    EXPECT_EQ(link.Run(), 0);
    EXPECT_TRUE(boxes_.empty());
}

}  // namespace
}  // namespace wexal::testing
