// The route list: the handheld database "routeDB", one record per route with
// its meter count and status.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <string>

#include "conduit/HHDatabase.h"

class HHRoute {
  public:
    static constexpr const char* kDatabaseName = "routeDB";
    static constexpr std::size_t kNumberCount = 4;
    static constexpr std::size_t kTextCount = 5;
    // Filler of the two spare texts, expected by the handheld.
    static constexpr const char* kSpareText = "      ";

    // `DownloadStamp` of an update at `when`: day of month, hour and minute
    // of local time, two digits each.
    static std::string DownloadStampAt(std::time_t when);

    HHRoute();
    virtual ~HHRoute();
    HHRoute(const HHRoute&) = delete;
    HHRoute& operator=(const HHRoute&) = delete;

    // 1 when routeDB was opened or created, 0 (logged) when not.
    std::int32_t Open();
    // Whether routeDB can be opened (a failure is logged); leaves it closed.
    static bool CanBeOpened();
    std::int32_t Close();
    // Close that leaves the flush of the handheld's folder to the next
    // database saved or to SyncFlushHandheld (HHDatabase::CloseFolderLater).
    std::int32_t CloseFolderLater();
    std::int32_t Clear();
    std::int32_t Write();
    std::int32_t ReadByIndex(std::uint16_t index);
    // Deletes the record last read; the record count goes down by one.
    std::int32_t DeleteRecord();

    // Routes found at open, less those deleted since.
    std::uint32_t RecordCount() const { return db_.RecordCount(); }
    // The unique id of the record last read. A route keeps it from its
    // download until it is purged; the next download of it gets a new one.
    std::uint32_t RecordId() const { return db_.RecordId(); }

    std::uint16_t MeterCount = 0;
    std::uint16_t Word2 = 0;
    std::uint16_t Word3 = 0;
    std::uint16_t LastIndex = 0;
    std::string RouteName;
    std::string DownloadStamp;
    std::string Text1;
    std::string Text2;
    std::string Status;

  private:
    std::array<std::uint16_t*, kNumberCount> Numbers();
    std::array<std::string*, kTextCount> Texts();

    HHDatabase db_;
};
