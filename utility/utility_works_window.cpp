#include "utility/utility_works_window.h"

TForm25::TForm25(Roster& roster)
    : ui::Form(QStringLiteral("Form25"), QStringLiteral("Хоз. работы (25)")), roster_(roster) {}
