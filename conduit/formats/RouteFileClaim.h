// A route file claimed by the sync that downloads it: renamed, before it is
// read, into the folder ".wexal" beside it, where every name is the
// conduit's own. So what the sync reads and then moves into the history is
// the file it took, whatever the billing system writes under the route
// file's name meanwhile, and no billing file is ever taken for a claimed one.
//
//   .wexal/<route file name>.downloading  taken; its meters are not yet all
//                                         on the handheld
//   .wexal/<route file name>.downloaded   every meter reached the handheld;
//                                         its move into the history is still
//                                         to be made
//   .wexal/<route file name>.refused      refused by its sort order while a
//                                         newer file had the route file's
//                                         name (then .refused2, ...); no
//                                         sync takes it
//   .wexal/<route file name>.incomplete   its download did not finish while
//                                         a newer file had the route file's
//                                         name (numbered likewise); no sync
//                                         takes it
//
// A file left under one of the first two names by a sync that stopped is
// found by the next one: a downloading file is downloaded again, a
// downloaded one is only moved into the history (beside the route file).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The folder of claimed names beside the route file (or in the folder that
// `routeFile` names with a separator at its end).
std::string ClaimFolder(std::string_view routeFile);
std::string DownloadingName(const std::string& routeFile);
std::string DownloadedName(const std::string& routeFile);

// The route file whose claimed name `path` is; `path` itself when it is no
// claimed name.
std::string ClaimedRouteFile(std::string_view path);

// Renames the route file to its downloading name, making the folder of
// claimed names first when it is missing: 0, or the errno of the failure
// (ENOENT: there is no route file) with `reason` saying what failed (the
// folder that refused the move, when one did). The folder and its lock file
// get the route folder's group and permissions, so that every user who may
// write the route folder may claim in it.
int ClaimRouteFile(const std::string& routeFile, std::string& reason);

// Moves the files that the previous version claimed beside the route file
// (`<route file>.downloading`, `.downloaded`) to their claimed names, where
// these are free, so that they are settled as its own claims are. Only for a
// route file named by the configuration: in a folder, a billing file may
// have such a name.
void MoveInEarlierClaims(const std::string& routeFile);

// Gives a claimed file back under the route file's name, unless another file
// took that name meanwhile: then it is set aside as refused or incomplete,
// so that the newer file comes down at the next sync. A refused file that
// cannot be given back for another reason is set aside too (every later
// sync would refuse it again); an incomplete one stays claimed, and the next
// sync downloads it first. Each but a file given back is logged with its
// cause (activity 22). True when it is back under the route file's name.
bool GiveBackRouteFile(const std::string& downloading, bool refused);

// A link under the claimed name `claimed`, made by an earlier version that
// claimed route files that are links, is never read: under the claim turn
// it goes back under the route file's name (where the claim refuses it as a
// link), or, while a newer route file has that name, is set aside as
// refused (logged). True, and nothing done, while a sync of that version
// still downloads through it.
bool SettleClaimedLink(const std::string& claimed);

// Why this sync could not move the claimed file `claimed` on (to its
// downloaded name and into the history, or back under the route file's
// name): the folder that refuses it and why; empty when it can. Downloaded
// by a sync that cannot move it on, a file would come down again with every
// sync.
std::string WhyClaimedFileIsStuck(const std::string& claimed);

// Moves a route file whose every meter reached the handheld into the history
// under `baseName` (RotateIntoHistory). A claimed file is first renamed to
// its downloaded name; when the history cannot take it, it stays so, which
// keeps it from every later download (logged, activity 22). 0 when the file
// reached the history, -1 when it did not.
std::int32_t MoveDownloadedIntoHistory(const std::string& path, const std::string& baseName);
