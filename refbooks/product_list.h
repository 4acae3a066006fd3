#pragma once

#include "ui/form.h"

struct Roster;

// The product list: the products in list mode, or a picker of one product.
class TForm3 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm3(Roster& roster);

    // Opens the list in list mode from the journal's menu.
    void showAsList();

private:
    Roster& roster_;
};
