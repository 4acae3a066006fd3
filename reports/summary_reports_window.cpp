#include "reports/summary_reports_window.h"

#include "data/data_module.h"
#include "data/sql_text.h"
#include "reports/detailed_products_report_layout.h"
#include "reports/detailed_workers_report_layout.h"
#include "reports/period_report_form.h"
#include "reports/production_export.h"
#include "reports/products_report_layout.h"
#include "reports/workers_report_layout.h"
#include "spreadsheet/program.h"
#include "ui/date_picker.h"
#include "ui/guard.h"
#include "ui/radio_group.h"
#include "ui/roster.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QVBoxLayout>

TForm18::TForm18(Roster& roster)
    : ui::Form(QStringLiteral("Form18"), QStringLiteral("Отчеты (8)")),
      XLS_Rep(roster.DataModule6->ADO_DB, reports::productionSql()),
      roster_(roster) {
    XLS_Rep.setFieldSize(QStringLiteral("vid"), 50);
    XLS_Rep.setFieldSize(QStringLiteral("nom"), 100);
    RadioGroup1 = new ui::RadioGroup(
        QStringLiteral("RadioGroup1"), QStringLiteral("Вид продукции"),
        {QStringLiteral("Все"), QStringLiteral("Готовая продукция"), QStringLiteral("Заготовки")}, this);
    RadioGroup1->setItemIndex(0);

    auto* period = new QGroupBox(QStringLiteral("Период отбора"), this);
    period->setObjectName(QStringLiteral("GroupBox1"));
    DTPicker1 = new ui::DatePicker(QStringLiteral("DTPicker1"), period);
    DTPicker2 = new ui::DatePicker(QStringLiteral("DTPicker2"), period);
    auto* periodLayout = new QGridLayout(period);
    periodLayout->addWidget(new QLabel(QStringLiteral("с"), period), 0, 0);
    periodLayout->addWidget(DTPicker1, 0, 1);
    periodLayout->addWidget(new QLabel(QStringLiteral("по"), period), 1, 0);
    periodLayout->addWidget(DTPicker2, 1, 1);

    Button4 = ui::makeButton(this, QStringLiteral("Button4"), QStringLiteral("Отчет по рабочим"));
    Button2 = ui::makeButton(this, QStringLiteral("Button2"), QStringLiteral("Отчет по продукции"));
    Button1 = ui::makeButton(this, QStringLiteral("Button1"), QStringLiteral("Детальный отчет по рабочим"));
    Button3 = ui::makeButton(this, QStringLiteral("Button3"), QStringLiteral("Детальный отчет по продукции"));
    Button6 = ui::makeButton(this, QStringLiteral("Button6"), QStringLiteral("Excel (0 из 0)"));
    Button5 = ui::makeButton(this, QStringLiteral("Button5"), QStringLiteral("Выход"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RadioGroup1);
    layout->addWidget(period);
    for (QPushButton* button : {Button4, Button2, Button1, Button3, Button6, Button5})
        layout->addWidget(button);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Button4, &QPushButton::clicked, this, ui::guarded([this] { Button4Click(); }));
    connect(Button2, &QPushButton::clicked, this, ui::guarded([this] { Button2Click(); }));
    connect(Button1, &QPushButton::clicked, this, ui::guarded([this] { Button1Click(); }));
    connect(Button3, &QPushButton::clicked, this, ui::guarded([this] { Button3Click(); }));
    connect(Button6, &QPushButton::clicked, this, ui::guarded([this] { Button6Click(); }));
    connect(Button5, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm18::presetPeriod(const QDate& today) {
    const QDate thisMonth(today.year(), today.month(), 1);
    DTPicker1->setDate(thisMonth.addMonths(-1));
    DTPicker2->setDate(thisMonth);
}

void TForm18::Button4Click() {
    runReport(*roster_.Form16, QStringLiteral("   Отчет по рабочим за период с "));
}

void TForm18::Button2Click() {
    runReport(*roster_.Form17, QStringLiteral("   Отчет по продукции за период с "));
}

void TForm18::Button1Click() {
    runReport(*roster_.Form20, QStringLiteral("   Детальный отчет по рабочим за период с "));
}

void TForm18::Button3Click() {
    runReport(*roster_.Form21, QStringLiteral("   Детальный отчет по продукции за период с "));
}

void TForm18::runReport(PeriodReportForm& report, const QString& prefix) {
    const QString format = QStringLiteral("dd.MM.yyyy");
    reports::ReportRequest request;
    request.from = DTPicker1->date();
    request.to = DTPicker2->date();
    request.productKind = RadioGroup1->itemIndex();
    request.title = prefix + request.from.toString(format) + QStringLiteral(" по ") + request.to.toString(format);
    report.previewPeriod(request);
}

void TForm18::Button6Click() {
    XLS_Rep.close();
    XLS_Rep.setParam(QStringLiteral("data1"), DTPicker1->date());
    XLS_Rep.setParam(QStringLiteral("data2"), DTPicker2->date());
    reports::applyProductKind(XLS_Rep, RadioGroup1->itemIndex());
    XLS_Rep.open();
    const auto closeRows = qScopeGuard([this] { XLS_Rep.close(); });
    reports::exportProduction(XLS_Rep, spreadsheet::basicWriter(), [this](int written, int total) {
        Button6->setText(QStringLiteral("Excel (") + sql::integer(written) + QStringLiteral(" из ") +
                         sql::integer(total) + u')');
    });
}
