#include "refbooks/price_list.h"

#include "ui/modal.h"

TForm4::TForm4(Roster& roster)
    : ui::Form(QStringLiteral("Form4"), QStringLiteral("Операции")), roster_(roster) {}

void TForm4::showAsList() {
    setTag(0);
    ui::showModal(*this);
}
