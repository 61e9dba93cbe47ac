// The sync log: one line per entry, with a timestamp and the activity number,
// appended to the user's sync log file and echoed to the sync manager.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

extern "C" {
#endif

// Adds one entry. `reserved` is 0. Returns 0, or -1 when the log file could
// not be written (the entry still reaches the echo and the run's entries).
int32_t LogAddEntry(const char* text, int32_t activity, int32_t reserved);

#ifdef __cplusplus
}

namespace wexal::synclog {

struct Entry {
    std::string text;
    int32_t activity = 0;
};

// Starts a run: entries go to `logFile` (appended, created with its folder
// when missing) and to `echo` when it is set. Before Begin (and after End)
// entries go to standard error only.
void Begin(const std::filesystem::path& logFile, std::function<void(const std::string& line)> echo);
// Ends the run; returns its entries in order.
std::vector<Entry> End();
// The entries added since Begin.
std::vector<Entry> Entries();

// The text of one log file line, without its line end:
// "YYYY-MM-DD HH:MM:SS [activity] text" in local time.
std::string FormatLine(const Entry& entry);

}  // namespace wexal::synclog
#endif
