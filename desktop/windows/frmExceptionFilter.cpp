#include "desktop/windows/frmExceptionFilter.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <initializer_list>

namespace wexal::desktop {

namespace {

// Twips to pixels: 15 twips to a screen pixel.
QRect Twips(int left, int top, int width, int height) {
    return {left / 15, top / 15, width / 15, height / 15};
}

}  // namespace

frmExceptionFilter::frmExceptionFilter(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmExceptionFilter"));
    setWindowTitle(QStringLiteral("Exception Reporting Filter"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(4680 / 15, 3195 / 15);

    Label1 = new QLabel(QStringLiteral("Include these exceptions:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(Twips(360, 240, 2055, 255));

    const std::array<const char*, 3> captions = {
        "Missed Meters", "Reader Messages and Response Codes", "Readings outside of Hi/Low Limits"};
    const std::array<const char*, 3> tags = {"MISSED", "MESSAGES", "OUTOFBOUNDS"};
    for (std::size_t i = 0; i < chkFilter.size(); ++i) {
        chkFilter[i] = new QCheckBox(QString::fromLatin1(captions[i]), this);
        chkFilter[i]->setObjectName(QStringLiteral("chkFilter%1").arg(i));
        chkFilter[i]->setProperty("Tag", QString::fromLatin1(tags[i]));
        chkFilter[i]->setGeometry(Twips(600, 600 + 360 * static_cast<int>(i), 3255, 255));
    }

    const std::array<const char*, 2> buttonCaptions = {"Continue", "Cancel"};
    const std::array<const char*, 2> buttonTags = {"CONTINUE", "CANCEL"};
    for (std::size_t i = 0; i < btnAction.size(); ++i) {
        btnAction[i] = new QPushButton(QString::fromLatin1(buttonCaptions[i]), this);
        btnAction[i]->setObjectName(QStringLiteral("btnAction%1").arg(i));
        btnAction[i]->setProperty("Tag", QString::fromLatin1(buttonTags[i]));
        btnAction[i]->setGeometry(Twips(720 + 1800 * static_cast<int>(i), 2400, 1095, 375));
        const QString word = QString::fromLatin1(buttonTags[i]);
        connect(btnAction[i], &QPushButton::clicked, this, [this, word] { Act(word); });
    }

    // The twip sizes were made for a smaller font: texts that do not fit
    // widen their control, and the dialog with them.
    int right = width();
    for (QWidget* control :
         std::initializer_list<QWidget*>{Label1, chkFilter[0], chkFilter[1], chkFilter[2]}) {
        control->resize(std::max(control->width(), control->sizeHint().width()),
                        std::max(control->height(), control->sizeHint().height()));
        right = std::max(right, control->geometry().right() + control->x());
    }
    setFixedSize(right, height());
}

void frmExceptionFilter::Act(const QString& word) {
    mAction = word.toStdString();
    hide();
    done(QDialog::Accepted);
}

void frmExceptionFilter::closeEvent(QCloseEvent* event) {
    // The close box leaves the choice unmade: the report is not wanted.
    mAction = "CANCEL";
    QDialog::closeEvent(event);
}

std::string frmExceptionFilter::Display(bool& MissedReadings, bool& Messages, bool& OutofBounds) {
    for (QCheckBox* box : chkFilter) {
        box->setChecked(true);
    }
    mAction.clear();
    exec();
    // Escape rejects the dialog through the cancel button's role.
    if (mAction.empty()) {
        mAction = "CANCEL";
    }
    if (mAction != "CANCEL") {
        for (QCheckBox* box : chkFilter) {
            const QString tag = box->property("Tag").toString();
            const bool ticked = box->isChecked();
            if (tag == QLatin1String("MISSED")) {
                MissedReadings = ticked;
            } else if (tag == QLatin1String("MESSAGES")) {
                Messages = ticked;
            } else if (tag == QLatin1String("OUTOFBOUNDS")) {
                OutofBounds = ticked;
            }
            box->setChecked(true);
        }
    }
    return mAction;
}

}  // namespace wexal::desktop
