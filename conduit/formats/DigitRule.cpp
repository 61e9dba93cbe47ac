#include "conduit/formats/DigitRule.h"

#include <algorithm>

#include "conduit/formats/LeadingNumber.h"

std::int64_t SettleDigitCount(const DigitRule& rule, std::string_view digitsText) {
    const std::int64_t count = LeadingInteger(digitsText);
    if (count > rule.highest) {
        return rule.highest;
    }
    if (count == 0) {
        return rule.zeroBecomes;
    }
    return count;
}

std::string_view CutReading(std::string_view line, const ReadingRule& rule, std::int64_t count) {
    if (rule.cap > 0) {
        count = std::min(count, rule.cap);
    }
    if (count <= 0) {
        return {};
    }
    const auto length = static_cast<std::size_t>(count);
    std::size_t start = rule.column;
    std::size_t take = length;
    if (rule.anchor == ReadingAnchor::EndsAt) {
        // A count reaching left of column 0 keeps what the line has there.
        const std::size_t pastEnd = rule.column + 1;
        start = pastEnd >= length ? pastEnd - length : 0;
        take = pastEnd - start;
    }
    if (start >= line.size()) {
        return {};
    }
    return line.substr(start, take);
}
