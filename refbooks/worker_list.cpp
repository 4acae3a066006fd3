#include "refbooks/worker_list.h"

#include "data/data_module.h"
#include "data/sql_text.h"
#include "refbooks/pick_receivers.h"
#include "refbooks/worker_editor.h"
#include "ui/dialogs.h"
#include "ui/roster.h"

#include <QScopeGuard>

namespace {

const QString fioField = QStringLiteral("fio");
const QString idField = QStringLiteral("id");

QList<ui::GridColumn> workerColumns() {
    return {
        {QStringLiteral("ФИО"), fioField, 300},
        {QStringLiteral("Должность"), QStringLiteral("s_staffpos_hl"), 300},
    };
}

}  // namespace

TForm5::TForm5(Roster& roster)
    : refbooks::ReferenceList(QStringLiteral("Form5"), QStringLiteral("Список рабочих"),
                              roster.DataModule6->Workers, workerColumns(), {fioField, true, true}),
      roster_(roster),
      dm_(*roster.DataModule6) {}

data::Dataset& TForm5::workers() const { return dm_.Workers; }

void TForm5::showAsList() { openAsList(); }

// The worker pickers leave the buttons and the search box as they set them; list mode puts the
// buttons back.
void TForm5::showAsPicker(int tag, WorkerPickReceiver& receiver) {
    receiver_ = &receiver;
    const auto forget = qScopeGuard([this] { receiver_ = nullptr; });
    openAsPicker(tag, AfterPicking::Keep);
}

bool TForm5::handBackCurrentRow() {
    if (workers().isEmpty() || !receiver_) return false;
    receiver_->receiveWorker(workers().field(fioField).asString().trimmed(),
                             workers().field(idField).asInteger());
    return true;
}

void TForm5::add() {
    roster_.Form2->showForNew();
    workers().reopen();
}

void TForm5::change() {
    const int row = workers().recNo();
    roster_.Form2->showForChange(workers().field(idField).asInteger(),
                                 workers().field(fioField).asString().trimmed());
    reopenAtRow(row);
}

void TForm5::remove() {
    if (!ui::confirmDelete(QStringLiteral("Удалить работника?"))) return;
    const int row = workers().recNo();
    roster_.Form2->cmd_person.execute(QStringLiteral("delete from accounts_dep.person where id =") +
                                      sql::integer(workers().field(idField).asInteger()));
    reopenAtRow(row);
}

// Back to the same row number; past the end of a shorter list, the last row.
void TForm5::reopenAtRow(int recNo) {
    workers().reopen();
    if (!workers().isEmpty()) workers().setRecNo(recNo);
}
