#include "desktop/core/ConduitStatus.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string_view>
#include <system_error>

#include "desktop/core/RegistryStrings.h"
#include "platform/syncmgr/ConduitRegistrations.h"
#include "platform/syncmgr/DesktopFolders.h"

namespace wexal::desktop {

namespace fs = std::filesystem;

std::string ConduitStatusText(const ConduitStatusFacts& facts) {
    if (facts.palmDesktopPath.empty()) {
        return "Palm Desktop NOT INSTALLLED!!!!";
    }
    const std::string crlf = "\r\n";
    std::string text = "Palm Desktop software in " + facts.palmDesktopPath + crlf;
    text += "HotSync Version " + facts.hotSyncVersion + crlf;
    text += "Current Wexal Conduit Version " + facts.conduitVersion + crlf;
    if (!facts.registeredIsOurs) {
        if (!facts.registeredConduit.empty()) {
            text +=
                "WARNING: registered conduit is not the one in this application's directory" + crlf;
            text += "Registered conduit is " + facts.registeredConduit +
                    "         Version: " + facts.registeredVersion + crlf;
        } else {
            text += "Conduit is not yet installed" + crlf;
        }
    }
    text += "Current Wexal Unit Date " + facts.unitDate;
    return text;
}

fs::path ConduitFile(const fs::path& programFolder) {
    const fs::path here = programFolder / kConduitFileName;
    const fs::path buildLib = programFolder.parent_path() / "lib" / kConduitFileName;
    std::error_code error;
    if (!fs::exists(here, error) && fs::exists(buildLib, error)) {
        return buildLib;
    }
    return here;
}

fs::path HotSyncProgram(const fs::path& programFolder) {
    const fs::path beside = programFolder / "hotsync";
    std::error_code error;
    if (fs::exists(beside, error)) {
        return beside;
    }
    const char* path = std::getenv("PATH");
    std::string_view folders = path != nullptr ? path : "";
    while (!folders.empty()) {
        const std::size_t colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        if (!folder.empty() && fs::exists(fs::path(folder) / "hotsync", error)) {
            return fs::path(folder) / "hotsync";
        }
        folders = colon == std::string_view::npos ? "" : folders.substr(colon + 1);
    }
    return beside;
}

std::string RegisteredConduit() {
    // The sync manager takes the creator id in either form.
    const std::string number = std::to_string(syncmgr::CreatorFromText("TLWX"));
    for (int n = 1; n <= syncmgr::kMaxApplications; ++n) {
        const std::string key = syncmgr::ApplicationKey(n);
        const std::string creator = GetRegString(HKEY_CURRENT_USER, key, "Creator");
        if (creator == number || creator == "TLWX") {
            return GetRegString(HKEY_CURRENT_USER, key, "Conduit");
        }
    }
    return "";
}

bool SameConduit(const std::string& registered, const fs::path& ours) {
    if (registered.empty()) {
        return false;
    }
    if (fs::path(registered).lexically_normal() == ours.lexically_normal()) {
        return true;
    }
    std::error_code error;
    return fs::equivalent(registered, ours, error);
}

std::optional<std::string> FileDateYymmdd(const fs::path& file) {
    std::error_code error;
    const auto written = fs::last_write_time(file, error);
    if (error || !fs::is_regular_file(file, error)) {
        return std::nullopt;
    }
    const auto system = std::chrono::file_clock::to_sys(written);
    const std::time_t seconds = std::chrono::system_clock::to_time_t(system);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[40];
    std::snprintf(text, sizeof text, "%02d%02d%02d", local.tm_year % 100, local.tm_mon + 1,
                  local.tm_mday);
    return std::string(text);
}

}  // namespace wexal::desktop
