#include "journal/journal_window.h"

#include "data/data_module.h"
#include "journal/record_deletion.h"
#include "journal/record_editor.h"
#include "journal/role_words.h"
#include "refbooks/operation_kind_list.h"
#include "refbooks/price_list.h"
#include "refbooks/product_list.h"
#include "refbooks/worker_list.h"
#include "reports/summary_reports_window.h"
#include "timesheet/timesheet_window.h"
#include "ui/clock.h"
#include "ui/data_grid.h"
#include "ui/date_picker.h"
#include "ui/guard.h"
#include "ui/hourglass.h"
#include "ui/modal.h"
#include "ui/roster.h"
#include "utility/utility_works_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QColor acceptedGreen(0, 128, 0);
const QColor notAcceptedRed(255, 0, 0);
const QColor dayOffRed(255, 0, 0);

// Gives a control a background of its own (or the colour of button faces) and a bold or
// regular font. A style sheet, because the desktop styles ignore a radio button's palette.
void paintControl(QWidget* control, const QColor& background, bool bold) {
    control->setStyleSheet(QStringLiteral("background-color: %1").arg(background.name()));
    QFont font = control->font();
    font.setBold(bold);
    control->setFont(font);
}

QColor buttonFace() { return QApplication::palette().color(QPalette::Button); }

bool isAccepted(const QString& mark) {
    return mark == QLatin1String("ok") || mark == QStringLiteral("да");
}

// The "OK" column shows its mark in bold: green when accepted, red otherwise.
void styleAcceptanceCell(const QVariant& value, const ui::GridColumn& column, ui::CellStyle& style) {
    if (column.field != QLatin1String("ok")) return;
    style.bold = true;
    style.text = isAccepted(value.toString()) ? acceptedGreen : notAcceptedRed;
}

QList<ui::GridColumn> journalColumns() {
    const Qt::Alignment centred = Qt::AlignCenter;
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    return {
        {QStringLiteral("Фамилия И.О."), QStringLiteral("fio"), 250, left},
        {QStringLiteral("Марка изделия"), QStringLiteral("marka"), 260, left},
        {QStringLiteral("Операция"), QStringLiteral("vid"), 155, left},
        {QStringLiteral("Вид"), QStringLiteral("nmn"), 157, left},
        {QStringLiteral("Цвет"), QStringLiteral("color"), 0, centred},
        {QStringLiteral("Часы"), QStringLiteral("time"), 0, left},
        {QStringLiteral("Кол-во"), QStringLiteral("kol_vo"), 57, left},
        {QStringLiteral("Брак"), QStringLiteral("brak"), 49, left},
        {QStringLiteral("Итого (р.)"), QStringLiteral("summa"), 78, left},
        {QStringLiteral("Премия (%)"), QStringLiteral("prize"), 0, left, false},
        {QStringLiteral("OK"), QStringLiteral("ok"), 37, centred},
        {QStringLiteral("Заведен"), QStringLiteral("vvod"), 72, centred},
    };
}

}  // namespace

TForm1::TForm1(Roster& roster)
    : ui::Form(QStringLiteral("Form1"), QStringLiteral("Табель")),
      ver(roster.DataModule6->ADO_DB, QStringLiteral("select * from accounts_dep.ver")),
      updtOK(roster.DataModule6->ADO_DB,
             QStringLiteral("update accounts_dep.smena set ok=:ok where id=:id")),
      roster_(roster),
      dm_(*roster.DataModule6) {
    ver.setUpdateTable(QStringLiteral("accounts_dep.ver"), {QStringLiteral("d"), QStringLiteral("t")});
    ver.setFieldSize(QStringLiteral("delim"), 255);
    buildControls();
    buildMenu();
    setFixedSize(1281, 585);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(30000);
    Timer1->start();
}

