#include "desktop/core/ConduitValueLimits.h"

#include <array>

namespace wexal::desktop {

namespace {

constexpr std::array<std::string_view, 7> kPlainKeys = {
    "RoutePath", "ReadingsPath", "ExceptionsFile", "Server", "UserName", "Password", "Database"};

bool IsSlotKey(std::string_view key, std::string_view stem) {
    return key.size() == stem.size() + 1 && key.substr(0, stem.size()) == stem &&
           key.back() >= '0' && key.back() <= '4';
}

std::string_view WithoutBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::optional<std::size_t> ConduitValueLimit(std::string_view key) {
    bool read = IsSlotKey(key, "Workbook") || IsSlotKey(key, "Worksheet");
    for (std::string_view plain : kPlainKeys) {
        read = read || key == plain;
    }
    if (!read) {
        return std::nullopt;
    }
    // The line is "Key=value".
    return kConduitLinePiece - (key.size() + 1);
}

std::string ConduitValueRefusal(std::string_view key, std::string_view value) {
    if (value.find_first_of("\r\n") != std::string_view::npos) {
        return "The value holds a line break, which WexalDT.cfg cannot keep. Enter it on one "
               "line.";
    }
    const std::optional<std::size_t> limit = ConduitValueLimit(key);
    const std::size_t length = WithoutBlanks(value).size();
    if (limit && length > *limit) {
        return "The value is too long: the conduit reads at most " + std::to_string(*limit) +
               " bytes of " + std::string(key) + ", and this one has " + std::to_string(length) +
               ".";
    }
    return {};
}

}  // namespace wexal::desktop
