#include "utility/utility_entry_window.h"

TForm24::TForm24(Roster& roster)
    : ui::Form(QStringLiteral("Form24"), QStringLiteral("Хоз. работы/среднесдельная (24)")), roster_(roster) {}
