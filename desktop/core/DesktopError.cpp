#include "desktop/core/DesktopError.h"

#include <utility>

namespace wexal::desktop {

namespace {

// "Type mismatch (AutoOffMinutes=abc in /home/x/WexalDT.cfg)", for logs and
// what(); the start-up message uses Number() and Description() alone.
std::string Explain(const std::string& description, const std::string& key,
                    const std::string& value, const std::string& file) {
    if (key.empty() && file.empty()) {
        return description;
    }
    std::string text = description + " (";
    if (!key.empty()) {
        text += key + "=" + value;
    }
    if (!file.empty()) {
        text += (key.empty() ? "in " : " in ") + file;
    }
    return text + ")";
}

}  // namespace

DesktopError::DesktopError(std::int32_t number, std::string description, std::string key,
                           std::string value, std::string file)
    : std::runtime_error(Explain(description, key, value, file)),
      number_(number),
      description_(std::move(description)),
      key_(std::move(key)),
      value_(std::move(value)),
      file_(std::move(file)) {}

std::string ErrorDescription(std::int32_t number) {
    switch (number) {
        case kErrorOverflow:
            return "Overflow";
        case kErrorSubscriptOutOfRange:
            return "Subscript out of range";
        case kErrorInvalidPropertyValue:
            return "Invalid property value";
        case kErrorTypeMismatch:
            return "Type mismatch";
        default:
            return "Application-defined or object-defined error";
    }
}

}  // namespace wexal::desktop
