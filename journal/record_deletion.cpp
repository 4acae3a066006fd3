#include "journal/record_deletion.h"

#include "data/data_module.h"
#include "data/transaction.h"
#include "journal/journal_window.h"
#include "journal/timesheet_day_cell.h"
#include "ui/dialogs.h"

namespace journal {

void deleteCurrentRecord(TForm1& journal, TDataModule6& dm) {
    data::Dataset& records = journal.selectedShiftDataset();
    const QString id = records.field(QStringLiteral("id")).asString();
    if (id.isEmpty()) return;
    const bool agreed = ui::confirmDelete(QStringLiteral("Удалить позицию из списка?"));
    if (agreed) {
        const qint64 workerId = records.field(QStringLiteral("w_id")).asInteger();
        const int shift = records.field(QStringLiteral("smena")).asInteger();
        // The record's own date: the picker may hold a date typed but not yet chosen.
        const QDate day = records.field(QStringLiteral("data")).asDate();
        // The delete and the day cell go together: a failure between them leaves both as they were.
        data::Transaction transaction(dm.ADO_DB);
        dm.DelSmena.execute(QStringLiteral("delete from accounts_dep.smena where id=") + id);
        writeDayCellAfterDelete(dm, workerId, shift, day);
        transaction.commit();
    }
    records.reopen();
}

}  // namespace journal
