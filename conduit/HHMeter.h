// The meters of one route: the handheld database "route" + route name, one
// record of 22 texts per meter.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "conduit/HHDatabase.h"

// Logs that a downloaded route's meters could not be saved on the handheld,
// which keeps a database only as it is at its close.
void LogMetersNotSaved(const std::string& route);
// Logs a meter of a downloaded route that the handheld refused, `result`
// being what HHMeter::Write gave; `meter` says which one. The route must then
// stay asked for: listed with fewer meters than the billing system holds for
// it, it would pass for a whole one.
void LogMeterRefused(const std::string& route, const std::string& meter, std::int32_t result);

class HHMeter {
  public:
    static constexpr std::size_t kTextCount = 22;

    HHMeter();
    virtual ~HHMeter();
    HHMeter(const HHMeter&) = delete;
    HHMeter& operator=(const HHMeter&) = delete;

    // The database name of a route: "route" followed by the name as given.
    static std::string DatabaseName(const std::string& route);

    // Opens the route's database, creating it when missing: 1, or 0 with the
    // failure logged.
    std::int32_t Open(const std::string& route);
    // Deletes the route's database whether it exists or not: 1, or 0 when the
    // handheld cannot keep the route's name (logged).
    std::int32_t DeleteDB(const std::string& route);
    std::int32_t Close();
    // Empties every text; the next Write adds a meter.
    std::int32_t Clear();
    std::int32_t Write();
    // The meter packed as Write would store it (HHDatabase::PackInto); the
    // meters need not be open.
    bool Pack(std::vector<std::uint8_t>& out);
    // Adds a meter packed by Pack, as Write adds one.
    std::int32_t WritePacked(std::span<const std::uint8_t> packed);
    // Logs what Write logs for a meter that does not fit.
    void LogTooLong() const { db_.LogTooLong(); }
    std::int32_t ReadByIndex(std::uint16_t index);

    // Meters in the database: the count found at open plus those added since.
    std::uint32_t RecordCount() const { return db_.RecordCount(); }

    std::string ServiceUniqueID;
    std::string MeterTagNbr;
    std::string MeterSerialNbr;
    std::string MeterType;
    std::string RouteSequence;
    std::string Digits;
    std::string PrvReading;
    std::string MaxReading;
    std::string MinReading;
    std::string CurReading;
    std::string ReadingDate;
    std::string ReadingTime;
    std::string BillingName;
    std::string ServiceAddress;
    std::string Message;
    std::string Status;
    std::string Intials;
    std::string ResponseCode;
    std::string ResponseText;
    std::string LstReadingDate;
    std::string ReadType;
    std::string UserDef;

  private:
    std::array<std::string*, kTextCount> Texts();
    // Logs and refuses a route whose name the handheld cannot keep: a name
    // cut to fit would let two routes share one database, and one that
    // makes another database's name would overwrite that database.
    static bool NameKept(const std::string& route);

    HHDatabase db_;
};
