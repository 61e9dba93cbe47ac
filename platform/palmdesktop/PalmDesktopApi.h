// The desktop installation libraries of the sync manager: what an office
// program calls to list and add HotSync users, queue files for a user's
// handheld and register a conduit. Each library lies in the program's folder
// and exports these entries by name; texts are NUL-terminated UTF-8.
//
//   libuserdata.so  UmGetUserCount, UmGetUserID, UmGetUserName, UmAddUser
//   libinstaide.so  PltInstallFile, PltRemoveInstallFile
//   libcondinst.so  InstallConduit, which loads libcondmgr.so from its own
//                   folder and hands the registration to CmInstallConduit
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// --- libuserdata.so ------------------------------------------------------------
// The HotSync users, in the order they were added. Each has a 32-bit id that
// no other user ever had.

enum {
    kUmErrNone = 0,
    kUmErrBadArgument = -601,  // a null pointer, or a name that cannot be a user's
    kUmErrNotFound = -602,     // no user with that index or id
    kUmErrNameTooLong = -603,  // the buffer holds only the first bytes of the name
    kUmErrRegistry = -604,     // the registry could not be read or written
    kUmErrFolder = -605,       // the user's desktop folder could not be made
};

// The number of users; a negative code when they cannot be read.
typedef int16_t (*UmGetUserCountFn)(void);
// The id of the user at `index` (0-based) into *userId; *userId is left as
// it was on failure.
typedef int16_t (*UmGetUserIDFn)(uint32_t index, uint32_t* userId);
// The user's name into `buffer`, which holds *size bytes: the name and its
// NUL when they fit, else the first *size bytes of the name without a NUL
// (kUmErrNameTooLong). *size becomes the bytes the name needs with its NUL.
typedef int16_t (*UmGetUserNameFn)(uint32_t userId, char* buffer, uint32_t* size);
// Adds the user and makes its desktop folder; a user of that name (in any
// letter case) exists already: nothing changes, and the result is 0 too.
// `reserved` is 0. A name is 1 to 63 bytes without '/', '\', control
// characters, and is not "." or "..".
typedef int16_t (*UmAddUserFn)(const char* userName, uint32_t reserved);

int16_t UmGetUserCount(void);
int16_t UmGetUserID(uint32_t index, uint32_t* userId);
int16_t UmGetUserName(uint32_t userId, char* buffer, uint32_t* size);
int16_t UmAddUser(const char* userName, uint32_t reserved);

// --- libinstaide.so --------------------------------------------------------------
// A file queued for a user is installed on the user's handheld at its next
// HotSync.

enum {
    kPltErrNone = 0,
    kPltErrBadArgument = -501,       // a null pointer or a file name that cannot be queued
    kPltErrIo = -502,                // the file could not be read or queued
    kPltErrAlreadyScheduled = -512,  // install: the file was queued already and is now
                                     // replaced by the new one
    kPltErrNotFound = -513,          // install: no such file; remove: none queued
    kPltErrUnknownUser = -523,       // no HotSync user of that name
};

// Queues a copy of the file `path` under its last name component. When no file
// of exactly that path exists, a file of that name in any letter case in the
// same folder is taken.
typedef int16_t (*PltInstallFileFn)(const char* userName, const char* path);
// Takes the file queued under the last name component of `fileName` (in any
// letter case) off the queue.
typedef int16_t (*PltRemoveInstallFileFn)(const char* userName, const char* fileName);

int16_t PltInstallFile(const char* userName, const char* path);
int16_t PltRemoveInstallFile(const char* userName, const char* fileName);

// --- libcondinst.so and libcondmgr.so ------------------------------------------

enum {
    kCondErrNone = 0,
    kCondErrAlreadyInstalled = -1005,  // this creator is registered with this conduit file
    kCondErrBase = -1200,              // the registry failed, or Application1 to
                                       // Application99 are all taken
    kCondErrLoadCondMgr = -1201,       // libcondmgr.so cannot be loaded
    kCondErrInvalidCondMgr = -1202,    // libcondmgr.so lacks CmInstallConduit
    kCondErrNoConduit = -1204,         // the conduit file does not exist
    kCondErrSyncRunning = -1205,       // a HotSync is running
    kCondErrBadArgument = -1206,       // a null pointer, a creator id that is not four
                                       // characters, or no conduit file
};

// Registers the conduit file `conduitFolder`/`conduitFile` (or `conduitFile`
// alone when it is an absolute path) for the creator id `creator`: a
// registration of the same creator is updated, else the first free
// "Application<n>" key is taken. `callerFolder` and the three texts after
// `conduitFile` are kept for the callers' argument order and not used.
typedef int32_t (*InstallConduitFn)(const char* callerFolder, const char* creator,
                                    const char* conduitFolder, const char* conduitFile,
                                    const char* unused5, const char* unused6, const char* unused7,
                                    const char* conduitName, int32_t priority,
                                    const char* information);

int32_t InstallConduit(const char* callerFolder, const char* creator, const char* conduitFolder,
                       const char* conduitFile, const char* unused5, const char* unused6,
                       const char* unused7, const char* conduitName, int32_t priority,
                       const char* information);
// libcondmgr.so: the registration itself, with InstallConduit's arguments.
int32_t CmInstallConduit(const char* callerFolder, const char* creator, const char* conduitFolder,
                         const char* conduitFile, const char* unused5, const char* unused6,
                         const char* unused7, const char* conduitName, int32_t priority,
                         const char* information);

#ifdef __cplusplus
}
#endif
