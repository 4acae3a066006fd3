#pragma once

#include "ui/form.h"

struct Roster;

// The entry of one utility work.
// The window exists for the whole run; its controls come with the work on it.
class TForm24 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm24(Roster& roster);

private:
    Roster& roster_;
};
