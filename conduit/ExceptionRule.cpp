#include "conduit/ExceptionRule.h"

#include "conduit/HHMeter.h"
#include "conduit/formats/LeadingNumber.h"

namespace {

// Compared as whole numbers: "0099" is 99, "12.7" is 12, no digits is 0.
bool OutsideRange(const HHMeter& meter) {
    const std::int64_t reading = LeadingInteger(meter.CurReading);
    return reading > LeadingInteger(meter.MaxReading) || reading < LeadingInteger(meter.MinReading);
}

}  // namespace

bool IsSingleChar(const std::string& text, char letter) {
    return text.size() == 1 && text.front() == letter;
}

bool MeetsExceptionRule(ExceptionRule rule, const HHMeter& meter) {
    const bool markedOrAnswered = IsSingleChar(meter.Status, 'E') || !meter.ResponseText.empty();
    const bool unread = IsSingleChar(meter.Status, 'U');
    switch (rule) {
        case ExceptionRule::A:
            return markedOrAnswered;
        case ExceptionRule::B:
            return markedOrAnswered || unread;
        case ExceptionRule::C:
            return markedOrAnswered || unread || OutsideRange(meter);
    }
    return false;
}
