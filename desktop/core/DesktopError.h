// The one error the desktop core raises: a number and a description as the
// start-up message shows them ("13Type mismatch"), plus where the offending
// value came from so that a person can find and mend it.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace wexal::desktop {

inline constexpr std::int32_t kErrorOverflow = 6;
inline constexpr std::int32_t kErrorSubscriptOutOfRange = 9;
inline constexpr std::int32_t kErrorTypeMismatch = 13;
inline constexpr std::int32_t kErrorInvalidPropertyValue = 380;

class DesktopError : public std::runtime_error {
  public:
    // `key`, `value` and `file` may be empty when the value came from no file.
    DesktopError(std::int32_t number, std::string description, std::string key = {},
                 std::string value = {}, std::string file = {});

    std::int32_t Number() const { return number_; }
    const std::string& Description() const { return description_; }
    const std::string& Key() const { return key_; }
    const std::string& Value() const { return value_; }
    const std::string& File() const { return file_; }

  private:
    std::int32_t number_;
    std::string description_;
    std::string key_;
    std::string value_;
    std::string file_;
};

// The platform's description of the error numbers above.
std::string ErrorDescription(std::int32_t number);

}  // namespace wexal::desktop
