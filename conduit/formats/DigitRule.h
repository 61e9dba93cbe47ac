// The dial-digit rule: how many characters of a reading field a meter's
// digit count keeps, and where the reading is cut from the line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "conduit/formats/CodecField.h"

struct DigitRule {
    CodecField source = CodecField::Digits;  // the field that holds the count
    std::int64_t highest = 10;               // a larger count becomes this
    std::int64_t zeroBecomes = 9;            // a count of 0 (blank, letters) becomes this
};

// The count for a digits text (its leading integer) under the rule. A
// negative count means the readings are empty.
std::int64_t SettleDigitCount(const DigitRule& rule, std::string_view digitsText);

// How a reading field is placed on the line.
enum class ReadingAnchor : std::uint8_t {
    EndsAt,    // the count's characters end at the column
    StartsAt,  // the count's characters start at the column
};

struct ReadingRule {
    CodecField field;
    std::size_t column;
    ReadingAnchor anchor = ReadingAnchor::EndsAt;
    std::int64_t cap = 0;  // a tighter limit for this reading alone; 0: none
};

// The reading's text on the line for `count` digits: empty for a negative
// count, shorter where the line ends early.
std::string_view CutReading(std::string_view line, const ReadingRule& rule, std::int64_t count);
