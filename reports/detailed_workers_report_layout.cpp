#include "reports/detailed_workers_report_layout.h"

TForm20::TForm20(Roster& roster)
    : ui::Form(QStringLiteral("Form20"), QStringLiteral("Form20")), roster_(roster) {}
