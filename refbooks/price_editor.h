#pragma once

#include "ui/form.h"

struct Roster;

// The operation price editor.
// The window exists for the whole run; its controls come with the work on it.
class TForm10 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm10(Roster& roster);

private:
    Roster& roster_;
};
