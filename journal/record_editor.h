#pragma once

#include "ui/form.h"

struct Roster;

// The shift record editor: adds a record or changes the current one.
// The window exists for the whole run; its controls come with the work on it.
class TForm11 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm11(Roster& roster);

private:
    Roster& roster_;
};
