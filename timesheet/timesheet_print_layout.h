#pragma once

#include "ui/form.h"

struct Roster;

// The print layout of the monthly timesheet.
// The window exists for the whole run; its controls come with the work on it.
class TForm15 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm15(Roster& roster);

private:
    Roster& roster_;
};
