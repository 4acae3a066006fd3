#include "tests/support/login.h"

#include "app/login_window.h"
#include "journal/journal_window.h"
#include "tests/support/scripted_ui.h"
#include "ui/roster.h"

#include <QLineEdit>
#include <QPushButton>

namespace testing_support {

void loginAs(Roster& roster, ScriptedUi& ui, const QString& word,
             std::function<void(TForm1&)> whileShown) {
    ui.modal.expect(QStringLiteral("Form1"), [&roster, whileShown](ui::Form&) {
        if (whileShown) whileShown(*roster.Form1);
    });
    roster.Form23->Edit1->setText(word);
    roster.Form23->Button1->click();
}

}  // namespace testing_support
