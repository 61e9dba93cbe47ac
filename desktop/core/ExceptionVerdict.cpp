#include "desktop/core/ExceptionVerdict.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <limits>

#include "desktop/core/DesktopError.h"
#include "desktop/core/NumericText.h"

namespace wexal::desktop {

namespace {

// 2^63: the first double beyond the 64-bit range.
constexpr double kBeyond64Bits = 9223372036854775808.0;

bool Negative(std::string_view field) {
    const std::size_t first = field.find_first_not_of(" \t");
    return first != std::string_view::npos && field[first] == '-';
}

}  // namespace

std::int64_t ReadingValue(std::string_view field) {
    double value = 0;
    try {
        value = LeadingDecimalValue(field);
    } catch (const DesktopError&) {
        // Beyond the range of a double: a reading no meter shows, but it must
        // not refuse the report.
        value = Negative(field) ? -kBeyond64Bits : kBeyond64Bits;
    }
    const int mode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(mode);
    if (rounded >= kBeyond64Bits) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (rounded <= -kBeyond64Bits) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return static_cast<std::int64_t>(rounded);
}

ExceptionVerdict JudgeException(const ExceptionRecord& record, const ExceptionKinds& kinds,
                                const ReadingsKeys& readings) {
    ExceptionVerdict verdict;
    const bool read = !record.Current.empty();
    if (kinds.MissedReadings && !read && !readings.Present(record.Key)) {
        verdict.Included = true;
        verdict.Reason = "Missed";
    }
    if (kinds.Messages && (!record.ResponseText.empty() || !record.ResponseCode.empty())) {
        verdict.Included = true;
        verdict.Reason = record.ResponseText.empty() ? record.ResponseCode : record.ResponseText;
    }
    if (kinds.OutofBounds && read) {
        const std::int64_t hi = ReadingValue(record.ExpectHi);
        const std::int64_t lo = ReadingValue(record.ExpectLo);
        const std::int64_t cur = ReadingValue(record.Current);
        if (hi != lo) {
            const std::int64_t top = std::max(hi, lo);
            const std::int64_t bottom = std::min(hi, lo);
            if (cur > top) {
                verdict.Included = true;
                verdict.Reason = "High";
            } else if (cur < bottom) {
                verdict.Included = true;
                verdict.Reason = "Low";
            }
        }
    }
    return verdict;
}

}  // namespace wexal::desktop
