#include "refbooks/product_editor.h"

TForm7::TForm7(Roster& roster)
    : ui::Form(QStringLiteral("Form7"), QStringLiteral("Изделие")), roster_(roster) {}
