#include "refbooks/worker_editor.h"

#include "data/data_module.h"
#include "data/column_sizes.h"
#include "data/sql_text.h"
#include "refbooks/editor_frame.h"
#include "ui/dialogs.h"
#include "ui/entry_checks.h"
#include "ui/guard.h"
#include "ui/lookup_box.h"
#include "ui/modal.h"
#include "ui/roster.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QWheelEvent>

namespace {

const QString captionKey = QStringLiteral("s_caption");

ui::LookupBox* lookupBox(const QString& name, data::Dataset& table, QWidget* parent) {
    auto* box = new ui::LookupBox(name, parent);
    box->setListSource(&table, QStringLiteral("id"), captionKey);
    return box;
}

}  // namespace

TForm2::TForm2(Roster& roster)
    : ui::Form(QStringLiteral("Form2"), QStringLiteral("Работники")),
      department(roster.DataModule6->ADO_DB, QStringLiteral("select * from cmn_department.department")),
      staffpos(roster.DataModule6->ADO_DB, QStringLiteral("select * from hrms_staffpos.staffpos")),
      roles(roster.DataModule6->ADO_DB, QStringLiteral("select * from adm_role.roles")),
      cmd_person(roster.DataModule6->ADO_DB) {
    for (data::Dataset* table : {&department, &staffpos, &roles}) table->setFieldSize(captionKey, 254);
    buildControls();
    watchWheelOverEditor();
}

void TForm2::buildControls() {
    const refbooks::EditorFrame frame = refbooks::layOutEditor(*this, QStringLiteral("Данные о работнике"));
    GroupBox1 = frame.group;
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    Edit1 = new QLineEdit(GroupBox1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(320);
    LCB_department = lookupBox(QStringLiteral("LCB_department"), department, GroupBox1);
    LCB_staffpos = lookupBox(QStringLiteral("LCB_staffpos"), staffpos, GroupBox1);
    LCB_roles = lookupBox(QStringLiteral("LCB_roles"), roles, GroupBox1);
    frame.fields->addRow(QStringLiteral("ФИО"), Edit1);
    frame.fields->addRow(QStringLiteral("Подразделение"), LCB_department);
    frame.fields->addRow(QStringLiteral("Должность"), LCB_staffpos);
    frame.fields->addRow(QStringLiteral("Роль"), LCB_roles);
    Button1 = frame.Button1;
    Button2 = frame.Button2;
    connect(Button1, &QPushButton::clicked, this, ui::guarded([this] { Button1Click(); }));
}

// The wheel reaches whichever control lies under the pointer; the editor takes it first from
// every one of them, so it always steps the focused lookup box.
void TForm2::watchWheelOverEditor() {
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

int TForm2::showForNew() {
    Edit1->clear();
    setWindowTitle(QStringLiteral("Заведение данных нового работника"));
    setTag(NewWorker);
    reopenLookupTables();
    return ui::showModal(*this);
}

int TForm2::showForChange(qint64 id, const QString& fio) {
    setWindowTitle(QStringLiteral("Изменение данных работника"));
    setTag(ChangeWorker);
    reopenLookupTables();
    Edit1->setText(fio);
    workerId = id;
    return ui::showModal(*this);
}

// Other workstations and applications change these tables, so each showing reads them afresh.
void TForm2::reopenLookupTables() {
    for (data::Dataset* table : {&staffpos, &roles, &department}) table->reopen();
}

void TForm2::formActivate() { Edit1->setFocus(); }

void TForm2::Button1Click() {
    const QString name = Edit1->text().trimmed();
    if (name.isEmpty()) {
        ui::showError(QStringLiteral("ФИО нужно заполнить!"));
        return;
    }
    if (!ui::textFits(name, data::column_sizes::fio, QStringLiteral("ФИО"))) return;
    if (cmd_person.execute(saveStatement(name)) == 0) {
        // Deleted on another workstation meanwhile: nothing was written, and the list, read
        // again when the editor closes, shows the worker gone.
        ui::showError(QStringLiteral(
            "Изменяемый работник не найден: возможно, его удалили с другого рабочего места. Изменения не сохранены."));
        reject();
        return;
    }
    accept();
}

QString TForm2::saveStatement(const QString& name) const {
    const QString position = LCB_department->currentText();
    if (tag() == NewWorker) {
        return QStringLiteral("INSERT INTO accounts_dep.person (fio, s_staffpos_hl)VALUES(") +
               sql::text(name) + QStringLiteral(", ") + sql::text(position) + QStringLiteral(")");
    }
    return QStringLiteral("UPDATE accounts_dep.person SET fio=") + sql::text(name) +
           QStringLiteral(", s_staffpos_hl=") + sql::text(position) +
           QStringLiteral(" where accounts_dep.person.id=") + sql::integer(workerId);
}

ui::LookupBox* TForm2::focusedLookupBox() const {
    for (ui::LookupBox* box : {LCB_roles, LCB_staffpos, LCB_department})
        if (focusWidget() == box) return box;
    return nullptr;
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel) return ui::Form::eventFilter(watched, event);
    ui::LookupBox* box = focusedLookupBox();
    if (!box) return false;
    const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
    if (delta == 0) return false;
    QKeyEvent step(QEvent::KeyPress, delta < 0 ? Qt::Key_Down : Qt::Key_Up, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &step);
    return true;
}
