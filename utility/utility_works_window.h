#pragma once

#include "data/dataset.h"
#include "ui/form.h"

#include <QDate>

class QPushButton;
struct Roster;
class TDataModule6;
namespace ui { class DataGrid; class DatePicker; }

// The utility works of one date: the journal opens it on its own date; the user adds, changes
// and deletes works, and prices the month's works of kind 7778 at the average piece rate.
class TForm25 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm25(Roster& roster);

    ui::DataGrid* DBGrid1;
    QPushButton* Button1;   // "Добавить"
    QPushButton* Button2;   // "Изменить"
    QPushButton* Button3;   // "Удалить"
    QPushButton* Button4;   // "Расчитать ср.сд."
    ui::DatePicker* DTPcker1;
    QPushButton* Button5;   // "Выход"

    data::Dataset fatigue;

    // The shift a new work is written with; set to 1 each time the window becomes active.
    int newWorkShift = 1;

    // Shows the works of `day`, as the journal does with its date.
    void showForDate(const QDate& day);

    // The date whose works are listed, and the key of the current work (0 when there is none).
    QDate workDate() const;
    qint64 currentWorkId() const;

    // Reads the list again and goes back to the same row number (the last one of a shorter list).
    void reopenAtSameRow();

    void formActivate() override;

    void DTPcker1Change();
    void Button1Click();   // add
    void Button2Click();   // change, also a double-click on the grid
    void Button3Click();   // delete
    void Button4Click();   // the average piece rate of the month

private:
    void buildControls();
    void openForPickerDate();

    Roster& roster_;
    TDataModule6& dm_;
    bool readForShowing_ = false;   // read by showForDate, not yet activated
};
