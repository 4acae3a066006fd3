#include "utility/nomenclature_picker.h"

TForm26::TForm26(Roster& roster)
    : ui::Form(QStringLiteral("Form26"), QStringLiteral("Номенклатура (26)")), roster_(roster) {}
