// Which captured meters the exceptions report includes, and the reason it
// prints beside each.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "desktop/core/ExceptionRecord.h"
#include "desktop/core/ReadingsKeys.h"

namespace wexal::desktop {

// The kinds of exception the user chose to include.
struct ExceptionKinds {
    bool MissedReadings = true;
    bool Messages = true;
    bool OutofBounds = true;
};

struct ExceptionVerdict {
    bool Included = false;
    // "Missed", the response text (else the response code), "High" or "Low";
    // a later test that holds replaces the reason of an earlier one.
    std::string Reason;
};

// A meter is included when one chosen kind holds:
// - missed: not read, and its key is not present in the readings file;
// - messages: a response text or code was given;
// - out of bounds: read, and the reading lies outside the range between the
//   two expected readings, whichever order they stand in (an equal pair gives
//   no range).
ExceptionVerdict JudgeException(const ExceptionRecord& record, const ExceptionKinds& kinds,
                                const ReadingsKeys& readings);

// The decimal number a reading field begins with (0 when none; no blanks
// inside, no "&H" or "D" exponent), to the nearest whole number, a half going
// to the even neighbour; numbers beyond 64 bits stop at the largest one of
// their sign.
std::int64_t ReadingValue(std::string_view field);

}  // namespace wexal::desktop
