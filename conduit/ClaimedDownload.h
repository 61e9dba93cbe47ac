// One route file's turn in a sync: claimed (formats/RouteFileClaim.h), its
// sort order verified, downloaded and moved into the history, with what an
// earlier sync left under the claimed names settled first.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

class WexalConduit;
struct TextFileRoutines;
struct TextFileVendor;

// Takes the route file `routeFile` of the interface `number` through its
// turn: its sort order checked, then its download. A file left downloaded by
// a sync that ended is only moved into the history (while it cannot be, the
// route file waits; logged), and one left claimed is downloaded again before
// the route file. A claimed file in the turn of a sync still running (of
// another handheld) is left to it, and the route file with it (logged); so
// is the route file while anything but a regular file has a claimed name
// (logged), while a claimed file cannot be opened or locked (logged), and
// while a file left claimed lies where this sync could not move it on
// (logged). A route file that is a symbolic link is never claimed (logged).
// `listed`: the route file was found by a folder scan, where a file gone
// before its claim was taken by another sync (logged), rather than named by
// the configuration, where files that the previous version claimed beside it
// are taken in first (MoveInEarlierClaims). False when the sync is to stop:
// the check refused the file, or a file to check could not be taken.
bool DownloadClaimedRouteFile(WexalConduit& conduit, const TextFileRoutines& routines,
                              std::int32_t number, const std::string& routeFile,
                              std::uint32_t retainByRoute, bool listed);

// The route that the download takes a file's per-route history name from:
// that of the first record that gives one, as the vendor's codec reads the
// file. Nothing when the file cannot be opened.
std::optional<std::string> RouteOfFile(const TextFileVendor& vendor, const std::string& path);
