#pragma once

#include "data/command.h"
#include "data/dataset.h"
#include "ui/form.h"

class QAction;
class QCheckBox;
class QMenu;
class QPushButton;
class QRadioButton;
class QTimer;
struct Roster;
class TDataModule6;
namespace ui { class DataGrid; class DatePicker; }

// The journal: the shift records of one date and one shift. From here the user picks the date
// and the shift, marks a day off, accepts records and opens every other window. It is shown by
// the login window; closing it ends the run.
class TForm1 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm1(Roster& roster);

    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QRadioButton* RadioButton3;
    QRadioButton* RadioButton4;
    ui::DatePicker* DateT;
    QCheckBox* CBox1;
    ui::DataGrid* DBGrid2;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button8;
    QPushButton* Button5;
    QPushButton* Button4;

    QMenu* N2;      // "Справочники"
    QAction* N1;    // "Рабочие"
    QAction* N3;    // "Изделия"
    QAction* N4;    // "Цены"
    QAction* N6;    // "Операции"
    QAction* N8;    // "Внеурочное"
    QAction* N11;   // "Табель по времени"
    QMenu* N7;      // "Отчеты"
    QAction* N10;   // "Сводные отчеты"
    QAction* N5;    // "Выход"

    QTimer* Timer1;   // the version check, every 30 seconds for the whole run

    data::Dataset ver;      // accounts_dep.ver, read and written by the version check
    data::Command updtOK;   // sets the acceptance mark of one record

    // Kept for the run.
    int selectedShift = 1;             // 1..4; any other value reads as 1
    QString roleWord;                  // the login word, blanks trimmed
    int buildDate = 0;                 // YYYYMMDD
    int buildTime = 0;                 // seconds since midnight
    data::Dataset* currentShiftDataset = nullptr;

    data::Dataset& selectedShiftDataset();

    // Resets the date to today and re-reads the four shift lists.
    void formActivate() override;

    void DateTChange();        // a date was chosen in the picker
    void Button8Click();       // "Обновить"
    void chooseShift(int shift);
    void CBox1Change();        // paints the day-off box after any change
    void DBGrid2DblClick();    // the acceptance toggle
    void N11Click();           // the timesheet of the journal's month
    void N10Click();           // the summary reports over the previous calendar month

private:
    void buildMenu();
    void buildControls();
    void openShiftDatasets(const QDate& day);
    QRadioButton* shiftButton(int shift) const;

    Roster& roster_;
    TDataModule6& dm_;
};
