// Whole syncs of the SQL road at scale, on a throwaway PostgreSQL cluster
// that this program starts (the test fixture, tests/sql/postgres-fixture.sh:
// the sample billing database, its server run as the postgres user, so this
// runs as root) and stops. For each size N billing services are spread over
// 10 routes; the download sync takes the routes that the handheld asks for,
// every meter is read, and the upload sync stores the readings in
// WexalReading and applies them. Beside them the same N reading rows go into
// WexalReading through the same driver, in one transaction, with parameter
// arrays (1,000 rows an execution) and with COPY from a file: the anchors of
// the same run. Each step runs in a process of its own and its peak memory
// is taken from its exit.
//
//   sql_sync_bench [--readings N[,N...]]      default 10000,100000
#include <sql.h>
#include <sqlext.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bench/BenchChild.h"
#include "bench/BenchHandheld.h"
#include "conduit/HHRoute.h"
#include "conduit/formats/WexalIfcOdbc.h"
#include "platform/ado/Command.h"
#include "platform/ado/Connection.h"
#include "platform/ado/Recordset.h"

namespace {

namespace fs = std::filesystem;
using wexal::bench::ChildRun;
using Clock = std::chrono::steady_clock;

constexpr int kRoutes = 10;
constexpr const char* kDsn = "WexalBilling";
constexpr const char* kUser = "reader";
constexpr const char* kPassword = "meters";
// The cluster's superuser has the same password; COPY from a file needs it.
constexpr const char* kSuperUser = "postgres";

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string ConnectString(const char* user) {
    return std::string("DSN=") + kDsn + ";UID=" + user + ";PWD=" + kPassword + ";";
}

// --- The cluster ---------------------------------------------------------------

std::string g_fixtureState;

void StopCluster() {
    if (!g_fixtureState.empty()) {
        const std::string command = "bash '" WEXAL_SOURCE_DIR
                                    "/tests/sql/postgres-fixture.sh' stop '" +
                                    g_fixtureState + "' >/dev/null 2>&1";
        (void)!std::system(command.c_str());
        g_fixtureState.clear();
    }
}

void StopOnSignal(int signal) {
    StopCluster();
    std::_Exit(128 + signal);
}

// Starts the cluster; its folder, or empty when it cannot run here.
std::string StartCluster(const std::string& state) {
    g_fixtureState = state;
    std::atexit(StopCluster);
    std::signal(SIGINT, StopOnSignal);
    std::signal(SIGTERM, StopOnSignal);
    const std::string command =
        "bash '" WEXAL_SOURCE_DIR "/tests/sql/postgres-fixture.sh' start '" + state + "' >&2";
    if (std::system(command.c_str()) != 0 || fs::exists(state + "/unavailable")) {
        return {};
    }
    setenv("ODBCINI", (state + "/odbc.ini").c_str(), 1);
    std::ifstream cluster(state + "/cluster");
    std::string folder;
    std::getline(cluster, folder);
    return folder;
}

// Plain SQL as the billing user, on a connection of its own that is gone
// before any step forks.
std::string Sql(const std::string& text) {
    auto connection = std::make_shared<wexal::ado::Connection>();
    const std::string connect = ConnectString(kUser);
    connection->Open(std::u16string(connect.begin(), connect.end()));
    const std::u16string wide(text.begin(), text.end());
    if (text.starts_with("SELECT")) {
        wexal::ado::Recordset rows;
        rows.Open(wide, connection);
        const wexal::ado::Value value = rows.GetFields().ItemAt(0).GetValue();
        return value ? std::string(value->begin(), value->end()) : "";
    }
    wexal::ado::Command command;
    command.SetActiveConnection(connection);
    command.SetCommandText(wide);
    command.Execute();
    return {};
}

// --- The same rows as the upload stores ----------------------------------------

constexpr std::array<const char*, 19> kReadingColumns = {
    "HandHeldID",    "ServiceUniqueID", "MeterTagNbr",  "MeterSerialNbr", "MeterType",
    "RouteSequence", "Digits",          "CurReading",   "BillingName",    "ServiceAddress",
    "Message",       "Status",          "ResponseCode", "ResponseText",   "PrvReading",
    "MaxReading",    "MinReading",      "ReadingDate",  "ReadingTime"};

// The billing services: meter n on route 1 + (n - 1) % 10.
std::string ServicesSql(long readings) {
    return "INSERT INTO BillingService (ServiceUniqueID, RouteBook, RouteSequence, MeterTagNbr, "
           "MeterSerialNbr, BillingName, ServiceAddress, Message, PrvReading, MaxReading, "
           "MinReading) SELECT 'S' || lpad(n::text, 7, '0'), 'R' || lpad((1 + (n - 1) % " +
           std::to_string(kRoutes) +
           ")::text, 2, '0'), lpad(n::text, 6, '0'), 'T' || n, 'S' || n, 'CUSTOMER ' || n, n || ' "
           "MAIN STREET', 'BEWARE OF DOG', '5000', '9000', '1000' FROM generate_series(1, " +
           std::to_string(readings) + ") n";
}

// Reading n as the upload stores it: the fields cut to their columns.
std::array<std::string, 19> ReadingRow(long n) {
    char id[32];
    std::snprintf(id, sizeof id, "S%07ld", n);
    char sequence[32];
    std::snprintf(sequence, sizeof sequence, "%06ld", n);
    const std::string number = std::to_string(n);
    return {"BENCH",
            id,
            "T" + number,
            "S" + number,
            "W",
            std::string(sequence, 3),
            "0",
            "005123",
            "CUSTOMER " + number,
            number + " MAIN STREET",
            "BEWARE OF DOG",
            "R",
            "",
            "",
            "5000",
            "9000",
            "1000",
            "261209",
            "0930"};
}

std::string ColumnList() {
    std::string list;
    for (const char* column : kReadingColumns) {
        list += (list.empty() ? "" : ", ") + std::string(column);
    }
    return list;
}

// --- The anchors -----------------------------------------------------------------

bool Succeeded(SQLRETURN result, SQLSMALLINT type, SQLHANDLE handle, const char* what) {
    if (SQL_SUCCEEDED(result)) {
        return true;
    }
    SQLCHAR state[6] = {};
    SQLCHAR message[512] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    SQLGetDiagRec(type, handle, 1, state, &native, message, sizeof message, &length);
    std::fprintf(stderr, "  %s: %s %s\n", what, state, message);
    return false;
}

// A raw ODBC connection of the same driver, without autocommit.
struct OdbcConnection {
    SQLHENV environment = SQL_NULL_HENV;
    SQLHDBC connection = SQL_NULL_HDBC;
    SQLHSTMT statement = SQL_NULL_HSTMT;

