#include "refbooks/worker_editor.h"

TForm2::TForm2(Roster& roster)
    : ui::Form(QStringLiteral("Form2"), QStringLiteral("Работники")), roster_(roster) {}
