// "Exception Reporting Filter": the kinds of exception the exceptions report
// includes.
#pragma once

#include <QDialog>
#include <array>
#include <string>

class QCheckBox;
class QLabel;
class QPushButton;

namespace wexal::desktop {

class frmExceptionFilter final : public QDialog {
    Q_OBJECT

  public:
    explicit frmExceptionFilter(QWidget* parent = nullptr);

    // Ticks the three boxes and waits for the user. "CONTINUE": the arguments
    // receive the ticks. "CANCEL" (also Escape and the close box): they keep
    // the caller's values.
    std::string Display(bool& MissedReadings, bool& Messages, bool& OutofBounds);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void Act(const QString& word);

    QLabel* Label1;
    std::array<QCheckBox*, 3> chkFilter{};
    std::array<QPushButton*, 2> btnAction{};
    std::string mAction;
};

}  // namespace wexal::desktop
