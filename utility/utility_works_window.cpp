#include "utility/utility_works_window.h"

#include "data/data_module.h"
#include "data/sql_text.h"
#include "ui/data_grid.h"
#include "ui/date_picker.h"
#include "ui/dialogs.h"
#include "ui/guard.h"
#include "ui/modal.h"
#include "ui/roster.h"
#include "utility/average_piece_rate.h"
#include "utility/utility_entry_window.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScopeGuard>
#include <QVBoxLayout>

namespace {

QString worksSql() {
    return QStringLiteral(
        "select distinct vo.vid, p.fio, i.s_caption, (f.cnt*f.price) as summ,  f.* \n"
        "from accounts_dep.fatigue f, cmn_classifier.item i, accounts_dep.person p,accounts_dep.vid_oper vo, "
        "accounts_dep.oper o \n"
        "where f.id_nom =i.id and p.id=f.id_p and vo.id = f.id_o and o.i_id >=7777 and o.vid >=7777 and "
        "f.d_date = :d_date\n"
        "order by p.fio");
}

QList<ui::GridColumn> worksColumns() {
    return {
        {QStringLiteral("ФИО"), QStringLiteral("fio"), 300},
        {QStringLiteral("Номенклатура"), QStringLiteral("s_caption"), 267},
        {QStringLiteral("Работа"), QStringLiteral("vid"), 156},
        {QStringLiteral("Цена"), QStringLiteral("price"), 80},
        {QStringLiteral("Кол-во"), QStringLiteral("cnt"), 0},
        {QStringLiteral("Итого"), QStringLiteral("summ"), 80},
    };
}

}  // namespace

TForm25::TForm25(Roster& roster)
    : ui::Form(QStringLiteral("Form25"), QStringLiteral("Хоз. работы (25)")),
      fatigue(roster.DataModule6->ADO_DB, worksSql()),
      roster_(roster),
      dm_(*roster.DataModule6) {
    fatigue.setFieldSize(QStringLiteral("fio"), 254);
    fatigue.setFieldSize(QStringLiteral("s_caption"), 254);
    fatigue.setFieldSize(QStringLiteral("vid"), 128);
    buildControls();
}

void TForm25::buildControls() {
    DBGrid1 = new ui::DataGrid(QStringLiteral("DBGrid1"), this);
    const QList<ui::GridColumn> columns = worksColumns();
    DBGrid1->setColumns(columns);
    DBGrid1->setDataset(&fatigue);
    int gridWidth = 40 + ui::DataGrid::defaultColumnWidth;   // row marker, frame, scroll bar, Кол-во
    for (const ui::GridColumn& column : columns) gridWidth += column.width;
    DBGrid1->setMinimumSize(gridWidth, 360);

    Button1 = ui::makeButton(this, QStringLiteral("Button1"), QStringLiteral("Добавить"));
    Button2 = ui::makeButton(this, QStringLiteral("Button2"), QStringLiteral("Изменить"));
    Button3 = ui::makeButton(this, QStringLiteral("Button3"), QStringLiteral("Удалить"));
    Button4 = ui::makeButton(this, QStringLiteral("Button4"), QStringLiteral("Расчитать ср.сд."));
    DTPcker1 = new ui::DatePicker(QStringLiteral("DTPcker1"), this);
    Button5 = ui::makeButton(this, QStringLiteral("Button5"), QStringLiteral("Выход"));

    auto* bottom = new QHBoxLayout;
    for (QWidget* control : std::initializer_list<QWidget*>{Button1, Button2, Button3, Button4, DTPcker1})
        bottom->addWidget(control);
    bottom->addStretch();
    bottom->addWidget(Button5);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(bottom);

    connect(DTPcker1, &ui::DatePicker::dateChosen, this, ui::guarded([this] { DTPcker1Change(); }));
    connect(Button1, &QPushButton::clicked, this, ui::guarded([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, ui::guarded([this] { Button2Click(); }));
    connect(DBGrid1, &ui::DataGrid::dblClick, this, ui::guarded([this] { Button2Click(); }));
    connect(Button3, &QPushButton::clicked, this, ui::guarded([this] { Button3Click(); }));
    connect(Button4, &QPushButton::clicked, this, ui::guarded([this] { Button4Click(); }));
    connect(Button5, &QPushButton::clicked, this, &QDialog::reject);
}

// The list is read before the window shows: a list that cannot be read does not open, and the
// user is not left in an empty window whose closing would bring a second message.
void TForm25::showForDate(const QDate& day) {
    DTPcker1->setDate(day);
    openForPickerDate();
    readForShowing_ = true;
    const auto forget = qScopeGuard([this] { readForShowing_ = false; });
    ui::showModal(*this);
}

QDate TForm25::workDate() const { return DTPcker1->date(); }

qint64 TForm25::currentWorkId() const { return fatigue.field(QStringLiteral("id")).asInteger(); }

void TForm25::openForPickerDate() {
    fatigue.close();
    fatigue.setParam(QStringLiteral("d_date"), workDate());
    fatigue.open();
}

// Every activation re-reads the list (the entry window has just closed, say), except the first
// one of a showing, which finds it read.
void TForm25::formActivate() {
    if (readForShowing_) readForShowing_ = false;
    else openForPickerDate();
    newWorkShift = 1;
}

void TForm25::DTPcker1Change() { openForPickerDate(); }

void TForm25::reopenAtSameRow() {
    const int row = fatigue.recNo();
    fatigue.reopen();
    if (row > 0) fatigue.setRecNo(row);
}

void TForm25::Button1Click() {
    TForm24& entry = *roster_.Form24;
    entry.type_work.open();
    entry.prepareForNew();
    ui::showModal(entry);
    entry.type_work.close();
}

// On an empty list the entry opens with empty fields and ids 0, and refuses to save.
void TForm25::Button2Click() {
    TForm24& entry = *roster_.Form24;
    entry.type_work.open();
    entry.prepareForChange({fatigue.field(QStringLiteral("fio")).asString(),
                            fatigue.field(QStringLiteral("s_caption")).asString(),
                            fatigue.field(QStringLiteral("cnt")).asString(),
                            fatigue.field(QStringLiteral("id_nom")).asInteger(),
                            fatigue.field(QStringLiteral("id_p")).asInteger(),
                            fatigue.field(QStringLiteral("id_o")).asInteger(),
                            currentWorkId()});
    ui::showModal(entry);
    entry.type_work.close();
}

void TForm25::Button3Click() {
    if (fatigue.isEmpty()) return;
    if (!ui::confirmDelete(QStringLiteral("Удалить позицию из списка?"))) return;
    dm_.SQL_exec.execute(QStringLiteral("delete from accounts_dep.fatigue where id=") +
                         sql::integer(currentWorkId()));
    reopenAtSameRow();
}

void TForm25::Button4Click() {
    dm_.SQL_exec.execute(utility::averagePieceRateSql(workDate()));
    reopenAtSameRow();
}
