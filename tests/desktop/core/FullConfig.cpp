#include "tests/desktop/core/FullConfig.h"

namespace wexal::testing {

using desktop::MapSlots;
using desktop::WorkbookSlots;

void FillFull(desktop::clsConfig& config) {
    config.SelectedInterface = "EXCEL";
    config.UseInitials = "Y";
    config.ShowPriorReadings = "Y";
    config.ShowExpectedRange = "Y";
    config.RetainDownloadFilesByRoute = "Y";
    config.RightToLeft = "Y";
    config.OverrideAutoOff = "Y";
    config.AutoOffMinutes = 15;
    config.Journalling = "Y";
    config.DebugFlag = "1";
    config.CaptureExceptions = "Y";
    config.ExceptionsFile = "/srv/wexal/exceptions.txt";
    config.MeterIDChoice = "T";
    config.SeparateExceptions = "Y";
    config.RestorePIN = "1234";
    config.AddInterface({.Name = "NORTHSTAR",
                         .RoutePath = "/srv/northstar/route.txt",
                         .ReadingsPath = "/srv/northstar/readings.txt",
                         .ReadingsRollPath = "/srv/northstar/rolled"});
    config.AddInterface({.Name = "ODBC",
                         .Server = "BillingDSN",
                         .UserName = "reader",
                         .Password = "se=cret",
                         .Database = "billing"});
    config.UpdateInterface(
        "SQLDirect",
        {.Server = "db.example.org", .UserName = "sa", .Password = "p w", .Database = "autoadmin"});
    MapSlots route;
    route[1] = "PrvReading/-1";
    route[2] = "MinReading/10";
    route[3] = "MaxReading/12.5";
    route[4] = "ServiceAddress/C";
    MapSlots reading;
    reading[1] = "CurReading/+1";
    reading[2] = "ReadDate/+2";
    config.UpdateInterface("EXCEL", {.Workbook = WorkbookSlots{"/srv/excel/routes.xlsx", "",
                                                               "/srv/excel/spare.xlsx", "", ""},
                                     .Worksheet = WorkbookSlots{"Route 7", "", "Spare", "", ""},
                                     .RouteMap = route,
                                     .ReadingMap = reading});
    config.AddResponseCode("01", "Dog in yard", "Y", "");
    config.AddResponseCode("02", "Meter buried", "", "Y");
    config.AddResponseCode("03", "Gate locked", "Y", "Y");
}

}  // namespace wexal::testing
