#include "refbooks/norms_window.h"

TForm22::TForm22(Roster& roster)
    : ui::Form(QStringLiteral("Form22"), QStringLiteral("Норматив")), roster_(roster) {}
