// A whole sync killed at a known point: after it marked its routes uploaded
// and before it removed its upload journals. The test program links
// tests/conduit/WriteFaults.cpp.
#pragma once

#include <sys/wait.h>

#include <filesystem>
#include <string>

#include "tests/conduit/SyncProcess.h"
#include "tests/conduit/WriteFaults.h"

namespace wexal::testing {

// Runs a sync of `handheld` in a child process (its log lines in `log`),
// killed with SIGKILL where it makes the marks last on the handheld (its
// folder's flush) while `journal` is there. True when it was killed so.
inline bool SyncKilledAfterItsMarks(const std::filesystem::path& handheld,
                                    const std::filesystem::path& journal,
                                    const std::filesystem::path& log) {
    const std::string folder = std::filesystem::canonical(handheld).string();
    const KillAtFlush kill([folder, journal](const std::string& path) {
        return path == folder && std::filesystem::exists(journal);
    });
    SyncProcess sync(handheld, log);
    const int status = sync.Wait();
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

}  // namespace wexal::testing
