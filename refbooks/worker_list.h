#pragma once

#include "ui/form.h"

struct Roster;

// The worker list: the workers in list mode, or a picker of one worker.
class TForm5 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm5(Roster& roster);

    // Opens the list in list mode from the journal's menu.
    void showAsList();

private:
    Roster& roster_;
};
