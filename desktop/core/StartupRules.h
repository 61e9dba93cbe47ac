// The decisions start-up takes before any window shows: the splash switch,
// the companion files the program needs beside it, and the text of the one
// error message start-up itself shows.
#pragma once

#include <array>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace wexal::desktop {

// True when the arguments (the program's own name not among them), joined and
// taken in upper case, hold "NOSPLASH" anywhere.
bool SplashSwitchedOff(const std::vector<std::string>& arguments);

// The files the Installation tab needs in the program's folder, in the order
// they are checked.
inline constexpr std::array<std::string_view, 4> kRequiredFiles = {
    "libuserdata.so", "libcondinst.so", "wexal.prc", "libcondmgr.so"};

// One line "Required file '<name>' not found" and CR LF for each required file
// that `folder` lacks, in check order; empty when all are there. A file whose
// name differs only in letter case counts (the installer hands over
// "Wexal.prc").
std::string MissingRequiredFiles(const std::filesystem::path& folder);

// The "sub main" message for an error that start-up let through: the error
// number and at once its description (13 type mismatch and 6 overflow of the
// configuration's numbers, 5 for everything else, the registry's own message
// among them).
std::string SubMainText(const std::exception_ptr& error);

}  // namespace wexal::desktop
