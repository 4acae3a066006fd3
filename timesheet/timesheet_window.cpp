#include "timesheet/timesheet_window.h"

#include "data/data_module.h"
#include "data/sql_text.h"
#include "data/timesheet_queries.h"
#include "spreadsheet/program.h"
#include "timesheet/timesheet_columns.h"
#include "timesheet/timesheet_export.h"
#include "timesheet/timesheet_print_layout.h"
#include "timesheet/timesheet_rebuild.h"
#include "ui/clock.h"
#include "ui/data_grid.h"
#include "ui/guard.h"
#include "ui/hourglass.h"
#include "ui/roster.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QStringList monthNames{
    QStringLiteral("Январь"), QStringLiteral("Февраль"), QStringLiteral("Март"), QStringLiteral("Апрель"),
    QStringLiteral("Май"), QStringLiteral("Июнь"), QStringLiteral("Июль"), QStringLiteral("Август"),
    QStringLiteral("Сентябрь"), QStringLiteral("Октябрь"), QStringLiteral("Ноябрь"), QStringLiteral("Декабрь")};

// The list reaches at least the current year, so this month's timesheet can always be shown.
int lastListedYear() { return std::max(2025, ui::today().year()); }

}  // namespace

TForm19::TForm19(Roster& roster)
    : ui::Form(QStringLiteral("Form19"), QStringLiteral("Табель по времени")),
      dt(roster.DataModule6->ADO_DB, data::timesheetDayQuery()),
      roster_(roster),
      dm_(*roster.DataModule6) {
    buildControls();
    setFixedSize(1094, 577);
}

void TForm19::buildControls() {
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    DBGrid1 = new ui::DataGrid(QStringLiteral("DBGrid1"));
    DBGrid2 = new ui::DataGrid(QStringLiteral("DBGrid2"));
    DBGrid3 = new ui::DataGrid(QStringLiteral("DBGrid3"));
    data::Dataset* datasets[] = {&dm_.H_Tabel_1, &dm_.H_Tabel_2, &dm_.H_Tabel_3};
    ui::DataGrid* grids[] = {DBGrid1, DBGrid2, DBGrid3};
    for (int k = 0; k < 3; ++k) {
        grids[k]->setColumns(timesheet::gridColumns(k == 0));
        grids[k]->setCellStyler(timesheet::styleCell);
        grids[k]->setDataset(datasets[k]);
    }

    Button1 = ui::makeButton(this, QStringLiteral("Button1"), QStringLiteral("Перестроить"));
    PB = new QProgressBar(this);
    PB->setObjectName(QStringLiteral("PB"));
    PB->setMinimum(1);
    PB->hide();
    Button2 = ui::makeButton(this, QStringLiteral("Button2"), QStringLiteral("Excel"));

    auto* first = new QWidget;
    auto* firstButtons = new QHBoxLayout;
    firstButtons->addWidget(Button1);
    firstButtons->addWidget(PB, 1);
    firstButtons->addStretch();
    firstButtons->addWidget(Button2);
    auto* firstLayout = new QVBoxLayout(first);
    firstLayout->addWidget(DBGrid1, 1);
    firstLayout->addLayout(firstButtons);
    PageControl1->addTab(first, QStringLiteral("Смена №1"));
    for (int k = 1; k < 3; ++k) {
        auto* page = new QWidget;
        (new QVBoxLayout(page))->addWidget(grids[k]);
        PageControl1->addTab(page, QStringLiteral("Смена №%1").arg(k + 1));
    }

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems(monthNames);
    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    refreshYearList();
    Button5 = ui::makeButton(this, QStringLiteral("Button5"), QStringLiteral("Обновить"));
    Button6 = ui::makeButton(this, QStringLiteral("Button6"), QStringLiteral("Печать"));
    Button4 = ui::makeButton(this, QStringLiteral("Button4"), QStringLiteral("Выход"));

    auto* bottom = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{ComboBox1, ComboBox2, Button5, Button6}) bottom->addWidget(w);
    bottom->addStretch();
    bottom->addWidget(Button4);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(bottom);

    connect(ComboBox1, &QComboBox::activated, this, ui::guarded([this] { ComboBox1Change(); }));
    connect(ComboBox2, &QComboBox::activated, this, ui::guarded([this] { ComboBox1Change(); }));
    connect(Button1, &QPushButton::clicked, this, ui::guarded([this] { Button1Click(); }));
    connect(Button5, &QPushButton::clicked, this, ui::guarded([this] { Button5Click(); }));
    connect(Button6, &QPushButton::clicked, this, ui::guarded([this] { Button6Click(); }));
    connect(Button2, &QPushButton::clicked, this, ui::guarded([this] { Button2Click(); }));
    connect(Button4, &QPushButton::clicked, this, &QDialog::reject);
}

