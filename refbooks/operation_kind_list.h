#pragma once

#include "ui/form.h"

struct Roster;

// The operation kind list: the kinds in list mode, or a picker of one kind.
class TForm8 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm8(Roster& roster);

    // Opens the list in list mode from the journal's menu.
    void showAsList();

private:
    Roster& roster_;
};