    bool Open(const char* user) {
        SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment);
        SQLSetEnvAttr(environment, SQL_ATTR_ODBC_VERSION,
                      reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        SQLAllocHandle(SQL_HANDLE_DBC, environment, &connection);
        std::string text = ConnectString(user);
        if (!Succeeded(
                SQLDriverConnect(connection, nullptr, reinterpret_cast<SQLCHAR*>(text.data()),
                                 SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT),
                SQL_HANDLE_DBC, connection, "connect")) {
            return false;
        }
        SQLSetConnectAttr(connection, SQL_ATTR_AUTOCOMMIT,
                          reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0);
        SQLAllocHandle(SQL_HANDLE_STMT, connection, &statement);
        return true;
    }
    bool Commit() {
        return Succeeded(SQLEndTran(SQL_HANDLE_DBC, connection, SQL_COMMIT), SQL_HANDLE_DBC,
                         connection, "commit");
    }
};

// Parameter arrays: one prepared INSERT executed for 1,000 rows at a time.
bool InsertWithArrays(long readings, double& seconds) {
    constexpr SQLULEN kArray = 1000;
    constexpr SQLLEN kWidth = 64;
    const auto start = Clock::now();
    OdbcConnection db;
    if (!db.Open(kUser)) {
        return false;
    }
    std::string insert = "INSERT INTO WexalReading (" + ColumnList() + ") VALUES (?";
    for (std::size_t c = 1; c < kReadingColumns.size(); ++c) {
        insert += ", ?";
    }
    insert += ")";
    if (!Succeeded(SQLPrepare(db.statement, reinterpret_cast<SQLCHAR*>(insert.data()), SQL_NTS),
                   SQL_HANDLE_STMT, db.statement, "prepare")) {
        return false;
    }
    const std::size_t columns = kReadingColumns.size();
    std::vector<char> values(columns * kArray * kWidth);
    std::vector<SQLLEN> lengths(columns * kArray);
    SQLSetStmtAttr(db.statement, SQL_ATTR_PARAM_BIND_TYPE,
                   reinterpret_cast<SQLPOINTER>(SQL_PARAM_BIND_BY_COLUMN), 0);
    for (std::size_t c = 0; c < columns; ++c) {
        SQLBindParameter(db.statement, static_cast<SQLUSMALLINT>(c + 1), SQL_PARAM_INPUT,
                         SQL_C_CHAR, SQL_VARCHAR, kWidth - 1, 0, &values[c * kArray * kWidth],
                         kWidth, &lengths[c * kArray]);
    }
    for (long first = 1; first <= readings; first += static_cast<long>(kArray)) {
        const auto rows =
            static_cast<SQLULEN>(std::min<long>(static_cast<long>(kArray), readings - first + 1));
        for (SQLULEN r = 0; r < rows; ++r) {
            const auto row = ReadingRow(first + static_cast<long>(r));
            for (std::size_t c = 0; c < columns; ++c) {
                std::memcpy(&values[(c * kArray + r) * kWidth], row[c].c_str(), row[c].size() + 1);
                lengths[c * kArray + r] = static_cast<SQLLEN>(row[c].size());
            }
        }
        SQLSetStmtAttr(db.statement, SQL_ATTR_PARAMSET_SIZE, reinterpret_cast<SQLPOINTER>(rows), 0);
        if (!Succeeded(SQLExecute(db.statement), SQL_HANDLE_STMT, db.statement, "execute")) {
            return false;
        }
    }
    const bool ok = db.Commit();
    seconds = Since(start);
    return ok;
}

// COPY from a CSV file of the rows, which the server reads itself.
bool InsertWithCopy(const std::string& file, double& seconds) {
    const auto start = Clock::now();
    OdbcConnection db;
    if (!db.Open(kSuperUser)) {
        return false;
    }
    std::string copy =
        "COPY WexalReading (" + ColumnList() + ") FROM '" + file + "' WITH (FORMAT csv)";
    const bool ok =
        Succeeded(SQLExecDirect(db.statement, reinterpret_cast<SQLCHAR*>(copy.data()), SQL_NTS),
                  SQL_HANDLE_STMT, db.statement, "copy") &&
        db.Commit();
    seconds = Since(start);
    return ok;
}

void WriteCsv(const std::string& file, long readings) {
    std::ofstream out(file);
    for (long n = 1; n <= readings; ++n) {
        const auto row = ReadingRow(n);
        for (std::size_t c = 0; c < row.size(); ++c) {
            out << (c == 0 ? "" : ",") << '"' << row[c] << '"';
        }
        out << '\n';
    }
}

// --- The syncs -------------------------------------------------------------------

// The SQL road of one sync, as the sync driver runs it.
void RunLink() {
    WexalIfc_ODBC link;
    link.SetParameter("DSN", kDsn);
    link.SetParameter("UID", kUser);
    link.SetParameter("PWD", kPassword);
    link.Run();
}

// One sync; its log lines go to the error output.
void Sync(const fs::path& handheld) {
    for (const std::string& line : wexal::bench::InSession(handheld, RunLink)) {
        std::fprintf(stderr, "  log: %s\n", line.c_str());
    }
}

// The meters listed ready on the handheld.
long MetersListed(const fs::path& handheld) {
    long meters = 0;
    wexal::bench::InSession(handheld, [&] {
        HHRoute routes;
        routes.Open();
        for (std::uint32_t r = 0; r < routes.RecordCount(); ++r) {
            routes.ReadByIndex(static_cast<std::uint16_t>(r));
            meters += routes.Status == "R" ? routes.MeterCount : 0;
        }
        routes.Close();
    });
    return meters;
}

struct Row {
    ChildRun download;
    ChildRun upload;
    ChildRun arrays;
    ChildRun copy;
};

bool Expect(const std::string& query, long expected, const char* what) {
    const std::string found = Sql(query);
    if (found == std::to_string(expected)) {
        return true;
    }
    std::fprintf(stderr, "  %s: %s of %ld\n", what, found.c_str(), expected);
    return false;
}

bool Measure(long readings, const std::string& cluster, Row& row) {
    Sql("TRUNCATE BillingReading, BillingService, WexalReading, WexalReadingAlternate, "
        "WexalSelectedRoute, WexalRouteList");
    Sql(ServicesSql(readings));
    Sql("ANALYZE BillingService");
    wexal::bench::ScratchFolder scratch;
    const fs::path handheld = fs::path(scratch.Path()) / "handheld";
    wexal::bench::MakeHandheld(handheld);

    // The first sync lists the routes; the reader asks for every one.
    bool ok = wexal::bench::RunForked([&](double&) {
                  Sync(handheld);
                  wexal::bench::SetEveryRoute(handheld, "D");
                  return true;
              }).ok;
    row.download = wexal::bench::RunForked([&](double& seconds) {
        const auto start = Clock::now();
        Sync(handheld);
        seconds = Since(start);
        return MetersListed(handheld) == readings;
    });
    ok = wexal::bench::RunForked([&](double&) {
             return wexal::bench::ReadEveryMeter(handheld) == readings;
         }).ok &&
         ok;
    row.upload = wexal::bench::RunForked([&](double& seconds) {
        const auto start = Clock::now();
        Sync(handheld);
        seconds = Since(start);
        return true;
    });
    ok = Expect("SELECT count(*) FROM BillingReading", readings, "readings applied") && ok;

    row.arrays = wexal::bench::RunForked(
        [&](double& seconds) { return InsertWithArrays(readings, seconds); });
    ok = Expect("SELECT count(*) FROM WexalReading", readings, "rows by parameter arrays") && ok;
    Sql("TRUNCATE WexalReading");

    const std::string csv = cluster + "/readings.csv";
    WriteCsv(csv, readings);
    chmod(csv.c_str(), 0644);
    row.copy =
        wexal::bench::RunForked([&](double& seconds) { return InsertWithCopy(csv, seconds); });
    ok = Expect("SELECT count(*) FROM WexalReading", readings, "rows by COPY") && ok;
    Sql("TRUNCATE WexalReading");
    fs::remove(csv);
    return ok && row.download.ok && row.upload.ok && row.arrays.ok && row.copy.ok;
}

int Usage() {
    std::fprintf(stderr, "usage: sql_sync_bench [--readings N[,N...]]  (at most %d per route)\n",
                 65535);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<long> sizes = {10000, 100000};
    if (argc == 3 && std::strcmp(argv[1], "--readings") == 0) {
        sizes = wexal::bench::SizesFrom(argv[2]);
    } else if (argc != 1) {
        return Usage();
    }
    for (long size : sizes) {
        if (size > 65535L * kRoutes) {
            return Usage();
        }
    }
    if (sizes.empty()) {
        return Usage();
    }
    wexal::bench::ScratchFolder state;
    const std::string cluster = StartCluster(state.Path());
    if (cluster.empty()) {
        std::fprintf(stderr, "PostgreSQL cannot be started here (needs root and the server)\n");
        return 1;
    }

    std::printf(
        "%d routes; each step in a process of its own; MB = 10^6 bytes\n\n"
        "| readings | download s | download peak MB | upload s | upload readings/s | upload peak "
        "MB | arrays s | arrays peak MB | COPY s | upload / arrays |\n"
        "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n",
        kRoutes);
    std::fflush(stdout);
    bool ok = true;
    for (long size : sizes) {
        Row row;
        bool done = false;
        try {
            done = Measure(size, cluster, row);
        } catch (const std::exception& error) {
            // The cluster is stopped all the same.
            std::fprintf(stderr, "  %s\n", error.what());
        }
        ok = ok && done;
        std::printf("| %ld%s | %.3f | %.1f | %.3f | %.0f | %.1f | %.3f | %.1f | %.3f | %.2f |\n",
                    size, done ? "" : " (failed)", row.download.seconds,
                    wexal::bench::KiBToMegabytes(row.download.peakKiB), row.upload.seconds,
                    static_cast<double>(size) / row.upload.seconds,
                    wexal::bench::KiBToMegabytes(row.upload.peakKiB), row.arrays.seconds,
                    wexal::bench::KiBToMegabytes(row.arrays.peakKiB), row.copy.seconds,
                    row.upload.seconds / row.arrays.seconds);
        std::fflush(stdout);
    }
    StopCluster();
    return ok ? 0 : 1;
}