int TForm19::month() const { return ComboBox1->currentIndex() + 1; }

int TForm19::year() const { return ComboBox2->currentText().toInt(); }

// The window lives as long as the program, which may run across a new year: the list is brought
// up to the current year each time the window is opened.
void TForm19::refreshYearList() {
    const int last = lastListedYear();
    if (ComboBox2->count() > 0 && ComboBox2->itemText(ComboBox2->count() - 1).toInt() == last) return;
    ComboBox2->clear();
    for (int year = firstYear; year <= last; ++year) ComboBox2->addItem(QString::number(year));
}

void TForm19::presetMonth(const QDate& day) {
    refreshYearList();
    ComboBox1->setCurrentIndex(day.month() - 1);
    const int found = ComboBox2->findText(QString::number(day.year()));
    if (found >= 0) ComboBox2->setCurrentIndex(found);
    else ComboBox2->setCurrentIndex(day.year() < firstYear ? 0 : ComboBox2->count() - 1);
}

void TForm19::closeGrids() {
    for (data::Dataset* dataset : {&dm_.H_Tabel_1, &dm_.H_Tabel_2, &dm_.H_Tabel_3}) dataset->close();
}

void TForm19::reopenGrids() {
    for (data::Dataset* dataset : {&dm_.H_Tabel_1, &dm_.H_Tabel_2, &dm_.H_Tabel_3}) dataset->reopen();
}

void TForm19::formActivate() { Button2->setText(QStringLiteral("Excel")); }

void TForm19::ComboBox1Change() {
    const QDate first(year(), month(), 1);
    data::Dataset* datasets[] = {&dm_.H_Tabel_1, &dm_.H_Tabel_2, &dm_.H_Tabel_3};
    ui::DataGrid* grids[] = {DBGrid1, DBGrid2, DBGrid3};
    for (int k = 0; k < 3; ++k) {
        data::Dataset& dataset = *datasets[k];
        dataset.close();
        dataset.setParam(QStringLiteral("mnth"), month());
        dataset.setParam(QStringLiteral("yea"), year());
        dataset.setParam(QStringLiteral("date1"), first);
        dataset.setParam(QStringLiteral("date2"), first.addMonths(1));
        dataset.open();
        QList<ui::GridColumn> columns = grids[k]->datasetModel()->columns();
        timesheet::markMonth(columns, month(), year());
        for (int c = 0; c < columns.size(); ++c) grids[k]->datasetModel()->setColumn(c, columns[c]);
    }
}

// A failed rebuild has changed nothing; the grids stay closed and the bar shows how far it got
// until the user refreshes or picks another month.
void TForm19::Button1Click() {
    const QString y = ComboBox2->currentText();
    ui::HourglassCursor hourglass;
    closeGrids();
    PB->show();
    PB->setMaximum(std::max(1, timesheet::daysInMonth(month(), y)));
    PB->setValue(1);
    timesheet::rebuildMonth(dm_, dt, month(), y, [this](int day) { PB->setValue(day); });
    reopenGrids();
    PB->hide();
}

void TForm19::Button5Click() {
    closeGrids();
    reopenGrids();
}

void TForm19::Button6Click() {
    roster_.Form15->previewMonth(month(), year(),
                                 ComboBox1->currentText() + u' ' + ComboBox2->currentText() + QStringLiteral(" г."));
}

// The export lets the window process its events after each row. Meanwhile the controls that
// would close or rewrite the month being written are disabled.
void TForm19::setExportRunning(bool running) {
    for (QWidget* control : std::initializer_list<QWidget*>{Button1, Button2, Button5, Button6, ComboBox1, ComboBox2})
        control->setEnabled(!running);
}

void TForm19::Button2Click() {
    data::Dataset& hours = roster_.Form15->H_Tabel;
    hours.close();
    hours.setParam(QStringLiteral("mnth"), month());
    hours.setParam(QStringLiteral("yea"), year());
    hours.open();
    const auto closeHours = qScopeGuard([&hours] { hours.close(); });
    setExportRunning(true);
    const auto done = qScopeGuard([this] { setExportRunning(false); });
    timesheet::exportMonth(hours, spreadsheet::formattingWriter(), ComboBox1->currentText() + u' ' + sql::integer(year()),
                           [this](int written, int total) {
                               Button2->setText(QStringLiteral("Excel (") + sql::integer(written) +
                                                QStringLiteral(" из ") + sql::integer(total) + u')');
                               QCoreApplication::processEvents();
                           });
}