void TForm1::buildControls() {
    RadioButton1 = new QRadioButton(QStringLiteral("Смена №1"), this);
    RadioButton2 = new QRadioButton(QStringLiteral("Смена №2"), this);
    RadioButton3 = new QRadioButton(QStringLiteral("Смена №3"), this);
    RadioButton4 = new QRadioButton(QStringLiteral("Переработка"), this);
    DateT = new ui::DatePicker(QStringLiteral("DateT"), this);
    CBox1 = new QCheckBox(QStringLiteral("Выходной"), this);
    CBox1->setObjectName(QStringLiteral("CBox1"));
    DBGrid2 = new ui::DataGrid(QStringLiteral("DBGrid2"), this);
    DBGrid2->setColumns(journalColumns());
    DBGrid2->setCellStyler(styleAcceptanceCell);
    DBGrid2->setDataset(&dm_.Smena1);
    Button1 = ui::makeButton(this, QStringLiteral("Button1"), QStringLiteral("Добавить"));
    Button2 = ui::makeButton(this, QStringLiteral("Button2"), QStringLiteral("Изменить"));
    Button3 = ui::makeButton(this, QStringLiteral("Button3"), QStringLiteral("Удалить"));
    Button8 = ui::makeButton(this, QStringLiteral("Button8"), QStringLiteral("Обновить"));
    Button5 = ui::makeButton(this, QStringLiteral("Button5"), QStringLiteral("Хоз. работы"));
    Button4 = ui::makeButton(this, QStringLiteral("Button4"), QStringLiteral("Выход"));

    auto* shifts = new QHBoxLayout;
    for (int shift = 1; shift <= 4; ++shift) {
        QRadioButton* button = shiftButton(shift);
        button->setObjectName(QStringLiteral("RadioButton%1").arg(shift));
        paintControl(button, buttonFace(), false);
        shifts->addWidget(button);
        connect(button, &QRadioButton::clicked, this, ui::guarded([this, shift] {
                    if (shiftButton(shift)->isChecked()) chooseShift(shift);
                }));
    }
    RadioButton1->setChecked(true);
    paintControl(RadioButton1, acceptedGreen, true);
    shifts->addSpacing(24);
    shifts->addWidget(DateT);
    shifts->addWidget(CBox1);
    shifts->addStretch();

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {Button1, Button2, Button3, Button8, Button5}) buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(Button4);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(shifts);
    layout->addWidget(DBGrid2, 1);
    layout->addLayout(buttons);

    connect(DateT, &ui::DatePicker::dateChosen, this, ui::guarded([this] { DateTChange(); }));
    connect(CBox1, &QCheckBox::toggled, this, ui::guarded([this] { CBox1Change(); }));
    connect(DBGrid2, &ui::DataGrid::dblClick, this, ui::guarded([this] { DBGrid2DblClick(); }));
    connect(Button8, &QPushButton::clicked, this, ui::guarded([this] { Button8Click(); }));
    connect(Button4, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button1, &QPushButton::clicked, this, ui::guarded([this] { roster_.Form11->openForAdd(); }));
    connect(Button2, &QPushButton::clicked, this, ui::guarded([this] { roster_.Form11->openForChange(); }));
    connect(Button3, &QPushButton::clicked, this,
            ui::guarded([this] { journal::deleteCurrentRecord(*this, dm_); }));
    connect(Button5, &QPushButton::clicked, this,
            ui::guarded([this] { roster_.Form25->showForDate(DateT->date()); }));
}

void TForm1::N11Click() {
    TForm19& timesheet = *roster_.Form19;
    timesheet.presetMonth(DateT->date());
    timesheet.ComboBox1Change();
    ui::showModal(timesheet);
    timesheet.closeGrids();
}

void TForm1::N10Click() {
    TForm18& reports = *roster_.Form18;
    reports.presetPeriod(ui::today());
    ui::showModal(reports);
}

