#include "conduit/HHRoute.h"

#include <ctime>

HHRoute::HHRoute() : db_("Overwrote buffer on Route Pack", " occurred reading route table") {}

HHRoute::~HHRoute() = default;

std::int32_t HHRoute::Open() {
    if (HHDatabase::Succeeded(db_.Open(kDatabaseName))) {
        return 1;
    }
    // Without the list no route can be found or entered: a download would
    // store routes that the reader is never offered.
    const std::int32_t error = db_.OpenError();
    LogHandheldError(std::string("Wexal - Route list ") + kDatabaseName +
                     " cannot be opened (error " + std::to_string(error) + ")" +
                     (error == kSyncErrDamaged ? ": the database is damaged" : ""));
    return 0;
}

bool HHRoute::CanBeOpened() {
    HHRoute list;
    return list.Open() != 0;
}

std::int32_t HHRoute::Close() {
    return db_.Close();
}

std::int32_t HHRoute::CloseFolderLater() {
    return db_.CloseFolderLater();
}

std::int32_t HHRoute::Clear() {
    db_.Clear(Numbers(), Texts());
    return 0;
}

std::int32_t HHRoute::Write() {
    return db_.Write(Numbers(), Texts());
}

std::int32_t HHRoute::ReadByIndex(std::uint16_t index) {
    return db_.ReadByIndex(index, Numbers(), Texts());
}

std::int32_t HHRoute::DeleteRecord() {
    return db_.DeleteRecord();
}

std::array<std::uint16_t*, HHRoute::kNumberCount> HHRoute::Numbers() {
    return {&MeterCount, &Word2, &Word3, &LastIndex};
}

std::array<std::string*, HHRoute::kTextCount> HHRoute::Texts() {
    return {&RouteName, &DownloadStamp, &Text1, &Text2, &Status};
}

std::string HHRoute::DownloadStampAt(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[16] = {};
    std::strftime(stamp, sizeof stamp, "%d%H%M", &local);
    return stamp;
}
