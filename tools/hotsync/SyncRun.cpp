#include "tools/hotsync/SyncRun.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "platform/msgbox/MessageBox.h"
#include "platform/palm/SyncManager.h"
#include "platform/synclog/SyncLog.h"
#include "tools/hotsync/LoggedFailures.h"

namespace wexal::hotsync {
namespace {

// Exit codes of the child.
constexpr int kChildOk = 0;
constexpr int kChildConduitFailed = 10;
constexpr int kChildNoSession = 11;
constexpr int kChildFailuresLogged = 12;

int32_t PrintProgress(const char* text) {
    std::printf("progress: %s\n", text != nullptr ? text : "");
    std::fflush(stdout);
    return 0;
}

template <std::size_t N>
void CopyText(char (&field)[N], const std::string& text) {
    std::snprintf(field, N, "%s", text.c_str());
}

int RunInChild(const ConduitLibrary& conduit, const SyncSession& session) {
    if (SyncOpenSession(session.handheldFolder.c_str()) != kSyncErrNone) {
        return kChildNoSession;
    }
    msgbox::SetMode(session.interactive ? msgbox::Mode::Interactive : msgbox::Mode::Log);
    synclog::Begin(session.logFile, [](const std::string& line) {
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    });

    ConduitSyncProperties properties{};
    properties.syncType = kActionSynchronize;
    CopyText(properties.userName, session.userName);
    CopyText(properties.userFolder, session.userFolder.string());
    CopyText(properties.handheldFolder, session.handheldFolder.string());

    std::printf("Running conduit %s\n", conduit.Name().c_str());
    std::fflush(stdout);
    const int32_t result = conduit.openConduit(&PrintProgress, &properties);

    const bool failuresLogged = LogsAFailure(synclog::End());
    const int32_t closed = SyncCloseSession();
    std::fflush(stdout);
    if (result != 0 || closed != kSyncErrNone) {
        return kChildConduitFailed;
    }
    return failuresLogged ? kChildFailuresLogged : kChildOk;
}

}  // namespace

SyncOutcome RunConduit(const ConduitLibrary& conduit, const SyncSession& session) {
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = fork();
    if (child < 0) {
        return {false, std::string("cannot start the sync: ") + std::strerror(errno)};
    }
    if (child == 0) {
        _exit(RunInChild(conduit, session));
    }

    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return {false, std::string("lost the sync process: ") + std::strerror(errno)};
        }
    }
    const std::string name = conduit.File().filename().string();
    if (WIFSIGNALED(status)) {
        const int signal = WTERMSIG(status);
        return {false, "conduit " + name + " crashed (signal " + std::to_string(signal) + ", " +
                           strsignal(signal) +
                           "); databases it had not closed were left as "
                           "they were before the sync"};
    }
    switch (WEXITSTATUS(status)) {
        case kChildOk:
            return {true, ""};
        case kChildFailuresLogged:
            return {true, "", true};
        case kChildNoSession:
            return {false, "the handheld " + session.handheldFolder.string() +
                               " cannot be opened (missing, or busy with another sync)"};
        case kChildConduitFailed:
            return {false, "conduit " + name + " reported a failure"};
        default:
            // A conduit that calls exit itself, or dies under a checker that
            // turns signals into exit codes.
            return {false, "conduit " + name + " crashed (it ended the process with exit code " +
                               std::to_string(WEXITSTATUS(status)) + ")"};
    }
}

}  // namespace wexal::hotsync
