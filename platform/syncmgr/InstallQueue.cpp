#include "platform/syncmgr/InstallQueue.h"

#include <algorithm>
#include <stdexcept>

#include <strings.h>

#include "platform/files/AtomicFile.h"
#include "platform/syncmgr/DesktopFolders.h"

namespace wexal::syncmgr {
namespace fs = std::filesystem;

InstallQueue::InstallQueue(const std::string& userName) : folder_(InstallFolder(userName)) {}

billingfile::BillingFileLock InstallQueue::Lock() const {
    std::error_code error;
    fs::create_directories(folder_.parent_path(), error);
    billingfile::BillingFileLock lock;
    if (!lock.Acquire(folder_.string())) {
        throw std::runtime_error("cannot lock the install queue " + lock.LockPath() + ": " +
                                 lock.Error());
    }
    return lock;
}

std::vector<std::string> InstallQueue::Files() const {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder_, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code kind;
        if (IsQueueableName(name) && it->is_regular_file(kind)) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::string> InstallQueue::Find(const std::string& name) const {
    for (const std::string& queued : Files()) {
        if (::strcasecmp(queued.c_str(), name.c_str()) == 0) {
            return queued;
        }
    }
    return std::nullopt;
}

fs::path InstallQueue::PathOf(const std::string& name) const {
    return folder_ / name;
}

bool InstallQueue::Add(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    if (!IsQueueableName(name)) {
        throw std::invalid_argument("a file cannot be queued as \"" + name + "\"");
    }
    std::error_code error;
    fs::create_directories(folder_, error);
    if (error) {
        throw std::runtime_error("cannot create the install folder " + folder_.string() + ": " +
                                 error.message());
    }
    const std::optional<std::string> queued = Find(name);
    files::ReplaceFileAtomically(
        PathOf(queued.value_or(name)),
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return queued.has_value();
}

bool InstallQueue::Remove(const std::string& name) const {
    const std::optional<std::string> queued = Find(name);
    return queued && fs::remove(PathOf(*queued));
}

bool InstallQueue::IsQueueableName(const std::string& name) {
    return !name.empty() && name.size() <= 255 && name[0] != '.' &&
           name.find('/') == std::string::npos;
}

}  // namespace wexal::syncmgr
