#pragma once

#include "ui/form.h"

struct Roster;

// The worker editor.
class TForm2 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm2(Roster& roster);

private:
    Roster& roster_;
};
