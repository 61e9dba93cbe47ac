// Whole syncs of the SQL link: a handheld session, the sample billing
// database, captured message boxes, and the route list, meters and reader
// settings of the handheld by name.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tests/conduit/ConduitTestBed.h"
#include "tests/sql/BillingDatabase.h"

namespace wexal::testing {

// A route-list record.
struct RouteEntry {
    std::string name;
    std::string status;
    std::uint16_t meterCount = 0;
    std::uint16_t word2 = 0;
    std::uint16_t word3 = 0;
    std::uint16_t lastIndex = 0;
    std::string stamp = {};
    std::string text1 = {};
    std::string text2 = {};
};

// A meter record's fields by name; a field left out is empty.
using MeterFields = std::map<std::string, std::string>;

// Message boxes shown, as caption and text.
using Boxes = std::vector<std::pair<std::string, std::string>>;

inline constexpr const char* kSixBlanks = "      ";

class SqlLinkTest : public BillingDatabaseTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the link as the sync driver does, with the sample data source (or
    // another) and its user. Keeps the download stamps of its start and end.
    std::int32_t Sync(const std::string& password = kBillingPassword,
                      const std::string& dataSource = kBillingDsn);
    // Whether `stamp` is the local time of the last Sync as "%d%H%M".
    bool StampedDuringSync(const std::string& stamp) const;

    // The sync log so far, as "activity text" per line.
    std::vector<std::string> SyncLogLines();

    // Adds a route to the handheld's route list.
    void PutRoute(const RouteEntry& route);
    std::vector<RouteEntry> Routes();
    // The route of that name; fails the test when it is not listed once.
    RouteEntry Route(const std::string& name);
    std::vector<std::string> RouteNames();

    // Adds meters to the route's meter database.
    void PutMeters(const std::string& route, const std::vector<MeterFields>& meters);
    std::vector<MeterFields> Meters(const std::string& route);
    bool HasMeterDatabase(const std::string& route);

    // Adds the reader settings record with some words of the handheld's own.
    void PutReaderSettings();
    std::string CurrentRoute();

    ConduitTestBed bed_;
    Boxes boxes_;
    std::string syncStartStamp_;
    std::string syncEndStamp_;
};

}  // namespace wexal::testing
