// The handheld's texts and the billing files' are Windows-1252: on every road
// they reach the sync log and the message boxes as UTF-8.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/text/Utf8.h"
#include "tests/conduit/ExcelOffice.h"
#include "tests/conduit/TextFileOffice.h"
#include "tests/sql/BillingDatabase.h"

namespace wexal::testing {
namespace {

using LogTextTest = BillingDatabaseTest;
const std::string kZoe = "Zo\xEB";

TEST_F(LogTextTest, BillingAndHandheldTextsAreLoggedInUtf8) {
    const struct {
        const char* place;
        std::function<std::vector<std::string>(BillingDatabase&)> sync;  // its log lines
        std::vector<std::string> shown;
    } cases[] = {
        {"file names of a folder scan, in either character set",
         [](BillingDatabase&) {
             TextFileOffice office("CONNEKT");
             const std::filesystem::path folder = office.Bed().Folder() / "Zoë";
             std::filesystem::create_directory(folder);
             office.Configure(folder / "*", office.Readings());
             ::mkfifo((folder / (kZoe + "1")).c_str(), 0600);
             ::mkfifo((folder / "Zoë2").c_str(), 0600);
             return office.Sync();
         },
         {"Zoë/Zoë1", "Zoë/Zoë2"}},
        {"customer of the workbook's row check",
         [](BillingDatabase&) {
             ExcelOffice office;
             office.MakeSheet("ws.append([12, 'Main Street', 'Zoë', 'T-100', 1000, 200])");
             office.ListRoute("01", "U");
             office.StoreMeters("01", {"000002"}, {{"R", "55"}});
             office.MakeSheet("ws.append([12, 'Main Street', 'Zoé', 'T-100', 1000, 200])");
             return office.Sync();
         },
         {"its BillingName reads Zoé, the meter's Zoë"}},
        {"route names of a route file, then the billing database's refusal of one: its name "
         "and the driver's message, logged and boxed",
         [](BillingDatabase& billing) {
             TextFileOffice office;
             office.WriteRouteFile(
                 {{.route = std::string(1, '\0') + kZoe}, {.route = kZoe, .name = kZoe}});
             office.Sync();
             office.TakeReadings(kZoe, {{.current = "4300"}});
             office.Bed().WriteConfig({"SelectedInterface=ODBC", "Interface=ODBC",
                                       "Server=" + std::string(kBillingDsn), "Database=billing",
                                       "UserName=" + std::string(kBillingUser),
                                       "Password=" + std::string(kBillingPassword)});
             RefusedRows refused(billing, "WexalReading", "false");
             office.Sync();
             return office.Bed().LogLines();
         },
         {"Route \\x00Zoë not downloaded", "readings of route Zoë stay", "4300, Zoë, 12 ELM ST"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.place);
        std::string log;
        for (const std::string& line : c.sync(*billing_)) {
            log += line + "\n";
        }
        EXPECT_TRUE(text::IsValidUtf8(log)) << log;
        for (const std::string& shown : c.shown) {
            EXPECT_NE(log.find(shown), std::string::npos) << shown;
        }
    }
}

}  // namespace
}  // namespace wexal::testing
