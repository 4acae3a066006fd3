#include "refbooks/worker_list.h"

#include "ui/modal.h"

TForm5::TForm5(Roster& roster)
    : ui::Form(QStringLiteral("Form5"), QStringLiteral("Список рабочих")), roster_(roster) {}

void TForm5::showAsList() {
    setTag(0);
    ui::showModal(*this);
}
