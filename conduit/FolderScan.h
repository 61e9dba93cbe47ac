// The folder-scan road: interfaces whose route path names a folder and a
// file pattern download every matching route file in turn.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class WexalConduit;
struct TextFileRoutines;

// Downloads each file that `routePath` (folder, separator, pattern) matches,
// in name order: the first as it is, each later one only once its sort
// order was verified. True when every file was taken; false, with the
// reason logged, when the path names no folder and pattern, the folder
// cannot be read, nothing matches, or a file is out of order.
bool DownloadRouteFolder(WexalConduit& conduit, const TextFileRoutines& routines,
                         std::int32_t number, const std::string& routePath,
                         std::uint32_t retainByRoute);

// Whether a file name is one of the history names that downloads give used
// route files ("PriorD01" to "PriorD10", "P" + route + "01" to "10").
bool IsRouteFileHistory(std::string_view name);
