// The calendar in which the user picks a date for a date cell.
#pragma once

#include <string>

namespace wexal::desktop {

class DatePrompter {
  public:
    virtual ~DatePrompter() = default;

    // `value` is blank or a date in the short date form; the calendar opens
    // on it (on today when blank). Confirmed: `value` becomes the chosen date
    // in the short date form and the result is true. Cancelled: false, and
    // `value` is left as it was.
    virtual bool DatePrompt(std::string& value) = 0;
};

}  // namespace wexal::desktop
