#include "tools/hotsync/QueuedInstall.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "platform/palm/HandheldStore.h"
#include "platform/palm/PdbFile.h"
#include "platform/synclog/SyncLog.h"
#include "platform/syncmgr/InstallQueue.h"
#include "tools/hotsync/LoggedFailures.h"

namespace wexal::hotsync {
namespace {

constexpr int32_t kActivityInfo = 19;
constexpr int32_t kActivityHandheld = 22;

void Log(const std::string& text, int32_t activity) {
    LogAddEntry(text.c_str(), activity, 0);
}

// One queued file onto the handheld, then off the queue.
void Install(const palm::HandheldStore& store, const syncmgr::InstallQueue& queue,
             const std::string& file) {
    palm::PdbDatabase database;
    try {
        database = palm::ReadPdbFile(queue.PathOf(file));
    } catch (const palm::PdbFormatError& error) {
        Log(file + " is not a Palm database and stays queued: " + error.what(), kActivityHandheld);
        return;
    } catch (const std::exception& error) {
        Log(file + " cannot be read and stays queued: " + error.what(), kActivityHandheld);
        return;
    }
    try {
        store.Save(database);
    } catch (const std::exception& error) {
        Log(file + " cannot be installed and stays queued: " + error.what(), kActivityHandheld);
        return;
    }
    try {
        queue.Remove(file);
    } catch (const std::exception& error) {
        Log(file + " was installed but stays queued: " + error.what(), kActivityHandheld);
        return;
    }
    Log("Installed " + file + " on the handheld as " + database.header.name, kActivityInfo);
}

}  // namespace

bool InstallQueuedFiles(const SyncSession& session) {
    synclog::Begin(session.logFile, [](const std::string& line) {
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    });
    try {
        const syncmgr::InstallQueue queue(session.userName);
        const auto queueLock = queue.Lock();
        const std::vector<std::string> files = queue.Files();
        if (!files.empty()) {
            const auto store = palm::HandheldStore::Open(session.handheldFolder);
            const auto handheldLock = store.Lock();
            store.RemoveStaleTempFiles();
            for (const std::string& file : files) {
                Install(store, queue, file);
            }
        }
    } catch (const std::exception& error) {
        Log(std::string("Queued files cannot be installed: ") + error.what(), kActivityHandheld);
    }
    return !LogsAFailure(synclog::End());
}

}  // namespace wexal::hotsync
