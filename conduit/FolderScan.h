// The folder-scan road: interfaces whose route path names a folder and a
// file pattern download every matching route file in turn.
#pragma once

#include <cstdint>
#include <string>

class WexalConduit;
struct TextFileRoutines;
struct TextFileVendor;

// Downloads each file that `routePath` (folder, separator, pattern) matches,
// in name order, each only once its sort order was verified, each through
// its claimed names (ClaimedDownload.h): a file that a sync claimed counts
// as its route file. Used route files of the history are passed over, each
// with a log line. True when every file was taken; false, with the reason
// logged, when the path names no folder and pattern, the folder cannot be
// read, nothing matches, or a file is out of order (it stays).
bool DownloadRouteFolder(WexalConduit& conduit, const TextFileRoutines& routines,
                         std::int32_t number, const std::string& routePath,
                         std::uint32_t retainByRoute);

// Whether the file `name` of `folder` is a used route file that a download
// moved into the history: named "PriorD01" to "PriorD10", or "P" + route +
// "01" to "10" where the route is the one the file itself holds, read with
// the vendor's codec (the history kept per route names files so, and did
// before its names escaped the route's bytes); "11" is
// the oldest while a rotation is under way. Any other name is a route file,
// whatever it looks like.
bool IsRouteFileHistory(const TextFileVendor& vendor, const std::string& folder,
                        const std::string& name);
