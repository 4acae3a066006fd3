#pragma once

#include "ui/form.h"

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

private:
    Roster& roster_;
};
