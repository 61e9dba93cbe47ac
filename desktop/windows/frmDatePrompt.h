// A calendar in which the user picks a date (the grid's date cells use it).
#pragma once

#include <QCalendarWidget>
#include <QDialog>
#include <QPushButton>
#include <string>

#include "desktop/core/Clock.h"

namespace wexal::desktop {

class frmDatePrompt final : public QDialog {
    Q_OBJECT

  public:
    explicit frmDatePrompt(const Clock& clock, QWidget* parent = nullptr);

    // Shows the calendar at `value` (a short date; today when it is blank or
    // no date) modally. OK: `value` becomes the chosen date in the short
    // form ("1/2/2027") and the result is true. Cancel, Esc or the close
    // box: `value` stays and the result is false. The window stays, hidden.
    bool DatePrompt(std::string& value);

    // Puts the calendar at `value` as DatePrompt does, without showing it.
    void SetCalendarDate(const std::string& value);

    QCalendarWidget* Calendar1;
    QPushButton* btnOK;
    QPushButton* btnCancel;

  private:
    const Clock& clock_;
    bool mOK = false;
};

}  // namespace wexal::desktop
