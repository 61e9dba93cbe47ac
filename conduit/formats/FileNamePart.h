// Texts from route files that become part of a file name (the history of used
// route files, readings files named per route): they must name a file in the
// folder meant, never a file elsewhere.
#pragma once

#include <string>
#include <string_view>

// A path separator ('/' or '\') would put the file into another folder, so
// each becomes '_'.
std::string WithoutPathSeparators(std::string text);

// "." and ".." name a folder (the one meant or the one above it), never a
// file in it.
bool NamesAFolder(std::string_view text);
