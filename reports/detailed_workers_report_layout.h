#pragma once

#include "ui/form.h"

struct Roster;

// The layout of the detailed report by workers.
// The window exists for the whole run; its controls come with the work on it.
class TForm20 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm20(Roster& roster);

private:
    Roster& roster_;
};
