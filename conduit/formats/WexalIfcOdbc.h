// The link to a billing system whose data lie in an ODBC data source: the
// route list, the readings and the routes pass through the data source's
// tables and stored procedures. Its failures are shown in message boxes and
// logged (activity 21).
#pragma once

#include <cstdint>
#include <string>

#include "conduit/formats/WexalIfc.h"

class WexalIfc_ODBC : public WexalIfc {
  public:
    // "DSN" (data source name), "UID" (user id) or "PWD" (password), exact
    // case: 0, and the value (a configuration text, see ConfigTextToWide)
    // replaces the earlier one; -1 for other names.
    std::int32_t SetParameter(const char* name, const std::string& value) override;
    // Connects, refreshes the route list, uploads readings, downloads the
    // routes asked for. A timeout or a lost connection ends the pass there:
    // the routes not yet exchanged keep their status, and one line says how
    // many wait. 0, or 1 when the route list could not be started or the
    // handheld's route list cannot be opened.
    std::int32_t Run() override;
    ~WexalIfc_ODBC() override = default;

    // Lists the billing system's routes on the handheld with status "N".
    // 1 when no Command or Recordset can be made or the handheld's route
    // list cannot be opened, otherwise 0.
    std::int32_t DownloadRouteList();
    // Enters or refreshes one route of the route list; always 0. A listed
    // route keeps its Word2, and its LastIndex when count is 0.
    std::int32_t UpdateRoute(std::string route, std::int32_t count, const char* status);

    // Uploads every route with status "U" and marks it "N" once its
    // readings are in the billing system; always 0.
    std::int32_t UploadRoutes();
    // Stores the route's read meters in WexalReading in one transaction and
    // applies them: true when they reached the billing system, false when
    // nothing was stored (the route is to be uploaded again).
    bool UploadRoute(std::string route);

    // Downloads every route with status "D" and marks it "R"; always 0. A
    // route whose meters the handheld could not save stays "D".
    std::int32_t DownloadRoutes();
    // Replaces the route's meter database with the meters that the billing
    // system selects for it: the number of meters stored, or -1 when the
    // handheld could not save them.
    std::int32_t DownloadRoute(std::string route);

    // Wide texts, empty until set.
    std::u16string PWD;
    std::u16string UID;
    std::u16string DSN;
    // Built by Run from the three above.
    std::u16string ConnectString;
};
