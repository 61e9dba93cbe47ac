// Clearing the printed entries from the exceptions-capture file, which the
// conduit appends to on every sync.
//
// Only the lines that were printed go: lines the filter kept out of the report
// and lines a sync appended since printing stay, byte for byte and in order.
// The file is replaced by a new one (never rewritten in place: the conduit's
// upload journal knows the file by device and inode) under the file's
// billing-file lock, so a sync waits for the clearing, or the clearing for the
// sync. A file left with nothing is deleted.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace wexal::desktop {

inline constexpr std::string_view kClearRefusedWhileSyncing =
    "A HotSync is writing the exceptions file; no entries were cleared.";

// The printed lines: position in the file from 0, and the line's bytes with
// their line end as they stood when printed.
using PrintedLines = std::map<std::uint64_t, std::string>;

// Removes every printed line that still stands at its position with the same
// bytes. Throws std::runtime_error with a message for the user, leaving the
// file as it was, when the lock cannot be taken, when a sync's journal
// ("<file>.pending") shows that a sync still owns the file's end
// (kClearRefusedWhileSyncing), or when the file cannot be read or replaced.
// `beforeWaiting` is called once when a sync holds the lock.
void ClearPrintedExceptions(const std::string& captureFile, const PrintedLines& printed,
                            const std::function<void()>& beforeWaiting = {});

}  // namespace wexal::desktop
