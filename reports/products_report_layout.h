#pragma once

#include "ui/form.h"

struct Roster;

// The layout of the report by products.
// The window exists for the whole run; its controls come with the work on it.
class TForm17 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm17(Roster& roster);

private:
    Roster& roster_;
};
