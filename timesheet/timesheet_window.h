#pragma once

#include "ui/form.h"

struct Roster;

// The monthly timesheet of hours per worker and shift.
// The window exists for the whole run; its controls come with the work on it.
class TForm19 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm19(Roster& roster);

private:
    Roster& roster_;
};
