#include "reports/summary_reports_window.h"

#include "ui/date_picker.h"
#include "ui/radio_group.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TForm18::TForm18(Roster& roster)
    : ui::Form(QStringLiteral("Form18"), QStringLiteral("Отчеты (8)")), roster_(roster) {
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

    connect(Button5, &QPushButton::clicked, this, &QDialog::reject);
}
