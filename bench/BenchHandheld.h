// The handheld side of the benchmarks of whole syncs: a simulated handheld
// whose routes are asked for, read and handed back as the meter reader
// would, and the sync log of a sync.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace wexal::bench {

// A new handheld in `folder`, user "BENCH".
void MakeHandheld(const std::filesystem::path& folder);

// Runs `work` in a session with the handheld, the sync log captured; the
// log's lines as "activity text".
std::vector<std::string> InSession(const std::filesystem::path& handheld,
                                   const std::function<void()>& work);

// Sets every listed route to `status`, as the reader does on asking for
// routes ("D") or handing them back ("U").
void SetEveryRoute(const std::filesystem::path& handheld, const std::string& status);

// Reads every meter of every listed route and hands the routes back: the
// number of meters read.
long ReadEveryMeter(const std::filesystem::path& handheld);

}  // namespace wexal::bench
