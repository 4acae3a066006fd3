#pragma once

#include <QString>

// Every message box of the program goes through here, so that tests can answer them.
namespace ui {

enum class Icon { None, Error, Warning, Information, Question };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A message with one OK button.
    virtual void message(const QString& text, const QString& caption, Icon icon) = 0;
    // A question with Yes and No buttons and a question icon; true on Yes.
    virtual bool question(const QString& text, const QString& caption) = 0;
    // The box for an error no operation handled: a database error, say, with the server's text.
    virtual void standardError(const QString& text) = 0;
};

// Message boxes of the desktop.
class QtDialogs : public Dialogs {
public:
    void message(const QString& text, const QString& caption, Icon icon) override;
    bool question(const QString& text, const QString& caption) override;
    void standardError(const QString& text) override;
};

Dialogs& dialogs();
void setDialogs(Dialogs* dialogs);   // nullptr restores the desktop's boxes

// The two boxes every window uses: an error the user can correct, and a question before a delete.
inline const QString errorCaption = QStringLiteral("Ошибка");
inline const QString deleteCaption = QStringLiteral("Удаление");
void showError(const QString& text, const QString& caption = errorCaption);
bool confirmDelete(const QString& text);

}  // namespace ui
