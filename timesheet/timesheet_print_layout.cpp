#include "timesheet/timesheet_print_layout.h"

TForm15::TForm15(Roster& roster)
    : ui::Form(QStringLiteral("Form15"), QStringLiteral("Form15")), roster_(roster) {}
