#include "desktop/windows/frmDatePrompt.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "desktop/core/ProgramIdentity.h"
#include "desktop/core/ShortDate.h"

namespace wexal::desktop {

frmDatePrompt::frmDatePrompt(const Clock& clock, QWidget* parent)
    : QDialog(parent),
      Calendar1(new QCalendarWidget(this)),
      btnOK(new QPushButton(tr("&OK"), this)),
      btnCancel(new QPushButton(tr("&Cancel"), this)),
      clock_(clock) {
    setObjectName(QStringLiteral("frmDatePrompt"));
    setWindowTitle(QString::fromUtf8(kProgramTitle.data(), kProgramTitle.size()));
    Calendar1->setObjectName(QStringLiteral("Calendar1"));
    Calendar1->setGridVisible(true);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnOK->setDefault(true);
    btnCancel->setAutoDefault(false);
    connect(btnOK, &QPushButton::clicked, this, [this] {
        mOK = true;
        accept();
    });
    // Esc and the close box reject as Cancel does.
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(this, &QDialog::rejected, this, [this] { mOK = false; });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Calendar1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void frmDatePrompt::SetCalendarDate(const std::string& value) {
    std::optional<CalendarDate> date = ParseShortDate(value);
    if (!date) {
        const LocalDateTime now = clock_.Now();
        date = CalendarDate{now.Year, now.Month, now.Day};
    }
    Calendar1->setSelectedDate(QDate(date->Year, date->Month, date->Day));
}

bool frmDatePrompt::DatePrompt(std::string& value) {
    SetCalendarDate(value);
    mOK = false;
    exec();
    if (mOK) {
        const QDate chosen = Calendar1->selectedDate();
        value = FormatShortDate({chosen.year(), chosen.month(), chosen.day()});
    }
    return mOK;
}

}  // namespace wexal::desktop
