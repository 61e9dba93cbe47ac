// A small conduit for the sync manager's tests: writes a database of three
// records and a log line. WEXAL_TEST_CONDUIT selects misbehaviour:
// "crash" dies halfway through writing, "msgbox" shows a message box, "hold"
// keeps the sync running: it makes the file "$WEXAL_TEST_HOLD.started" and
// waits until the file $WEXAL_TEST_HOLD exists (60 seconds at most), "logN"
// or "logN:TEXT" logs a failure (or TEXT) with activity N after its work.
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/msgbox/MessageBox.h"
#include "platform/palm/SyncManager.h"
#include "platform/synclog/SyncLog.h"
#include "platform/syncmgr/ConduitApi.h"

namespace {

std::string Mode() {
    const char* mode = std::getenv("WEXAL_TEST_CONDUIT");
    return mode != nullptr ? mode : "";
}

void HoldUntilReleased() {
    const char* release = std::getenv("WEXAL_TEST_HOLD");
    if (release == nullptr) {
        return;
    }
    std::ofstream(std::string(release) + ".started") << "holding\n";
    for (int waited = 0; waited < 6000 && !std::filesystem::exists(release); ++waited) {
        ::usleep(10 * 1000);
    }
}

int32_t WriteTestDatabase(bool crashHalfway) {
    SyncCreateDbParams create{};
    create.creator = 0x54455354;  // 'TEST'
    create.type = 0x44415441;     // 'DATA'
    std::strcpy(create.name, "TestDB");
    SyncDeleteDB("TestDB", 0);
    if (int32_t error = SyncCreateDB(&create); error != kSyncErrNone) {
        return error;
    }
    for (int i = 0; i < 3; ++i) {
        if (crashHalfway && i == 2) {
            raise(SIGSEGV);
        }
        std::string text = "record " + std::to_string(i);
        SyncRawRecord record{};
        record.dbHandle = create.handle;
        record.recSize = static_cast<uint32_t>(text.size() + 1);
        record.buffer = text.data();
        if (int32_t error = SyncWriteRec(&record); error != kSyncErrNone) {
            return error;
        }
    }
    return SyncCloseDB(create.handle);
}

}  // namespace

extern "C" {

int32_t OpenConduit(ConduitProgressFn progress, ConduitSyncProperties* properties) {
    if (progress == nullptr) {
        return -1;
    }
    const std::string mode = Mode();
    if (mode == "msgbox") {
        WexalMessageBox("Test", "going to write");
    }
    if (mode == "hold") {
        HoldUntilReleased();
    }
    int32_t result = WriteTestDatabase(mode == "crash");
    std::string line = "Test conduit wrote TestDB for " + std::string(properties->userName) +
                       " (result " + std::to_string(result) + ")";
    LogAddEntry(line.c_str(), 19, 0);
    if (mode.starts_with("log")) {
        const std::size_t colon = mode.find(':');
        const std::string text =
            colon == std::string::npos ? "Test conduit failure" : mode.substr(colon + 1);
        LogAddEntry(text.c_str(), std::atoi(mode.c_str() + 3), 0);
    }
    return 0;
}

int32_t GetConduitName(char* buffer, uint16_t length) {
    std::strncpy(buffer, "Test Conduit", length);
    return 0;
}

int32_t GetConduitVersion(void) {
    return 0x100;
}

int32_t GetConduitInfo(int32_t, void*, void*, uint32_t*) {
    return 0;
}

int32_t ConfigureConduit(ConduitSyncPreference*) {
    return -1;
}

#ifndef TEST_CONDUIT_WITHOUT_CFG
int32_t CfgConduit(int32_t, void* args, uint32_t*) {
    auto* info = static_cast<ConduitConfigureInfo*>(args);
    info->newAction = kActionDoNothing;
    info->preference = kPreferencePermanent;
    return 0;
}
#endif
}
