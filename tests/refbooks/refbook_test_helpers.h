#pragma once

// Reaching the controls of a reference-book window the way a user sees them: by their names.

#include "tests/support/scripted_ui.h"
#include "ui/data_grid.h"
#include "ui/form.h"

#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

namespace refbook_tests {

template <class Control> Control* control(QWidget& window, const char* name) {
    auto* found = window.findChild<Control*>(QString::fromLatin1(name));
    if (!found) ADD_FAILURE() << window.objectName().toStdString() << " has no " << name;
    return found;
}

inline QPushButton* button(QWidget& window, const char* name) { return control<QPushButton>(window, name); }
inline QLineEdit* lineEdit(QWidget& window, const char* name) { return control<QLineEdit>(window, name); }
inline void click(QWidget& window, const char* name) { button(window, name)->click(); }

// Types into a box key by key, as the user does, so that key filters and validators take part.
// Any letter, Cyrillic ones too: each key carries the character it types.
inline void type(QWidget& window, const char* box, const QString& keys) {
    QLineEdit* target = lineEdit(window, box);
    for (const QChar c : keys)
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
}
inline void press(QWidget& window, const char* box, Qt::Key key) {
    QTest::keyClick(lineEdit(window, box), key);
}

// The texts of one column of the list's grid, top to bottom, blanks trimmed.
inline QStringList listed(QWidget& window, int column = 0) {
    const QAbstractItemModel* model = control<ui::DataGrid>(window, "DBGrid1")->model();
    QStringList out;
    for (int row = 0; row < model->rowCount(); ++row)
        out << model->data(model->index(row, column)).toString().trimmed();
    return out;
}

// The one box shown, checked as an error the user can correct.
inline void expectOnlyError(const testing_support::ScriptedDialogs& dialogs, const QString& text) {
    using testing_support::ScriptedDialogs;
    ASSERT_EQ(dialogs.shown().size(), 1u) << dialogs.texts().join(u'|').toStdString();
    const ScriptedDialogs::Shown& box = dialogs.shown()[0];
    EXPECT_EQ(box.kind, ScriptedDialogs::Kind::Message);
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, QStringLiteral("Ошибка"));
    EXPECT_EQ(box.icon, ui::Icon::Error);
}

inline void doubleClickGrid(QWidget& window) { emit control<ui::DataGrid>(window, "DBGrid1")->dblClick(); }

}  // namespace refbook_tests
