#include "journal/record_editor.h"

TForm11::TForm11(Roster& roster)
    : ui::Form(QStringLiteral("Form11"), QStringLiteral("Form11")), roster_(roster) {}
