#include "refbooks/operation_kind_list.h"

#include "ui/modal.h"

TForm8::TForm8(Roster& roster)
    : ui::Form(QStringLiteral("Form8"), QStringLiteral("Виды операций (8)")), roster_(roster) {}

void TForm8::showAsList() {
    setTag(0);
    ui::showModal(*this);
}
