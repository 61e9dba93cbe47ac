// Which uploaded meters go to the exceptions-capture file: each vendor
// follows one of three rules.
#pragma once

#include <string>

class HHMeter;

enum class ExceptionRule {
    A,  // marked as an exception on the handheld, or a response was given
    B,  // rule A, or not read
    C,  // rule B, or the reading lies outside the expected range
};

// True when `text` is exactly the one character `letter` ("R " and "r" are
// not "R").
bool IsSingleChar(const std::string& text, char letter);

// Whether the meter is an exception under `rule`. ResponseText is taken as it
// stands: the caller trims it first.
bool MeetsExceptionRule(ExceptionRule rule, const HHMeter& meter);
