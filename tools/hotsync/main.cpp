// hotsync: the sync manager stand-in. Opens a session on a handheld folder
// for a user, installs the files queued for that user on the handheld, loads
// each conduit and runs it, printing the sync log.
//
//   hotsync --handheld DIR [--user NAME] [--conduit LIB]... [--interactive]
//   hotsync --configure [--user NAME] [--creator CODE] [--conduit LIB]...
//   hotsync --help
//
// Exit status: 0 done, 1 failed, 2 usage, 3 done but failures were logged.

#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "platform/palm/SyncManager.h"
#include "platform/registry/Registry.h"
#include "platform/syncmgr/ConduitRegistrations.h"
#include "platform/syncmgr/DesktopFolders.h"
#include "platform/syncmgr/SyncLock.h"
#include "tools/hotsync/ConduitLibrary.h"
#include "tools/hotsync/QueuedInstall.h"
#include "tools/hotsync/RegisteredConduits.h"
#include "tools/hotsync/SyncRun.h"

namespace {

using namespace wexal;
using namespace wexal::hotsync;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kExitFailuresLogged = 3;

struct Options {
    std::filesystem::path handheld;
    std::string user;
    std::string creator;
    std::vector<std::filesystem::path> conduits;
    bool configure = false;
    bool interactive = false;
    bool help = false;
};

void PrintUsage(std::FILE* to) {
    std::fprintf(to,
                 "usage: hotsync --handheld DIR [--user NAME] [--conduit LIB]... [--interactive]\n"
                 "       hotsync --configure [--user NAME] [--creator CODE] [--conduit LIB]...\n"
                 "       hotsync --help\n");
}

void PrintExitStatuses() {
    std::printf(
        "exit status:\n"
        "  0  the sync is complete (also with no conduit: the queued files are installed)\n"
        "  1  it failed: no usable handheld or user, or a conduit that cannot be loaded,\n"
        "     crashed or returned an error\n"
        "  2  wrong arguments\n"
        "  3  it ran to its end but errors were logged (activity 17, 21 or 22, or a\n"
        "     queued file that stays queued): see the sync log\n");
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "hotsync: %s needs a value\n", arg.c_str());
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string text;
        if (arg == "--handheld") {
            if (!value(text))
                return false;
            options.handheld = text;
        } else if (arg == "--user") {
            if (!value(options.user))
                return false;
        } else if (arg == "--creator") {
            if (!value(options.creator))
                return false;
        } else if (arg == "--conduit") {
            if (!value(text))
                return false;
            options.conduits.emplace_back(text);
        } else if (arg == "--configure") {
            options.configure = true;
        } else if (arg == "--interactive") {
            options.interactive = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
            return true;
        } else {
            std::fprintf(stderr, "hotsync: unknown argument %s\n", arg.c_str());
            return false;
        }
    }
    return options.configure || !options.handheld.empty();
}

// A registered conduit file without a folder is looked for beside hotsync and
// in the library folder of the build.
std::filesystem::path ResolveConduitFile(const std::filesystem::path& file) {
    if (file.has_parent_path()) {
        return file;
    }
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
    for (const auto& folder : {self, self.parent_path() / "lib"}) {
        if (std::filesystem::exists(folder / file, error)) {
            return folder / file;
        }
    }
    return file;
}

struct ConduitChoice {
    std::filesystem::path file;
    std::uint32_t creator = 0;
};

bool ChooseConduits(const Options& options, std::vector<ConduitChoice>& chosen) {
    std::vector<RegisteredConduit> registered;
    try {
        registered = RegisteredConduits();
    } catch (const registry::RegistryError& error) {
        std::fprintf(stderr, "hotsync: %s\n", error.what());
        if (options.conduits.empty()) {
            return false;
        }
    }
    if (!options.conduits.empty()) {
        for (const auto& file : options.conduits) {
            ConduitChoice choice{
                file, options.creator.empty() ? 0 : syncmgr::CreatorFromText(options.creator)};
            for (const auto& entry : registered) {
                if (choice.creator == 0 && ResolveConduitFile(entry.file) == file) {
                    choice.creator = entry.creator;
                }
            }
            chosen.push_back(choice);
        }
        return true;
    }
    for (const auto& entry : registered) {
        chosen.push_back({ResolveConduitFile(entry.file), entry.creator});
    }
    return true;
}

// The HotSync user of the handheld; --user must agree with it.
bool FindUser(const Options& options, std::string& user) {
    if (SyncOpenSession(options.handheld.c_str()) != kSyncErrNone) {
        std::fprintf(stderr,
                     "hotsync: the handheld %s cannot be opened (missing, not a handheld folder, "
                     "or busy with another sync)\n",
                     options.handheld.c_str());
        return false;
    }
    SyncUserId id{};
    const int32_t result = SyncReadUserID(&id);
    SyncCloseSession();
    id.userName[sizeof id.userName - 1] = '\0';
    const std::string handheldUser = result == kSyncErrNone ? id.userName : "";
    if (!options.user.empty() && !handheldUser.empty() && options.user != handheldUser) {
        std::fprintf(stderr, "hotsync: the handheld belongs to user %s, not %s\n",
                     handheldUser.c_str(), options.user.c_str());
        return false;
    }
    user = options.user.empty() ? handheldUser : options.user;
    if (!syncmgr::IsUsableUserName(user)) {
        std::fprintf(stderr, "hotsync: no usable user name (give --user NAME)\n");
        return false;
    }
    return true;
}

