#pragma once

#include "ui/form.h"

struct Roster;

// The product editor.
class TForm7 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm7(Roster& roster);

private:
    Roster& roster_;
};
