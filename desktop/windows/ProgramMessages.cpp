#include "desktop/windows/ProgramMessages.h"

#include <QApplication>
#include <QMessageBox>

#include "desktop/windows/frmMessage.h"

namespace wexal::desktop {

namespace {

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void ProgramMessages::ShowMessage(std::string_view text) {
    frmMessage::Display(text, QApplication::activeWindow());
}

Messages::Answer ProgramMessages::MessageBox(std::string_view text, std::string_view title,
                                             Buttons buttons, Icon icon) {
    QMessageBox box(
        icon == Icon::kInformation ? QMessageBox::Information : QMessageBox::NoIcon, Utf8(title),
        Utf8(text),
        buttons == Buttons::kYesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
        QApplication::activeWindow());
    const int answer = box.exec();
    if (buttons == Buttons::kOk) {
        return Answer::kOk;
    }
    return answer == QMessageBox::Yes ? Answer::kYes : Answer::kNo;
}

}  // namespace wexal::desktop