int Configure(const Options& options, const std::vector<ConduitChoice>& conduits) {
    int exitCode = 0;
    for (const auto& choice : conduits) {
        std::string error;
        auto library = ConduitLibrary::Load(choice.file, error);
        if (!library) {
            std::fprintf(stderr, "hotsync: %s\n", error.c_str());
            exitCode = kExitFailure;
            continue;
        }
        ConduitConfigureInfo info{};
        info.version = 1;
        info.size = sizeof info;
        info.creator = choice.creator;
        std::snprintf(info.userName, sizeof info.userName, "%s", options.user.c_str());
        if (!options.user.empty()) {
            std::snprintf(info.path, sizeof info.path, "%s",
                          syncmgr::UserFolder(options.user).c_str());
        }
        info.permanentAction = kActionSynchronize;
        info.temporaryAction = kActionSynchronize;
        info.newAction = kActionSynchronize;
        info.preference = kPreferenceTemporary;
        const ConduitConfigureInfo before = info;
        uint32_t size = sizeof info;
        const int32_t result = library->cfgConduit(0, &info, &size);
        if (result != 0) {
            std::fprintf(stderr, "hotsync: %s refused to configure (code 0x%X)\n",
                         choice.file.c_str(), static_cast<unsigned>(result));
            exitCode = kExitFailure;
        } else if (std::memcmp(&before, &info, sizeof info) == 0) {
            std::printf("%s: unchanged\n", library->Name().c_str());
        } else {
            std::printf(
                "%s: action %u, %s\n", library->Name().c_str(), info.newAction,
                info.preference == kPreferencePermanent ? "as default" : "for the next sync only");
        }
    }
    return exitCode;
}

int Synchronize(const Options& options, const std::vector<ConduitChoice>& conduits) {
    // Load every conduit first: a bad library stops the sync before the
    // handheld is touched.
    std::vector<std::unique_ptr<ConduitLibrary>> libraries;
    for (const auto& choice : conduits) {
        std::string error;
        auto library = ConduitLibrary::Load(choice.file, error);
        if (!library) {
            std::fprintf(stderr, "hotsync: %s\n", error.c_str());
            return kExitFailure;
        }
        libraries.push_back(std::move(library));
    }

    SyncSession session;
    session.handheldFolder = std::filesystem::absolute(options.handheld);
    if (!FindUser(options, session.userName)) {
        return kExitFailure;
    }
    session.userFolder = syncmgr::UserFolder(session.userName);
    session.logFile = syncmgr::SyncLogFile(session.userName);
    session.interactive = options.interactive;

    // Held until every conduit has run: no conduit is registered meanwhile.
    syncmgr::SyncLock syncLock;
    try {
        syncLock = syncmgr::SyncLock::ForSync();
    } catch (const std::system_error& error) {
        std::fprintf(stderr, "hotsync: %s\n", error.what());
        return kExitFailure;
    }

    std::printf("HotSync of %s for user %s\n", session.handheldFolder.c_str(),
                session.userName.c_str());
    if (libraries.empty()) {
        // The handheld application may be queued before its conduit is
        // registered: the sync still brings it to the handheld.
        std::printf("No conduit named and none registered: only the queued files are installed\n");
    }
    bool failuresLogged = !InstallQueuedFiles(session);
    bool failed = false;
    for (const auto& library : libraries) {
        const SyncOutcome outcome = RunConduit(*library, session);
        if (!outcome.ok) {
            std::fprintf(stderr, "hotsync: %s\n", outcome.problem.c_str());
            failed = true;
        }
        failuresLogged = failuresLogged || outcome.failuresLogged;
    }
    if (failed) {
        std::printf("HotSync failed; sync log: %s\n", session.logFile.c_str());
        return kExitFailure;
    }
    if (failuresLogged) {
        std::printf("HotSync finished, but errors were logged; see the sync log: %s\n",
                    session.logFile.c_str());
        return kExitFailuresLogged;
    }
    std::printf("HotSync complete; sync log: %s\n", session.logFile.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        PrintUsage(stderr);
        return kExitUsage;
    }
    if (options.help) {
        PrintUsage(stdout);
        PrintExitStatuses();
        return 0;
    }
    std::vector<ConduitChoice> conduits;
    if (!ChooseConduits(options, conduits)) {
        return kExitFailure;
    }
    if (options.configure && conduits.empty()) {
        std::fprintf(stderr, "hotsync: no conduit named and none registered\n");
        return kExitFailure;
    }
    return options.configure ? Configure(options, conduits) : Synchronize(options, conduits);
}
