#include "refbooks/operation_kind_editor.h"

TForm9::TForm9(Roster& roster)
    : ui::Form(QStringLiteral("Form9"), QStringLiteral("Form9")), roster_(roster) {}
