// One HotSync as the office runs it: the sync manager stand-in (hotsync)
// loading the conduit library, in a process of its own. The test defines
// WEXAL_HOTSYNC_PROGRAM and WEXAL_CONDUIT_LIBRARY.
#pragma once

#include <filesystem>
#include <string>

#include "tests/support/Commands.h"

namespace wexal::testing {

using HotSyncRun = CommandRun;

inline HotSyncRun RunHotSync(const std::filesystem::path& handheld) {
    // A library that the conduit loads leaves a few bytes of its start-up
    // behind once it is unloaded; in sanitizer builds that would fail the
    // sync itself.
    return Execute("ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0\" " +
                   Quote(WEXAL_HOTSYNC_PROGRAM) + " --handheld " + Quote(handheld) + " --conduit " +
                   Quote(WEXAL_CONDUIT_LIBRARY));
}

}  // namespace wexal::testing
