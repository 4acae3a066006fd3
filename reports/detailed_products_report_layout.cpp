#include "reports/detailed_products_report_layout.h"

TForm21::TForm21(Roster& roster)
    : ui::Form(QStringLiteral("Form21"), QStringLiteral("Form21")), roster_(roster) {}
