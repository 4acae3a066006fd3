#include "tests/support/scripted_ui.h"

#include "ui/clock.h"
#include "ui/form.h"
#include "ui/guard.h"
#include "ui/quit.h"

namespace testing_support {

void ScriptedDialogs::message(const QString& text, const QString& caption, ui::Icon icon) {
    shown_.push_back({Kind::Message, text, caption, icon});
}

bool ScriptedDialogs::question(const QString& text, const QString& caption) {
    shown_.push_back({Kind::Question, text, caption, ui::Icon::Question});
    if (answers_.empty()) {
        unexpected_ = true;
        return false;
    }
    const bool yes = answers_.front();
    answers_.pop_front();
    return yes;
}

void ScriptedDialogs::standardError(const QString& text) {
    shown_.push_back({Kind::StandardError, text, QString(), ui::Icon::Error});
}

QStringList ScriptedDialogs::texts() const {
    QStringList out;
    for (const Shown& s : shown_) out << s.text;
    return out;
}

void ScriptedModal::expect(const QString& windowName, Action action) {
    script_.emplace_back(windowName, std::move(action));
}

int ScriptedModal::run(ui::Form& form) {
    shownWindows_ << form.objectName();
    form.setResult(0);
    form.show();
    ui::runGuarded([&form] { form.formActivate(); });
    if (script_.empty() || script_.front().first != form.objectName()) {
        mismatches_ << form.objectName();
    } else {
        const Action action = std::move(script_.front().second);
        script_.pop_front();
        ui::runGuarded([&] { action(form); });
    }
    if (form.isVisible()) form.hide();
    return form.result();
}

ScriptedUi::ScriptedUi() {
    ui::setDialogs(&dialogs);
    ui::setModalRunner(&modal);
    ui::setQuitHandler([this] { ++quitRequests; });
    ui::setToday(fixedToday);
}

ScriptedUi::~ScriptedUi() {
    ui::setDialogs(nullptr);
    ui::setModalRunner(nullptr);
    ui::setQuitHandler({});
    ui::setToday(QDate());
}

}  // namespace testing_support
