#pragma once

#include "ui/form.h"

struct Roster;

// The norms of a priced operation.
// The window exists for the whole run; its controls come with the work on it.
class TForm22 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm22(Roster& roster);

private:
    Roster& roster_;
};
