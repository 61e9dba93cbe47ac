// The history of used route files: the ten files before the current one
// stay beside it, named base + "01" (newest) to base + "10" (oldest).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// "PriorD", or "P" + the route when the history is kept per route, each
// byte of the route that a file name cannot hold everywhere (a separator,
// a NUL, '%'...) written as '%' and two hexadecimal digits: no two routes,
// and no two generations, share a name.
std::string HistoryBaseName(bool byRoute, const std::string& routeOfFile);

// Whether `name` is one of the history names of `base`: base + "01" to "10",
// or base + "11", the oldest while a rotation of a full history is under way.
bool IsHistoryName(std::string_view name, std::string_view base);

// Moves the route file to base + "01" in its folder (the current folder when
// its path has no '/' or '\'), after the files from "01" up to the first
// free name moved up by one. With every name taken, base + "10" makes room:
// set aside as base + "11" and removed only once the route file reached
// "01", so that no history file goes unless the route file takes its place.
// No move ever replaces an existing file; a base name holding a NUL is
// refused. The first failure is logged
// (activity 22) and ends the rotation: 0 when the route file was moved, -1
// when it stayed where it was (a history file may then have moved up into
// the free name). `file`, when given, is what moves in the route file's
// stead: the route file under a name of the sync's own, in another folder.
std::int32_t RotateIntoHistory(const std::string& routeFilePath, const std::string& baseName,
                               const std::string& file = {});

// Whether anything, even a dangling link, has this name.
bool PathExists(const std::string& path);
