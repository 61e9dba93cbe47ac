// The history of used route files: the ten files before the current one
// stay beside it, named base + "01" (newest) to base + "10" (oldest).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// "PriorD", or "P" + the route when the history is kept per route. A path
// separator in the route would put the history into another folder, so it
// becomes '_'.
std::string HistoryBaseName(bool byRoute, const std::string& routeOfFile);

// Whether `name` is one of the history names of `base`: base + "01" to "10".
bool IsHistoryName(std::string_view name, std::string_view base);

// Drops base + "10", moves every older file up by one and the route file to
// base + "01", all in the route file's folder (the current folder when its
// path has no '/' or '\'). No move ever replaces an existing file. The
// first failure is logged (activity 22) and ends the rotation: 0 when the
// route file was moved, -1 when it stayed where it was.
std::int32_t RotateIntoHistory(const std::string& routeFilePath, const std::string& baseName);
