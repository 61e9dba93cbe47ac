#include "tests/sql/BillingDatabase.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/ado/AdoError.h"
#include "platform/ado/Command.h"
#include "platform/ado/Connection.h"
#include "platform/ado/Recordset.h"
#include "tests/support/MissingDependency.h"

namespace wexal::testing {
namespace {

// Tables that tests may make refuse rows.
const char* const kRefusingTables[] = {"WexalRouteList", "WexalSelectedRoute", "WexalReading",
                                       "WexalReadingAlternate", "BillingReading"};

std::string FirstLine(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

}  // namespace

std::string BillingUnavailableReason() {
    const char* odbcIni = std::getenv("ODBCINI");
    if (odbcIni == nullptr || *odbcIni == '\0') {
        return "ODBCINI is not set: run the database tests through ctest, whose fixture starts "
               "PostgreSQL (tests/sql/postgres-fixture.sh)";
    }
    const std::filesystem::path file(odbcIni);
    if (std::filesystem::exists(file)) {
        return {};
    }
    const std::filesystem::path why = file.parent_path() / "unavailable";
    if (std::filesystem::exists(why)) {
        return "PostgreSQL could not be started here: " + FirstLine(why);
    }
    return "no data source file " + file.string() + " (the PostgreSQL fixture did not run)";
}

std::u16string Wide(std::string_view utf8) {
    std::u16string wide;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        const int extra = byte < 0x80 ? 0 : byte < 0xE0 ? 1 : byte < 0xF0 ? 2 : 3;
        char32_t point = extra == 0 ? byte : byte & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < utf8.size(); ++k) {
            point = (point << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        i += extra + 1;
        if (point >= 0x10000) {
            point -= 0x10000;
            wide += static_cast<char16_t>(0xD800 + (point >> 10));
            wide += static_cast<char16_t>(0xDC00 + (point & 0x3FF));
        } else {
            wide += static_cast<char16_t>(point);
        }
    }
    return wide;
}

std::string Utf8(const std::u16string& wide) {
    return ado::ToUtf8(wide);
}

std::u16string BillingConnectString() {
    return Wide(std::string("DSN=") + kBillingDsn + ";UID=" + kBillingUser +
                ";PWD=" + kBillingPassword + ";");
}

BillingDatabase::BillingDatabase() : connection_(std::make_shared<ado::Connection>()) {
    connection_->Open(BillingConnectString());
}

BillingDatabase::~BillingDatabase() = default;

void BillingDatabase::Execute(const std::string& sql, const std::vector<ado::Value>& parameters) {
    ado::Command command;
    command.SetActiveConnection(connection_);
    command.SetCommandText(Wide(sql));
    for (const auto& parameter : parameters) {
        command.AppendParameter(parameter);
    }
    command.Execute();
}

std::vector<std::vector<std::string>> BillingDatabase::Rows(const std::string& sql) {
    ado::Recordset recordset;
    recordset.Open(Wide(sql), connection_);
    ado::Fields fields = recordset.GetFields();
    std::vector<std::vector<std::string>> rows;
    for (; !recordset.IsEOF(); recordset.MoveNext()) {
        std::vector<std::string> row;
        for (std::size_t i = 0; i < fields.Count(); ++i) {
            const ado::Value value = fields.ItemAt(i).GetValue();
            row.push_back(value ? Utf8(*value) : "<NULL>");
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string BillingDatabase::Scalar(const std::string& sql) {
    const auto rows = Rows(sql);
    if (rows.size() != 1 || rows[0].size() != 1) {
        throw std::runtime_error("not one value: " + sql);
    }
    return rows[0][0];
}

void BillingDatabase::Begin() {
    connection_->BeginTrans();
}

void BillingDatabase::Commit() {
    connection_->CommitTrans();
}

void BillingDatabase::Reset() {
    for (const char* table : kRefusingTables) {
        Execute(std::string("ALTER TABLE ") + table + " DROP CONSTRAINT IF EXISTS test_refuse");
    }
    Execute(
        "TRUNCATE WexalRouteList, WexalSelectedRoute, WexalReading, WexalReadingAlternate, "
        "BillingReading, BillingService RESTART IDENTITY");
    Execute("INSERT INTO BillingService SELECT * FROM SampleBillingService");
}

void BillingDatabase::AddService(const std::string& id, const std::string& route,
                                 const std::string& sequence, const std::string& message) {
    Execute(
        "INSERT INTO BillingService (ServiceUniqueID, RouteBook, RouteSequence, MeterTagNbr, "
        "BillingName, Message, PrvReading) VALUES (?, ?, ?, ?, ?, ?, '100')",
        {Wide(id), Wide(route), Wide(sequence), Wide("T" + id), Wide("Name " + id),
         message.empty() ? ado::Value() : ado::Value(Wide(message))});
}

RefusedRows::RefusedRows(BillingDatabase& database, std::string table, const std::string& condition)
    : database_(database), table_(std::move(table)) {
    database_.Execute("ALTER TABLE " + table_ + " ADD CONSTRAINT test_refuse CHECK (" + condition +
                      ") NOT VALID");
}

RefusedRows::~RefusedRows() {
    try {
        database_.Execute("ALTER TABLE " + table_ + " DROP CONSTRAINT IF EXISTS test_refuse");
    } catch (const ado::AdoError&) {
        // Reset drops it before the next test.
    }
}

void BillingDatabaseTest::SetUp() {
    if (const std::string reason = BillingUnavailableReason(); !reason.empty()) {
        WEXAL_MISSING_DEPENDENCY(reason);
    }
    billing_ = std::make_unique<BillingDatabase>();
    billing_->Reset();
}

}  // namespace wexal::testing
