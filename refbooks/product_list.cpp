#include "refbooks/product_list.h"

#include "ui/modal.h"

TForm3::TForm3(Roster& roster)
    : ui::Form(QStringLiteral("Form3"), QStringLiteral("Изделия (3)")), roster_(roster) {}

void TForm3::showAsList() {
    setTag(0);
    ui::showModal(*this);
}
