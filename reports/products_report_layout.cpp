#include "reports/products_report_layout.h"

TForm17::TForm17(Roster& roster)
    : ui::Form(QStringLiteral("Form17"), QStringLiteral("Form17")), roster_(roster) {}
