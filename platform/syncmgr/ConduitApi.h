// What the sync manager and a conduit exchange: the six entry points a
// conduit library exports by name, and the blocks they pass.
#pragma once

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Handed to OpenConduit; a conduit may report progress through it.
typedef int32_t (*ConduitProgressFn)(const char* text);

// What the sync manager knows of the sync it runs.
typedef struct ConduitSyncProperties {
    int32_t syncType;      // a ConduitAction
    char userName[64];     // HotSync user, NUL-terminated
    char userFolder[256];  // the user's folder on the desktop
    char handheldFolder[256];
} ConduitSyncProperties;

// Sync actions.
enum ConduitAction {
    kActionSynchronize = 0,
    kActionSynchronizeToo = 1,
    kActionHandheldOverwritesDesktop = 2,
    kActionDesktopOverwritesHandheld = 3,
    kActionDoNothing = 6,
};

// Preference of a chosen action.
enum { kPreferencePermanent = 1, kPreferenceTemporary = 2 };

// The configure-info block of CfgConduit: 352 bytes, little-endian numbers.
typedef struct ConduitConfigureInfo {
    uint32_t version;  // 1
    uint32_t size;     // 352
    uint32_t creator;
    uint32_t userId;
    char userName[64];
    char path[256];
    uint32_t permanentAction;
    uint32_t temporaryAction;
    uint32_t newAction;   // written on OK
    uint32_t preference;  // written on OK
} ConduitConfigureInfo;

// The request block handed to GetConduitInfo for the conduit's name.
typedef struct ConduitRequestInfo {
    uint32_t version;  // 1
    uint32_t size;     // 80
    uint32_t creator;
    uint32_t userId;
    char userName[64];
} ConduitRequestInfo;

// The object ConfigureConduit edits.
typedef struct ConduitSyncPreference {
    int32_t syncPreference;
    int32_t syncType;
} ConduitSyncPreference;

// Kinds of GetConduitInfo.
enum { kConduitInfoName = 0, kConduitInfoMfcVersion = 1, kConduitInfoDefaultAction = 2 };

// Results of GetConduitInfo and CfgConduit.
enum {
    kConduitErrUnknownKind = 0x1070,
    kConduitErrNullOut = 0x1071,
    kConduitErrOutSize = 0x1073,
    kConduitErrNullIn = 0x1074,
    kConduitErrBadRequest = 0x1075,
    kConduitErrNoName = 0x1076,
    kConduitErrNullSize = 0x1077,
    kConduitErrNullArgsSize = 0x1078,
    kConduitErrUnknownCfgKind = 0x1079,
    kConduitErrArgsSize = 0x107A,
    kConduitErrArgsVersion = 0x107B,
};

typedef int32_t (*OpenConduitFn)(ConduitProgressFn progress, ConduitSyncProperties* properties);
typedef int32_t (*GetConduitNameFn)(char* buffer, uint16_t length);
typedef int32_t (*GetConduitVersionFn)(void);
typedef int32_t (*GetConduitInfoFn)(int32_t kind, void* in, void* out, uint32_t* outSize);
typedef int32_t (*ConfigureConduitFn)(ConduitSyncPreference* preference);
typedef int32_t (*CfgConduitFn)(int32_t kind, void* args, uint32_t* argsSize);

#ifdef __cplusplus
}
static_assert(sizeof(ConduitConfigureInfo) == 352);
static_assert(offsetof(ConduitConfigureInfo, permanentAction) == 336);
static_assert(sizeof(ConduitRequestInfo) == 80);
#endif
