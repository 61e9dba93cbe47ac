// What the Installation tab says about the sync manager's installation and
// the registered conduit, and the facts it is built from.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace wexal::desktop {

inline constexpr const char* kConduitFileName = "libWexalCN.so";

struct ConduitStatusFacts {
    std::string palmDesktopPath;    // empty: no Palm Desktop folder
    std::string hotSyncVersion;     // "a.b.c.d" or "Not Found"
    std::string conduitVersion;     // of the conduit file of this program
    bool registeredIsOurs = false;  // the registration names that same file
    std::string registeredConduit;  // empty: nothing registered
    std::string registeredVersion;
    std::string unitDate;  // yymmdd
};

// The status text, lines joined by CR LF.
std::string ConduitStatusText(const ConduitStatusFacts& facts);

// The conduit file L of the program in `programFolder`: there, or in the
// build's lib folder beside it; the first place when neither holds it.
std::filesystem::path ConduitFile(const std::filesystem::path& programFolder);

// The sync manager `hotsync` whose version the status shows: the one beside
// the program, else the first on PATH; the first place when neither exists.
std::filesystem::path HotSyncProgram(const std::filesystem::path& programFolder);

// The `Conduit` value of the first Application1 to Application99 key whose
// `Creator` is the conduit's creator id (as a number or as text); empty when
// none is.
std::string RegisteredConduit();

// True when both name the same file: equal paths, letter case included, or
// one file reached by two paths.
bool SameConduit(const std::string& registered, const std::filesystem::path& ours);

// The file's modification date as yymmdd in local time; nothing when the
// file cannot be read.
std::optional<std::string> FileDateYymmdd(const std::filesystem::path& file);

// What the date shows for a file whose date cannot be read (the zero date,
// 30 December 1899).
inline constexpr const char* kZeroDateYymmdd = "991230";

}  // namespace wexal::desktop
