// The failure of a workbook operation: a description for the user and a
// 16-bit code, the two things an automation error carries.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace wexal::sheet {

// Codes of our own; callers only tell zero from non-zero and show the text.
inline constexpr std::uint16_t kErrorCannotOpen = 1004;
inline constexpr std::uint16_t kErrorNoSuchSheet = 9;
inline constexpr std::uint16_t kErrorBadAddress = 1005;
inline constexpr std::uint16_t kErrorBadValue = 13;
inline constexpr std::uint16_t kErrorCannotSave = 1006;
inline constexpr std::uint16_t kErrorClosed = 1007;
inline constexpr std::uint16_t kErrorLockedCell = 1008;
inline constexpr std::uint16_t kErrorDamaged = 1009;
inline constexpr std::uint16_t kErrorPartTooLarge = 1010;

class SheetError : public std::runtime_error {
  public:
    SheetError(std::uint16_t code, const std::string& description)
        : std::runtime_error(description), code_(code) {}

    std::uint16_t Code() const { return code_; }
    std::string Description() const { return what(); }

  private:
    std::uint16_t code_;
};

}  // namespace wexal::sheet
