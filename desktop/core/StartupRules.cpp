#include "desktop/core/StartupRules.h"

#include <system_error>

#include "desktop/core/DesktopError.h"
#include "desktop/core/TextCompare.h"

namespace wexal::desktop {

namespace {

constexpr int kErrorOther = 5;

bool HoldsFileNamed(const std::filesystem::path& folder, std::string_view name) {
    std::error_code error;
    if (std::filesystem::is_regular_file(folder / name, error)) {
        return true;
    }
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (EqualIgnoringCase(entry->path().filename().string(), name) &&
            std::filesystem::is_regular_file(entry->path(), error)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool SplashSwitchedOff(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& argument : arguments) {
        line += argument;
        line += ' ';
    }
    for (char& c : line) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return line.find("NOSPLASH") != std::string::npos;
}

std::string MissingRequiredFiles(const std::filesystem::path& folder) {
    std::string message;
    for (std::string_view name : kRequiredFiles) {
        if (!HoldsFileNamed(folder, name)) {
            message += "Required file '" + std::string(name) + "' not found\r\n";
        }
    }
    return message;
}

std::string SubMainText(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const DesktopError& desktop) {
        return std::to_string(desktop.Number()) + desktop.what();
    } catch (const std::exception& other) {
        return std::to_string(kErrorOther) + other.what();
    } catch (...) {
        return std::to_string(kErrorOther) + ErrorDescription(kErrorOther);
    }
}

}  // namespace wexal::desktop