void TForm1::buildMenu() {
    auto* bar = new QMenuBar(this);
    N2 = bar->addMenu(QStringLiteral("Справочники"));
    N2->setObjectName(QStringLiteral("N2"));
    N1 = N2->addAction(QStringLiteral("Рабочие"));
    N3 = N2->addAction(QStringLiteral("Изделия"));
    N4 = N2->addAction(QStringLiteral("Цены"));
    N6 = N2->addAction(QStringLiteral("Операции"));
    N8 = N2->addAction(QStringLiteral("Внеурочное"));
    N11 = bar->addAction(QStringLiteral("Табель по времени"));
    N7 = bar->addMenu(QStringLiteral("Отчеты"));
    N7->setObjectName(QStringLiteral("N7"));
    N10 = N7->addAction(QStringLiteral("Сводные отчеты"));
    N5 = bar->addAction(QStringLiteral("Выход"));
    const QList<std::pair<QAction*, const char*>> names{
        {N1, "N1"}, {N3, "N3"}, {N4, "N4"}, {N6, "N6"}, {N8, "N8"}, {N11, "N11"}, {N10, "N10"}, {N5, "N5"}};
    for (const auto& [action, name] : names) action->setObjectName(QString::fromLatin1(name));

    connect(N1, &QAction::triggered, this, ui::guarded([this] { roster_.Form5->showAsList(); }));
    connect(N3, &QAction::triggered, this, ui::guarded([this] { roster_.Form3->showAsList(); }));
    connect(N4, &QAction::triggered, this, ui::guarded([this] { roster_.Form4->showAsList(); }));
    connect(N6, &QAction::triggered, this, ui::guarded([this] { roster_.Form8->showAsList(); }));
    connect(N11, &QAction::triggered, this, ui::guarded([this] { N11Click(); }));
    connect(N10, &QAction::triggered, this, ui::guarded([this] { N10Click(); }));
    connect(N5, &QAction::triggered, this, &QDialog::reject);
    layout()->setMenuBar(bar);
}

QRadioButton* TForm1::shiftButton(int shift) const {
    switch (shift) {
    case 2: return RadioButton2;
    case 3: return RadioButton3;
    case 4: return RadioButton4;
    default: return RadioButton1;
    }
}

data::Dataset& TForm1::selectedShiftDataset() { return dm_.smena(selectedShift); }

void TForm1::openShiftDatasets(const QDate& day) {
    for (int shift = 1; shift <= 4; ++shift) dm_.smena(shift).close();
    for (int shift = 1; shift <= 4; ++shift) {
        data::Dataset& dataset = dm_.smena(shift);
        dataset.setParam(QStringLiteral("data"), day);
        dataset.open();
    }
}

void TForm1::formActivate() {
    const QDate day = ui::today();
    DateT->setDate(day);
    // A weekday leaves the box as it was: only picking a date clears it.
    if (ui::isWeekend(day)) CBox1->setChecked(true);
    openShiftDatasets(day);
}

void TForm1::DateTChange() {
    ui::HourglassCursor hourglass;
    const QDate day = DateT->date();
    openShiftDatasets(day);
    CBox1->setChecked(ui::isWeekend(day));
    DBGrid2->setFocus();
}

void TForm1::Button8Click() {
    ui::HourglassCursor hourglass;
    for (int shift = 1; shift <= 4; ++shift) dm_.smena(shift).close();
    for (int shift = 1; shift <= 4; ++shift) dm_.smena(shift).open();
}

void TForm1::chooseShift(int shift) {
    DBGrid2->setDataset(&dm_.smena(shift));
    for (int other = 1; other <= 4; ++other) {
        if (other == shift) paintControl(shiftButton(other), acceptedGreen, true);
        else paintControl(shiftButton(other), buttonFace(), false);
    }
    selectedShift = shift;
}

void TForm1::CBox1Change() {
    if (CBox1->isChecked()) paintControl(CBox1, dayOffRed, true);
    else paintControl(CBox1, buttonFace(), false);
}

void TForm1::DBGrid2DblClick() {
    if (roleWord == roles::foreman) return;
    currentShiftDataset = &selectedShiftDataset();
    data::Dataset& records = *currentShiftDataset;
    if (records.isEmpty()) return;

    const QString newMark =
        isAccepted(records.field(QStringLiteral("ok")).asString()) ? QStringLiteral("no")
                                                                     : QStringLiteral("ok");
    updtOK.setParam(QStringLiteral("id"), records.field(QStringLiteral("id")).asInteger());
    updtOK.setParam(QStringLiteral("ok"), newMark);
    updtOK.execute();

    const int row = records.recNo();
    records.reopen();
    records.setRecNo(row);
}
