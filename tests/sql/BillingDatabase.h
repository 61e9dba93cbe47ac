// The sample billing database of the test cluster (postgres-fixture.sh):
// whether it is there, its data source, and plain SQL on it for setting up
// and checking tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ado/Value.h"

namespace wexal::ado {
class Connection;
}

namespace wexal::testing {

inline constexpr const char* kBillingDsn = "WexalBilling";
inline constexpr const char* kBillingUser = "reader";
inline constexpr const char* kBillingPassword = "meters";

// Empty when the database is there; otherwise why not.
std::string BillingUnavailableReason();

// UTF-8 to the wide texts of the database objects, and back.
std::u16string Wide(std::string_view utf8);
std::string Utf8(const std::u16string& wide);

// The connection string of the sample data source.
std::u16string BillingConnectString();

// A connection of its own to the billing database.
class BillingDatabase {
  public:
    BillingDatabase();
    ~BillingDatabase();
    BillingDatabase(const BillingDatabase&) = delete;
    BillingDatabase& operator=(const BillingDatabase&) = delete;

    // Runs SQL; fails the test (by throwing) when it fails.
    void Execute(const std::string& sql, const std::vector<ado::Value>& parameters = {});
    // The rows of a query, each column as UTF-8 text, NULL as "<NULL>".
    std::vector<std::vector<std::string>> Rows(const std::string& sql);
    // The one value of a query that gives one.
    std::string Scalar(const std::string& sql);
    // Statements between them take effect together (and hold their locks).
    void Begin();
    void Commit();

    // The sample data and nothing else: no readings, no route selected, no
    // test constraints.
    void Reset();

    // Adds a service (a meter) of the billing system.
    void AddService(const std::string& id, const std::string& route, const std::string& sequence,
                    const std::string& message = "note");

  private:
    std::shared_ptr<ado::Connection> connection_;
};

// While alive, `table` refuses rows for which `condition` is false
// (a CHECK constraint named test_refuse; Reset drops it too).
class RefusedRows {
  public:
    RefusedRows(BillingDatabase& database, std::string table, const std::string& condition);
    ~RefusedRows();
    RefusedRows(const RefusedRows&) = delete;
    RefusedRows& operator=(const RefusedRows&) = delete;

  private:
    BillingDatabase& database_;
    std::string table_;
};

// A test on the billing database: skipped with the reason when it is not
// there (failed under CI), and starting from the sample data.
class BillingDatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override;

    std::unique_ptr<BillingDatabase> billing_;
};

}  // namespace wexal::testing
