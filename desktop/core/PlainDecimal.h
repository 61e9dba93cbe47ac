// Numbers written for people and for the conduit alike: plain decimal, never
// an exponent.
#pragma once

#include <string>

namespace wexal::desktop {

// `value` with "." as the decimal point and the fewest digits that give the
// same number back, without an exponent and without a point for whole
// numbers: 10 gives "10", 12.5 "12.5", 1E+20 "100000000000000000000",
// 0.0001 "0.0001". Negative zero gives "0". `value` must be finite.
std::string PlainDecimal(double value);

}  // namespace wexal::desktop
