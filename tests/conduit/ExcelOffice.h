// An office whose billing system keeps its routes in a workbook: the Excel
// interface's configuration, a worksheet built with openpyxl, the work of the
// reader on the handheld between syncs, and syncs along the Excel road.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "conduit/HHMeter.h"
#include "conduit/HHReader.h"
#include "conduit/HHRoute.h"
#include "conduit/WexalConduit.h"
#include "conduit/WexalConfig.h"
#include "tests/conduit/ConduitTestBed.h"
#include "tests/platform/sheet/Openpyxl.h"

namespace wexal::testing {

// Row 1 of the office's worksheet "Route"; meters follow from row 2.
inline const std::string kHeadingRow =
    "ws.append(['HOUSE', 'STREET', 'NAME', 'TAG', 'PREVIOUS', 'USAGE', 'READING', 'DATE', "
    "'TIME', 'CODE', 'NOTE'])\n";

struct ExcelSettings {
    std::string workbook{};  // empty: the office's workbook
    std::string worksheet = "Route";
    std::string dataStart = "2";
    std::string usageRow = "1";
    std::vector<std::string> routeMap = {"House Number/A", "ServiceAddress/B", "BillingName/C",
                                         "MeterTagNbr/D",  "PrvReading/-1",    "MinReading/50",
                                         "MaxReading/150"};
    std::vector<std::string> readingMap = {"CurReading/+1", "ReadingDate/+2", "ReadingTime/+3",
                                           "Response Code/+4", "Response Text/+5"};
};

// What the reader recorded for one meter.
struct ExcelReadingTaken {
    std::string status = "R";
    std::string current{};
    std::string date{};
    std::string time{};
    std::string code{};
    std::string text{};
};

class ExcelOffice {
  public:
    ExcelOffice() { Configure({}); }

    ConduitTestBed& Bed() { return bed_; }
    std::filesystem::path Workbook() const { return bed_.Folder() / "routes.xlsx"; }

    void Configure(const ExcelSettings& settings) {
        std::vector<std::string> lines = {
            "SelectedInterface=EXCEL",
            "Interface=EXCEL",
            "SelectedSpreadsheet=0",
            "Workbook0=" + (settings.workbook.empty() ? Workbook().string() : settings.workbook),
            "Worksheet0=" + settings.worksheet,
            "WorksheetDataStart=" + settings.dataStart,
            "WorksheetUsageRow=" + settings.usageRow};
        for (std::size_t i = 0; i < settings.routeMap.size(); ++i) {
            lines.push_back("RouteMap" + std::to_string(i) + "=" + settings.routeMap[i]);
        }
        for (std::size_t i = 0; i < settings.readingMap.size(); ++i) {
            lines.push_back("ReadingMap" + std::to_string(i) + "=" + settings.readingMap[i]);
        }
        bed_.WriteConfig(lines);
    }

    // The heading row, then `rows` (Python appending to `ws`).
    void MakeSheet(const std::string& rows) const { MakeWorkbook(Workbook(), kHeadingRow + rows); }

    // Runs `work` inside a handheld session with a configuration read now;
    // the log lines that it added, as "activity text".
    std::vector<std::string> InSession(
        const std::function<void(WexalConduit&, const WexalConfig&)>& work) {
        const std::size_t before = bed_.Log().size();
        bed_.BeginSession();
        {
            WexalConfig config;
            WexalConduit conduit;
            work(conduit, config);
        }
        bed_.EndSession();
        const std::vector<std::string> all = bed_.LogLines();
        return {all.begin() + static_cast<std::ptrdiff_t>(before), all.end()};
    }

    // The Excel road of the sync driver, without its start and finish lines.
    std::vector<std::string> Sync(std::int32_t* uploadResult = nullptr,
                                  std::int32_t* downloadResult = nullptr) {
        return InSession([&](WexalConduit& conduit, const WexalConfig& config) {
            conduit.WriteReaderDB(config);
            conduit.UpdateRoute("01", -1, "N");
            const std::int32_t uploaded =
                conduit.UploadExcel(config.Workbook, config.Worksheet, config);
            const std::int32_t downloaded =
                uploaded == 0
                    ? conduit.DownloadExcel(config.Workbook, config.Worksheet, "01", config)
                    : 0;
            if (uploadResult != nullptr) {
                *uploadResult = uploaded;
            }
            if (downloadResult != nullptr) {
                *downloadResult = downloaded;
            }
        });
    }

    // A route-list record, created when missing, with the status given.
    void ListRoute(const std::string& route, const std::string& status) {
        InSession([&](WexalConduit& conduit, const WexalConfig&) {
            conduit.UpdateRoute(route, -1, "N");
        });
        SetRouteStatus(route, status);
    }

    void SetRouteStatus(const std::string& route, const std::string& status) {
        InSession([&](WexalConduit&, const WexalConfig&) {
            HHRoute list;
            list.Open();
            for (std::uint32_t i = 0; i < list.RecordCount(); ++i) {
                list.ReadByIndex(static_cast<std::uint16_t>(i));
                if (list.RouteName == route) {
                    list.Status = status;
                    list.Write();
                }
            }
            list.Close();
        });
    }

