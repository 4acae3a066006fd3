#pragma once

#include "ui/form.h"

struct Roster;

// The nomenclature group picker of the utility work entry.
// The window exists for the whole run; its controls come with the work on it.
class TForm26 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm26(Roster& roster);

private:
    Roster& roster_;
};
