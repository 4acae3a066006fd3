#pragma once

#include "ui/form.h"

struct Roster;

// The utility works of one date.
// The window exists for the whole run; its controls come with the work on it.
class TForm25 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm25(Roster& roster);

private:
    Roster& roster_;
};