    // "name meterCount lastIndex status" per route.
    std::vector<std::string> RouteList() {
        std::vector<std::string> routes;
        InSession([&](WexalConduit&, const WexalConfig&) {
            HHRoute list;
            list.Open();
            for (std::uint32_t i = 0; i < list.RecordCount(); ++i) {
                list.ReadByIndex(static_cast<std::uint16_t>(i));
                routes.push_back(list.RouteName + " " + std::to_string(list.MeterCount) + " " +
                                 std::to_string(list.LastIndex) + " " + list.Status);
            }
            list.Close();
        });
        return routes;
    }

    // The 22 texts of each meter of the route, in record order.
    std::vector<std::vector<std::string>> Meters(const std::string& route) {
        std::vector<std::vector<std::string>> meters;
        if (!bed_.HasDatabase(HHMeter::DatabaseName(route))) {
            return meters;
        }
        InSession([&](WexalConduit&, const WexalConfig&) {
            HHMeter db;
            db.Open(route);
            for (std::uint32_t i = 0; i < db.RecordCount(); ++i) {
                db.ReadByIndex(static_cast<std::uint16_t>(i));
                meters.push_back(
                    {db.ServiceUniqueID, db.MeterTagNbr,    db.MeterSerialNbr, db.MeterType,
                     db.RouteSequence,   db.Digits,         db.PrvReading,     db.MaxReading,
                     db.MinReading,      db.CurReading,     db.ReadingDate,    db.ReadingTime,
                     db.BillingName,     db.ServiceAddress, db.Message,        db.Status,
                     db.Intials,         db.ResponseCode,   db.ResponseText,   db.LstReadingDate,
                     db.ReadType,        db.UserDef});
            }
            db.Close();
        });
        return meters;
    }

    // Stores meters of a route as the reader left them, in place of any
    // it had; a meter whose row the workbook holds names its customer as a
    // download of that row would.
    void StoreMeters(const std::string& route, const std::vector<std::string>& serviceIds,
                     const std::vector<ExcelReadingTaken>& readings) {
        InSession([&](WexalConduit& conduit, const WexalConfig& config) {
            const std::map<std::string, Customer> customers = DownloadedCustomers(conduit, config);
            HHMeter db;
            db.DeleteDB(route);
            db.Open(route);
            for (std::size_t i = 0; i < serviceIds.size(); ++i) {
                db.Clear();
                db.ServiceUniqueID = serviceIds[i];
                if (const auto found = customers.find(serviceIds[i]); found != customers.end()) {
                    found->second.Into(db);
                }
                db.Status = readings[i].status;
                db.CurReading = readings[i].current;
                db.ReadingDate = readings[i].date;
                db.ReadingTime = readings[i].time;
                db.ResponseCode = readings[i].code;
                db.ResponseText = readings[i].text;
                db.Write();
            }
            db.Close();
        });
    }

    // The reader's work on downloaded meters: readings in record order.
    void TakeReadings(const std::string& route, const std::vector<ExcelReadingTaken>& readings) {
        InSession([&](WexalConduit&, const WexalConfig&) {
            HHMeter db;
            db.Open(route);
            for (std::size_t i = 0; i < readings.size(); ++i) {
                db.ReadByIndex(static_cast<std::uint16_t>(i));
                db.Status = readings[i].status;
                db.CurReading = readings[i].current;
                db.ReadingDate = readings[i].date;
                db.ReadingTime = readings[i].time;
                db.ResponseCode = readings[i].code;
                db.ResponseText = readings[i].text;
                db.Write();
            }
            db.Close();
        });
    }

    std::string CurrentRoute() {
        std::string route;
        InSession([&](WexalConduit&, const WexalConfig&) {
            HHReader reader;
            reader.Open();
            reader.ReadByIndex(0);
            route = reader.CurrentRoute;
            reader.Close();
        });
        return route;
    }

  private:
    struct Customer {
        std::string name, address, tag, serial;
        void Into(HHMeter& meter) const {
            meter.BillingName = name;
            meter.ServiceAddress = address;
            meter.MeterTagNbr = tag;
            meter.MeterSerialNbr = serial;
        }
    };

    // By service id, the customers that a download of the workbook (when
    // there is one) would give the handheld.
    static std::map<std::string, Customer> DownloadedCustomers(WexalConduit& conduit,
                                                               const WexalConfig& config) {
        const std::string scratch = "sheet";
        std::map<std::string, Customer> customers;
        if (!std::filesystem::exists(config.Workbook) ||
            conduit.DownloadExcelRoute(config.Workbook, config.Worksheet, scratch, config) <= 0) {
            return customers;
        }
        HHMeter db;
        db.Open(scratch);
        for (std::uint32_t i = 0; i < db.RecordCount(); ++i) {
            db.ReadByIndex(static_cast<std::uint16_t>(i));
            customers[db.ServiceUniqueID] = {db.BillingName, db.ServiceAddress, db.MeterTagNbr,
                                             db.MeterSerialNbr};
        }
        db.Close();
        db.DeleteDB(scratch);
        return customers;
    }

    ConduitTestBed bed_;
};

}  // namespace wexal::testing
