#include "timesheet/timesheet_window.h"

TForm19::TForm19(Roster& roster)
    : ui::Form(QStringLiteral("Form19"), QStringLiteral("Табель по времени")), roster_(roster) {}
