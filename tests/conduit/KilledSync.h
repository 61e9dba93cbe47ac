// A whole sync killed after it marked its routes uploaded and before it
// removed its upload journals (the test program links WriteFaults.cpp).
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "tests/conduit/SyncProcess.h"
#include "tests/conduit/WriteFaults.h"

namespace wexal::testing {

// A sync of `handheld` in a child process (its log in `log`), killed where
// it makes the marks last (its folder's flush) while `journal` is there.
// True when it was killed so.
inline bool SyncKilledAfterItsMarks(const std::filesystem::path& handheld,
                                    const std::filesystem::path& journal,
                                    const std::filesystem::path& log) {
    const std::string folder = std::filesystem::canonical(handheld).string();
    const FailingFlushes killing([folder, journal](const std::string& path) {
        if (path == folder && std::filesystem::exists(journal)) {
            ::kill(::getpid(), SIGKILL);
        }
        return false;
    });
    SyncProcess sync(handheld, log);
    const int status = sync.Wait();
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

}  // namespace wexal::testing
