#pragma once

#include "data/dataset.h"
#include "ui/form.h"

#include <QDate>

class QComboBox;
class QProgressBar;
class QPushButton;
class QTabWidget;
struct Roster;
class TDataModule6;
namespace ui { class DataGrid; }

// The monthly timesheet of hours per worker, one grid per shift 1 to 3. From here the month is
// rebuilt from the shift records, printed, and exported.
class TForm19 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm19(Roster& roster);

    QTabWidget* PageControl1;
    ui::DataGrid* DBGrid1;
    ui::DataGrid* DBGrid2;
    ui::DataGrid* DBGrid3;
    QPushButton* Button1;   // "Перестроить"
    QProgressBar* PB;
    QPushButton* Button2;   // "Excel"
    QComboBox* ComboBox1;   // months
    QComboBox* ComboBox2;   // years from 2007 on
    QPushButton* Button5;   // "Обновить"
    QPushButton* Button6;   // "Печать"
    QPushButton* Button4;   // "Выход"

    data::Dataset dt;   // the hours of one day, read by the rebuild

    static constexpr int firstYear = 2007;

    // Chooses the month and year of `day` in the lists, the years brought up to today's first.
    // A year the list does not hold chooses the nearest year it does.
    void presetMonth(const QDate& day);
    void closeGrids();

    void formActivate() override;
    void ComboBox1Change();   // a month or a year was chosen
    void Button1Click();      // "Перестроить"
    void Button5Click();      // "Обновить"
    void Button6Click();      // "Печать"
    void Button2Click();      // "Excel": the month's hours to a workbook

private:
    void buildControls();
    void refreshYearList();
    int month() const;
    int year() const;
    void reopenGrids();
    void setExportRunning(bool running);

    Roster& roster_;
    TDataModule6& dm_;
};
