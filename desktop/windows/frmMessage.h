// The program's own message window: the text and an OK button under the
// program's title. Every ShowMessage of the program lands here.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <string_view>

namespace wexal::desktop {

class frmMessage final : public QDialog {
    Q_OBJECT

  public:
    explicit frmMessage(QWidget* parent = nullptr);

    // Shows `Message` modally in a new window over `owner` and returns once
    // the user has closed it.
    static void Display(std::string_view Message, QWidget* owner);

    // Captions the window and puts the text in; line breaks (CR LF, LF or
    // CR) show as such.
    void SetMessage(std::string_view Message);

    QLabel* lMessage;
    QPushButton* btnOK;
};

}  // namespace wexal::desktop
