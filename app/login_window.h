#pragma once

#include "ui/form.h"

class QLineEdit;
class QPushButton;
class QTimer;
struct Roster;

// "Авторизация (build: 20240214.80342)": the caption that shows which build is running.
QString loginCaption(int buildDate, int buildTime);

// The login window: the first window of the run and its main window. The word typed here
// chooses the role, which decides for the whole run which controls of the journal and of the
// summary reports stay enabled. Closing it ends the run.
class TForm23 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm23(Roster& roster);

    QLineEdit* Edit1;
    QPushButton* Button1;   // "Вход"
    QPushButton* Button2;   // "Отмена"
    QTimer* Timer1;         // ends the run 5 seconds after the version check refused the build

    // Runs the version check, then shows the build in the caption.
    void formActivate() override;

    void Button1Click();    // login

    void reject() override;   // "Отмена", Esc and the close box end the run

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool applyRole(const QString& word);

    Roster& roster_;
};
