#include "refbooks/operation_kind_editor.h"

#include "data/column_sizes.h"
#include "data/data_module.h"
#include "data/sql_text.h"
#include "refbooks/editor_frame.h"
#include "ui/dialogs.h"
#include "ui/entry_checks.h"
#include "ui/guard.h"
#include "ui/roster.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

TForm9::TForm9(Roster& roster)
    : ui::Form(QStringLiteral("Form9"), QStringLiteral("Form9")), dm_(*roster.DataModule6) {
    buildControls();
}

void TForm9::buildControls() {
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(300);
    const refbooks::EditorFrame frame = refbooks::layOutEditor(*this, QStringLiteral("Вид операции"));
    frame.fields->addRow(QStringLiteral("Операция"), Edit1);
    Button1 = frame.Button1;
    Button2 = frame.Button2;
    connect(Button1, &QPushButton::clicked, this, ui::guarded([this] { Button1Click(); }));
}

void TForm9::formActivate() { Edit1->setFocus(); }

void TForm9::Button1Click() {
    const QString name = Edit1->text().trimmed();
    if (name.isEmpty()) {
        ui::showError(QStringLiteral("Все поля должны быть заполнены!"));
        return;
    }
    if (!ui::textFits(name, data::column_sizes::vid, QStringLiteral("Операция"))) return;
    if (dm_.CountCheck(duplicateCheckSql(name), QStringLiteral("Такая операция уже заведена!")) == 1)
        return;
    writeName(name);
    dm_.Vid_oper.reopen();
    accept();
}

// A kind's name is unique whatever its letter case; a renamed kind may keep its own name.
QString TForm9::duplicateCheckSql(const QString& name) const {
    QString sql = QStringLiteral("select count(*) as cnt from accounts_dep.vid_oper where upper(vid)='") +
                  sql::escaped(QLocale().toUpper(name)) + u'\'';
    if (tag() != 1)
        sql += QStringLiteral(" and id<>") +
               sql::integer(dm_.Vid_oper.field(QStringLiteral("id")).asInteger());
    return sql;
}

void TForm9::writeName(const QString& name) {
    data::Dataset& kinds = dm_.Vid_oper;
    if (tag() == 1) kinds.append();
    else kinds.edit();
    kinds.setFieldValue(QStringLiteral("vid"), name);
    try {
        kinds.post();
    } catch (...) {
        // Nothing was written; the list must go on showing its rows as they are, and a second
        // try from this editor starts the row afresh.
        kinds.cancel();
        throw;
    }
}
