#include "ui/dialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace ui {
namespace {

QtDialogs desktopDialogs;
Dialogs* current = &desktopDialogs;

QMessageBox::Icon toQt(Icon icon) {
    switch (icon) {
    case Icon::Error: return QMessageBox::Critical;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Information: return QMessageBox::Information;
    case Icon::Question: return QMessageBox::Question;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

QWidget* activeWindow() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

}  // namespace

void QtDialogs::message(const QString& text, const QString& caption, Icon icon) {
    QMessageBox box(toQt(icon), caption, text, QMessageBox::Ok, activeWindow());
    box.exec();
}

bool QtDialogs::question(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    activeWindow());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void QtDialogs::standardError(const QString& text) {
    message(text, errorCaption, Icon::Error);
}

Dialogs& dialogs() { return *current; }

void setDialogs(Dialogs* dialogs) { current = dialogs ? dialogs : &desktopDialogs; }

void showError(const QString& text, const QString& caption) {
    dialogs().message(text, caption, Icon::Error);
}

bool confirmDelete(const QString& text) { return dialogs().question(text, deleteCaption); }

}  // namespace ui
