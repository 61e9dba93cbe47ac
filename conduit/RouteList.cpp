// WexalConduit::UpdateRoute and WexalConduit::PurgeRoutes: the conduit's
// upkeep of the route list "routeDB".
#include <ctime>
#include <string>

#include "conduit/HHRoute.h"
#include "conduit/TrailingWhiteSpace.h"
#include "conduit/WexalConduit.h"

namespace {

// Routes that still wait for the reader ("R") or whose readings have not
// been uploaded ("U", "M") stay, and so do those without a status.
bool KeptByPurge(const std::string& status) {
    return status == "R" || status == "M" || status == "U" || status.compare(" ") <= 0;
}

}  // namespace

std::int32_t WexalConduit::UpdateRoute(std::string route, std::int32_t count, std::string status,
                                       bool folderLater) {
    const std::time_t now = std::time(nullptr);
    TrimTrailingWhiteSpace(route);

    HHRoute list;
    if (list.Open() == 0) {
        return -1;
    }
    bool found = false;
    for (std::uint32_t i = 0; i < list.RecordCount() && !found; ++i) {
        found = list.ReadByIndex(static_cast<std::uint16_t>(i)) == kSyncErrNone &&
                list.RouteName == route;
    }
    if (!found) {
        list.Clear();
        list.Status = status;
    }
    list.RouteName = route;
    list.Word2 = 0;
    list.Word3 = 0;
    list.Text1 = HHRoute::kSpareText;
    list.Text2 = HHRoute::kSpareText;
    list.LastIndex =
        count != 0 ? static_cast<std::uint16_t>(static_cast<std::uint32_t>(count) - 1) : 0;
    if (count >= 0) {
        list.MeterCount = static_cast<std::uint16_t>(count);
    }
    list.DownloadStamp = HHRoute::DownloadStampAt(now);
    if (!status.empty() && status.front() == 'R') {
        list.Status = status;
    }
    // The list reaches the handheld only when it is closed.
    const bool written = list.Write() == kSyncErrNone;
    const std::int32_t closed = folderLater ? list.CloseFolderLater() : list.Close();
    return (closed == kSyncErrNone && written) ? 0 : -1;
}

std::int32_t WexalConduit::PurgeRoutes() {
    HHRoute list;
    if (list.Open() == 0) {
        return 0;
    }
    std::uint32_t index = 0;
    while (index < list.RecordCount()) {
        // A record that cannot be read is kept: its status is unknown.
        if (list.ReadByIndex(static_cast<std::uint16_t>(index)) != kSyncErrNone ||
            KeptByPurge(list.Status)) {
            ++index;
        } else {
            list.DeleteRecord();
            index = 0;
        }
    }
    list.Close();
    return 0;
}
