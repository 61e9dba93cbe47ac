// One HotSync as the office runs it: the sync manager stand-in (hotsync)
// loading the conduit library, in a process of its own. The test defines
// WEXAL_HOTSYNC_PROGRAM and WEXAL_CONDUIT_LIBRARY.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace wexal::testing {

struct HotSyncRun {
    int exitCode = -1;
    std::string output;  // what hotsync printed, the sync log included
};

inline HotSyncRun RunHotSync(const std::filesystem::path& handheld) {
    // A library that the conduit loads leaves a few bytes of its start-up
    // behind once it is unloaded; in sanitizer builds that would fail the
    // sync itself.
    const std::string command = "ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0\" '" +
                                std::string(WEXAL_HOTSYNC_PROGRAM) + "' --handheld '" +
                                handheld.string() + "' --conduit '" + WEXAL_CONDUIT_LIBRARY +
                                "' 2>&1 </dev/null";
    HotSyncRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) {
        run.output.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace wexal::testing
