#include "reports/workers_report_layout.h"

TForm16::TForm16(Roster& roster)
    : ui::Form(QStringLiteral("Form16"), QStringLiteral("Form16")), roster_(roster) {}
