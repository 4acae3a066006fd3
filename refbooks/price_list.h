#pragma once

#include "ui/form.h"

struct Roster;

// The operation price list.
class TForm4 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm4(Roster& roster);

    // Opens the list in list mode from the journal's menu.
    void showAsList();

private:
    Roster& roster_;
};
