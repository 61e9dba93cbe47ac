// A route file claimed by the sync that downloads it: renamed, in its own
// folder, to a name of the conduit's own before it is read, so that what the
// sync reads and then moves into the history is the file it took, whatever
// the billing system writes under the route file's name meanwhile.
//
//   <route file>.downloading  taken; its meters are not yet all on the handheld
//   <route file>.downloaded   every meter reached the handheld; its move into
//                             the history is still to be made
//
// A file left under one of these names by a sync that stopped is found by
// the next one: a downloading file is downloaded again, a downloaded one is
// only moved into the history.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

std::string DownloadingName(const std::string& routeFile);
std::string DownloadedName(const std::string& routeFile);

// The route file whose claimed name `path` is; `path` itself when it is no
// claimed name.
std::string ClaimedRouteFile(std::string_view path);

// Renames the route file to its downloading name: 0, or the errno of the
// failure (ENOENT: there is none).
int ClaimRouteFile(const std::string& routeFile);

// Gives a claimed file back under the route file's name, unless another file
// took that name meanwhile: then it stays claimed (logged, activity 22) and
// the next sync downloads it first.
void GiveBackRouteFile(const std::string& downloading);

// Moves a route file whose every meter reached the handheld into the history
// under `baseName` (RotateIntoHistory). A claimed file is first renamed to
// its downloaded name; when the history cannot take it, it stays so, which
// keeps it from every later download (logged, activity 22). 0 when the file
// reached the history, -1 when it did not.
std::int32_t MoveDownloadedIntoHistory(const std::string& path, const std::string& baseName);
