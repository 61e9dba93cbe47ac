// Finding the files of a folder by a file pattern, the way the billing
// systems' own platform does it: "*" stands for any characters, "?" for one,
// letters match whatever their case, and a pattern ending in ".*" also
// matches a name without that dot ("*.*" matches every name).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

bool MatchesFilePattern(std::string_view pattern, std::string_view name);

// The regular files of `folder` whose names match `pattern`, sorted by name
// (letters compared without case, as the platform lists them); nullopt when
// the folder cannot be opened. Matching names of anything else but a folder
// (a FIFO, device, socket or dangling link) go to `notRegular` in the same
// order.
std::optional<std::vector<std::string>> FindMatchingFiles(const std::string& folder,
                                                          std::string_view pattern,
                                                          std::vector<std::string>& notRegular);

// Sorts names as the platform lists a folder (as FindMatchingFiles does).
void SortAsListed(std::vector<std::string>& names);
