// The six functions the sync manager calls, exported by name.
#include <cstring>
#include <exception>
#include <string>

#include "conduit/ActionDialog.h"
#include "conduit/ConduitName.h"
#include "conduit/SyncLogActivity.h"
#include "conduit/WexalConduit.h"
#include "platform/synclog/SyncLog.h"
#include "platform/syncmgr/ConduitApi.h"

#define WEXAL_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using wexal::conduit::ActionDialogKind;
using wexal::conduit::ShowActionDialog;

constexpr std::uint32_t kBlockVersion = 1;
constexpr std::uint32_t kRequestSize = sizeof(ConduitRequestInfo);
constexpr std::uint32_t kConfigureSize = sizeof(ConduitConfigureInfo);
constexpr std::uint32_t kMfcVersion = 0x10000000;

// Copies the conduit's name like a string resource load: at most length - 1
// characters and a terminator. False when nothing can be copied.
bool LoadConduitName(char* buffer, std::uint32_t length) {
    if (buffer == nullptr || length == 0) {
        return false;
    }
    const std::size_t count = std::min<std::size_t>(std::strlen(kConduitName), length - 1);
    std::memcpy(buffer, kConduitName, count);
    buffer[count] = '\0';
    return count > 0;
}

}  // namespace

WEXAL_EXPORT std::int32_t OpenConduit(ConduitProgressFn progress,
                                      ConduitSyncProperties* /*properties*/) {
    if (progress == nullptr) {
        return -1;
    }
    // Nothing may escape into the sync manager: a sync that throws is
    // reported in the log like any other failure.
    try {
        WexalConduit conduit;
        conduit.Synchronize();
    } catch (const std::exception& error) {
        const std::string line = std::string("Wexal Conduit stopped: ") + error.what();
        LogAddEntry(line.c_str(), kActivityConfiguration, 0);
    } catch (...) {
        LogAddEntry("Wexal Conduit stopped: unknown failure", kActivityConfiguration, 0);
    }
    return 0;
}

WEXAL_EXPORT std::int32_t GetConduitName(char* buffer, std::uint16_t length) {
    return LoadConduitName(buffer, length) ? 0 : -1;
}

WEXAL_EXPORT std::int32_t GetConduitVersion() {
    return kConduitVersion;
}

WEXAL_EXPORT std::int32_t GetConduitInfo(std::int32_t kind, void* in, void* out,
                                         std::uint32_t* outSize) {
    if (out == nullptr) {
        return kConduitErrNullOut;
    }
    if (outSize == nullptr) {
        return kConduitErrNullSize;
    }
    switch (kind) {
        case kConduitInfoName: {
            if (in == nullptr) {
                return kConduitErrNullIn;
            }
            ConduitRequestInfo request;
            std::memcpy(&request, in, sizeof request);
            if (request.version != kBlockVersion || request.size != kRequestSize) {
                return kConduitErrBadRequest;
            }
            return LoadConduitName(static_cast<char*>(out), *outSize) ? 0 : kConduitErrNoName;
        }
        case kConduitInfoMfcVersion:
        case kConduitInfoDefaultAction: {
            if (*outSize != sizeof(std::uint32_t)) {
                return kConduitErrOutSize;
            }
            const std::uint32_t value =
                kind == kConduitInfoMfcVersion ? kMfcVersion : std::uint32_t{kActionSynchronize};
            std::memcpy(out, &value, sizeof value);
            return 0;
        }
        default:
            return kConduitErrUnknownKind;
    }
}

WEXAL_EXPORT std::int32_t ConfigureConduit(ConduitSyncPreference* preference) {
    if (preference == nullptr) {
        return -1;
    }
    ConduitConfigureInfo block{};
    block.version = kBlockVersion;
    block.size = kConfigureSize;
    const auto action = static_cast<std::uint32_t>(preference->syncType);
    block.permanentAction = action;
    block.temporaryAction = action;
    block.newAction = action;
    block.preference = kPreferenceTemporary;
    if (ShowActionDialog(ActionDialogKind::ConfigureSimple, &block) != 0) {
        return -1;
    }
    preference->syncType = static_cast<std::int32_t>(block.newAction);
    preference->syncPreference = static_cast<std::int32_t>(block.preference);
    return 0;
}

WEXAL_EXPORT std::int32_t CfgConduit(std::int32_t kind, void* args, std::uint32_t* argsSize) {
    if (args == nullptr) {
        return kConduitErrNullIn;
    }
    if (argsSize == nullptr) {
        return kConduitErrNullArgsSize;
    }
    if (*argsSize != kConfigureSize) {
        return kConduitErrArgsSize;
    }
    if (kind != 0) {
        return kConduitErrUnknownCfgKind;
    }
    auto* block = static_cast<ConduitConfigureInfo*>(args);
    if (block->version != kBlockVersion) {
        return kConduitErrArgsVersion;
    }

    ConduitRequestInfo request{};
    request.version = kBlockVersion;
    request.size = kRequestSize;
    request.creator = block->creator;
    request.userId = block->userId;
    std::memcpy(request.userName, block->userName, sizeof request.userName);
    char name[256] = {};
    std::uint32_t nameSize = sizeof name;
    if (const std::int32_t result = GetConduitInfo(kConduitInfoName, &request, name, &nameSize);
        result != 0) {
        return result;
    }
    // OK and Cancel both end the configuration normally; on OK the block
    // carries the new action and preference.
    ShowActionDialog(ActionDialogKind::Configure, block);
    return 0;
}
