#pragma once

#include "data/dataset.h"
#include "ui/form.h"

#include <QDate>

class PeriodReportForm;
class QPushButton;
struct Roster;
namespace ui { class DatePicker; class RadioGroup; }

// The summary reports window: the period, the product kind and the report buttons. The login
// disables the buttons a role may not use.
class TForm18 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm18(Roster& roster);

    ui::RadioGroup* RadioGroup1;   // "Все", "Готовая продукция", "Заготовки"
    ui::DatePicker* DTPicker1;     // first day of the period, included
    ui::DatePicker* DTPicker2;     // end of the period, excluded
    QPushButton* Button4;
    QPushButton* Button2;
    QPushButton* Button1;
    QPushButton* Button3;
    QPushButton* Button6;
    QPushButton* Button5;

    data::Dataset XLS_Rep;   // the production of the period, for the export

    // The whole calendar month before the one of `today` (January gives December of the year
    // before), the end date excluded.
    void presetPeriod(const QDate& today);

    void Button4Click();   // report by workers
    void Button2Click();   // report by products
    void Button1Click();   // detailed report by workers
    void Button3Click();   // detailed report by products
    void Button6Click();   // the production export

private:
    // Runs the report over the chosen period and product kind, titled `prefix` and the dates.
    void runReport(PeriodReportForm& report, const QString& prefix);

    Roster& roster_;
};
