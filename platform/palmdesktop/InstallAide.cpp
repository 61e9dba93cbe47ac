// libinstaide.so: files queued for installation on a user's handheld.
#include <strings.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/palmdesktop/EntryGuard.h"
#include "platform/palmdesktop/HotSyncUsers.h"
#include "platform/palmdesktop/PalmDesktopApi.h"
#include "platform/syncmgr/InstallQueue.h"

namespace {

namespace fs = std::filesystem;
using wexal::palmdesktop::Guarded;
using wexal::syncmgr::InstallQueue;

static_assert(std::is_same_v<decltype(&PltInstallFile), PltInstallFileFn>);
static_assert(std::is_same_v<decltype(&PltRemoveInstallFile), PltRemoveInstallFileFn>);

// The file that `path` names; when there is none, the first file (in byte
// order) of its folder whose name is the same in another letter case.
std::optional<fs::path> FindFile(const fs::path& path) {
    std::error_code error;
    if (fs::is_regular_file(path, error)) {
        return path;
    }
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const std::string name = path.filename().string();
    std::vector<fs::path> matches;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code kind;
        if (::strcasecmp(it->path().filename().c_str(), name.c_str()) == 0 &&
            it->is_regular_file(kind)) {
            matches.push_back(it->path());
        }
    }
    if (matches.empty()) {
        return std::nullopt;
    }
    return *std::min_element(matches.begin(), matches.end());
}

std::vector<std::uint8_t> ReadWholeFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : -1;
    std::vector<std::uint8_t> bytes(size > 0 ? static_cast<std::size_t>(size) : 0);
    if (size >= 0 && in.seekg(0) &&
        in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
        return bytes;
    }
    throw std::runtime_error("cannot read " + file.string());
}

}  // namespace

extern "C" {

int16_t PltInstallFile(const char* userName, const char* path) {
    if (userName == nullptr || path == nullptr) {
        return kPltErrBadArgument;
    }
    return Guarded<int16_t>(kPltErrIo, [&]() -> int16_t {
        const auto user = wexal::palmdesktop::FindHotSyncUser(userName);
        if (!user) {
            return kPltErrUnknownUser;
        }
        const std::string name = fs::path(path).filename().string();
        if (!InstallQueue::IsQueueableName(name)) {
            return kPltErrBadArgument;
        }
        const std::optional<fs::path> file = FindFile(path);
        if (!file) {
            return kPltErrNotFound;
        }
        const std::vector<std::uint8_t> bytes = ReadWholeFile(*file);
        const InstallQueue queue(user->name);
        const auto lock = queue.Lock();
        return queue.Add(name, bytes) ? kPltErrAlreadyScheduled : kPltErrNone;
    });
}

int16_t PltRemoveInstallFile(const char* userName, const char* fileName) {
    if (userName == nullptr || fileName == nullptr) {
        return kPltErrBadArgument;
    }
    return Guarded<int16_t>(kPltErrIo, [&]() -> int16_t {
        const auto user = wexal::palmdesktop::FindHotSyncUser(userName);
        if (!user) {
            return kPltErrUnknownUser;
        }
        const InstallQueue queue(user->name);
        const auto lock = queue.Lock();
        return queue.Remove(fs::path(fileName).filename().string()) ? kPltErrNone : kPltErrNotFound;
    });
}

}  // extern "C"
