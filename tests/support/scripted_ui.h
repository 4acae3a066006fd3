#pragma once

#include "ui/dialogs.h"
#include "ui/modal.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace ui { class Form; }

namespace testing_support {

// Plays the user at the message boxes: records every box shown and answers questions from a
// queue. A question with no answer queued is answered No and recorded as unexpected.
class ScriptedDialogs : public ui::Dialogs {
public:
    enum class Kind { Message, Question, StandardError };
    struct Shown {
        Kind kind;
        QString text;
        QString caption;
        ui::Icon icon;
    };

    void message(const QString& text, const QString& caption, ui::Icon icon) override;
    bool question(const QString& text, const QString& caption) override;
    void standardError(const QString& text) override;

    void answer(bool yes) { answers_.push_back(yes); }

    const std::vector<Shown>& shown() const { return shown_; }
    QStringList texts() const;
    bool unexpectedQuestion() const { return unexpected_; }
    bool allAnswered() const { return answers_.empty(); }
    void clear() { shown_.clear(); }
    // Drops the answers no question asked for: an operation that failed before its question.
    void forgetAnswers() { answers_.clear(); }

private:
    std::vector<Shown> shown_;
    std::deque<bool> answers_;
    bool unexpected_ = false;
};

// Plays the user in modal windows: each window shown gets the next scripted action, which must
// be meant for it (set its fields, press its buttons). The window is shown, activated, played
// and returns its result; no event loop waits for a person.
class ScriptedModal : public ui::ModalRunner {
public:
    using Action = std::function<void(ui::Form&)>;

    void expect(const QString& windowName, Action action);
    int run(ui::Form& form) override;

    const QStringList& shownWindows() const { return shownWindows_; }
    const QStringList& mismatches() const { return mismatches_; }
    bool allPlayed() const { return script_.empty(); }
    // Drops the scripts of windows that never opened: an operation that failed before showing them.
    void forgetScript() { script_.clear(); }

private:
    std::deque<std::pair<QString, Action>> script_;
    QStringList shownWindows_;
    QStringList mismatches_;
};

// Installs the scripted doubles, a quit recorder and a fixed "today" for one test, so that no test
// sees the machine's date (a test that needs another day sets it with ui::setToday); restores the
// desktop's on destruction.
class ScriptedUi {
public:
    ScriptedUi();
    ~ScriptedUi();

    static inline const QDate fixedToday{2026, 12, 8};   // a Tuesday

    ScriptedDialogs dialogs;
    ScriptedModal modal;
    int quitRequests = 0;
};

}  // namespace testing_support
