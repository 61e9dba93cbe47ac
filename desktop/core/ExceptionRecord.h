// One line of the exceptions-capture file that the conduit appends to: the
// fields the exceptions report reads, at their fixed byte columns.
#pragma once

#include <string>
#include <string_view>

namespace wexal::desktop {

// Bytes of a capture line that make the key looked up in the readings file.
inline constexpr std::size_t kExceptionKeyWidth = 17;

// The fields as UTF-8 texts without the blanks around them; columns beyond
// the end of a short line give empty fields.
struct ExceptionRecord {
    std::string Service;
    std::string Tag;
    std::string Serial;
    std::string Type;
    std::string Previous;
    std::string ExpectHi;
    std::string ExpectLo;
    std::string Current;  // empty when the meter was not read
    std::string Date;
    std::string Time;
    std::string Owner;
    std::string Location;
    std::string Message;
    std::string Reader;
    std::string ResponseCode;
    std::string ResponseText;
    // The line's first 17 bytes as they stand (blanks included).
    std::string Key;
};

// `line` without its line end.
ExceptionRecord ReadExceptionRecord(std::string_view line);

}  // namespace wexal::desktop
