// libcondmgr.so: registers a conduit with the sync manager (the keys of
// ConduitRegistrations.h), never while a HotSync runs.
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <type_traits>

#include "platform/palmdesktop/EntryGuard.h"
#include "platform/palmdesktop/PalmDesktopApi.h"
#include "platform/registry/Registry.h"
#include "platform/syncmgr/ConduitRegistrations.h"
#include "platform/syncmgr/DesktopFolders.h"
#include "platform/syncmgr/SyncLock.h"

namespace {

namespace fs = std::filesystem;
using wexal::registry::RegistryEdit;
using wexal::registry::Value;

static_assert(std::is_same_v<decltype(&CmInstallConduit), InstallConduitFn>);

struct Registration {
    std::uint32_t creator = 0;
    fs::path conduit;  // full path
    std::string name;
    std::string information;
    std::uint32_t priority = 0;
};

std::string Text(const char* text) {
    return text != nullptr ? text : "";
}

// The key registering `creator`, else the first free one, else nothing.
std::optional<std::string> KeyFor(const RegistryEdit& edit, std::uint32_t creator) {
    std::optional<std::string> free;
    for (int number = 1; number <= wexal::syncmgr::kMaxApplications; ++number) {
        const std::string key = wexal::syncmgr::ApplicationKey(number);
        if (!edit.KeyExists(key)) {
            free = free.value_or(key);
            continue;
        }
        const std::optional<Value> registered = edit.ReadValue(key, "Creator");
        if (registered && wexal::syncmgr::CreatorFromValue(*registered) == creator) {
            return key;
        }
    }
    return free;
}

int32_t Register(RegistryEdit& edit, const Registration& registration) {
    const std::optional<std::string> key = KeyFor(edit, registration.creator);
    if (!key) {
        return kCondErrBase;
    }
    const std::string conduit = registration.conduit.string();
    if (edit.ReadValue(*key, "Conduit") == Value(conduit)) {
        return kCondErrAlreadyInstalled;
    }
    edit.WriteValue(*key, "Creator", registration.creator);
    edit.WriteValue(*key, "Conduit", conduit);
    edit.WriteValue(*key, "Name", registration.name);
    edit.WriteValue(*key, "Information", registration.information);
    edit.WriteValue(*key, "Priority", registration.priority);
    edit.WriteValue(*key, "Directory", registration.conduit.parent_path().string());
    return kCondErrNone;
}

}  // namespace

extern "C" {

int32_t CmInstallConduit(const char* /*callerFolder*/, const char* creator,
                         const char* conduitFolder, const char* conduitFile,
                         const char* /*unused5*/, const char* /*unused6*/, const char* /*unused7*/,
                         const char* conduitName, int32_t priority, const char* information) {
    if (creator == nullptr || std::strlen(creator) != 4 || conduitFile == nullptr ||
        *conduitFile == '\0') {
        return kCondErrBadArgument;
    }
    return wexal::palmdesktop::Guarded<int32_t>(kCondErrBase, [&]() -> int32_t {
        Registration registration;
        registration.creator = wexal::syncmgr::CreatorFromText(creator);
        fs::path file = conduitFile;
        if (file.is_relative()) {
            file = fs::path(Text(conduitFolder)) / file;
        }
        registration.conduit = fs::absolute(file).lexically_normal();
        registration.name = Text(conduitName);
        registration.information = Text(information);
        registration.priority = static_cast<std::uint32_t>(priority);

        std::error_code error;
        if (!fs::is_regular_file(registration.conduit, error)) {
            return kCondErrNoConduit;
        }
        const auto lock = wexal::syncmgr::SyncLock::TryForRegistration();
        if (!lock.Held()) {
            return kCondErrSyncRunning;
        }
        int32_t result = kCondErrBase;
        wexal::registry::Registry::CurrentUser().Change(
            [&](RegistryEdit& edit) { result = Register(edit, registration); });
        return result;
    });
}

}  // extern "C"
