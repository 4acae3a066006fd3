#pragma once

#include "ui/form.h"

struct Roster;

// The operation kind editor.
class TForm9 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm9(Roster& roster);

private:
    Roster& roster_;
};
