#include "conduit/HHCodes.h"

HHCodes::HHCodes() : db_("Overwrote buffer on Codes Pack", nullptr) {}

HHCodes::~HHCodes() = default;

std::int32_t HHCodes::DeleteDB() {
    std::uint32_t count = 0;
    const std::int32_t findResult = HHDatabase::Find(kDatabaseName, count);
    if (findResult == kSyncErrNotFound) {
        return kSyncErrNone;
    }
    if (findResult != kSyncErrNone) {
        return findResult;
    }
    return SyncDeleteDB(kDatabaseName, 0);
}

std::int32_t HHCodes::Open() {
    return HHDatabase::Succeeded(db_.Open(kDatabaseName)) ? 1 : 0;
}

std::int32_t HHCodes::Close() {
    return db_.Close();
}

std::int32_t HHCodes::Clear() {
    db_.Clear({}, Texts());
    return 0;
}

std::int32_t HHCodes::Write() {
    return db_.Write({}, Texts());
}

std::array<std::string*, HHCodes::kTextCount> HHCodes::Texts() {
    return {&Code, &Spare, &Text};
}
