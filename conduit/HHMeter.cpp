#include "conduit/HHMeter.h"

#include "conduit/RouteNameRefusal.h"
#include "conduit/formats/AnsiText.h"
#include "platform/palm/PdbFile.h"
#include "platform/palm/SyncManager.h"

void LogMetersNotSaved(const std::string& route) {
    LogHandheldError("Wexal - Route " + AnsiToUtf8(route) +
                     " not downloaded: its meters cannot be saved on the handheld");
}

void LogMeterRefused(const std::string& route, const std::string& meter, std::int32_t result) {
    if (result == kSyncErrDatabaseFull) {
        LogHandheldError("Wexal - Route " + AnsiToUtf8(route) +
                         " not downloaded: it holds more meters than a handheld database can (" +
                         std::to_string(wexal::palm::kPdbMaxRecords) + ")");
        return;
    }
    LogHandheldError("Wexal - Route " + AnsiToUtf8(route) +
                     " not downloaded: the handheld refused its meter " + AnsiToUtf8(meter));
}

HHMeter::HHMeter() : db_("Overwrote buffer on Meter Pack", " occurred reading meter table") {}

HHMeter::~HHMeter() = default;

std::string HHMeter::DatabaseName(const std::string& route) {
    return "route" + route;
}

bool HHMeter::NameKept(const std::string& route) {
    return !RefusedRouteName(route, "has no meter database on the handheld");
}

std::int32_t HHMeter::Open(const std::string& route) {
    if (!NameKept(route)) {
        return 0;
    }
    switch (db_.Open(DatabaseName(route))) {
        case HHDatabase::OpenOutcome::Opened:
        case HHDatabase::OpenOutcome::Created:
            return 1;
        case HHDatabase::OpenOutcome::FindFailed:
            LogHandheldError("Some other error occured during find");
            return 0;
        case HHDatabase::OpenOutcome::OpenFailed:
            LogHandheldError("Opened Failed");
            return 0;
        case HHDatabase::OpenOutcome::CreateFailed:
            LogHandheldError("Create Failed");
            return 0;
    }
    return 0;
}

std::int32_t HHMeter::DeleteDB(const std::string& route) {
    if (!NameKept(route)) {
        return 0;
    }
    SyncDeleteDB(DatabaseName(route).c_str(), 0);
    return 1;
}

std::int32_t HHMeter::Close() {
    return db_.Close();
}

std::int32_t HHMeter::Clear() {
    db_.Clear({}, Texts());
    return 0;
}

std::int32_t HHMeter::Write() {
    const bool adds = db_.RecordId() == 0;
    const std::int32_t result = db_.Write({}, Texts());
    if (adds && result == kSyncErrNone) {
        db_.CountAddedRecord();
    }
    return result;
}

bool HHMeter::Pack(std::vector<std::uint8_t>& out) {
    return db_.PackInto({}, Texts(), out);
}

std::int32_t HHMeter::WritePacked(std::span<const std::uint8_t> packed) {
    const std::int32_t result = db_.WritePacked(packed);
    if (result == kSyncErrNone) {
        db_.CountAddedRecord();
    }
    return result;
}

std::int32_t HHMeter::ReadByIndex(std::uint16_t index) {
    return db_.ReadByIndex(index, {}, Texts());
}

std::array<std::string*, HHMeter::kTextCount> HHMeter::Texts() {
    return {&ServiceUniqueID, &MeterTagNbr, &MeterSerialNbr, &MeterType,      &RouteSequence,
            &Digits,          &PrvReading,  &MaxReading,     &MinReading,     &CurReading,
            &ReadingDate,     &ReadingTime, &BillingName,    &ServiceAddress, &Message,
            &Status,          &Intials,     &ResponseCode,   &ResponseText,   &LstReadingDate,
            &ReadType,        &UserDef};
}
