#include "refbooks/price_editor.h"

TForm10::TForm10(Roster& roster)
    : ui::Form(QStringLiteral("Form10"), QStringLiteral("Form10")), roster_(roster) {}
