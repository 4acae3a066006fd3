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
        // The delete and the day cell go together: a failure between them leaves both as they
        // were. The cell is the one of the record as stored, read with the record locked: another
        // workstation may have moved it to another worker or day since the list was read.
        data::Transaction transaction(dm.ADO_DB);
        const std::optional<DayCell> stored = lockedRecordCell(dm, id.toLongLong());
        dm.DelSmena.execute(QStringLiteral("delete from accounts_dep.smena where id=") + id);
        if (stored) writeDayCellAfterDelete(dm, stored->workerId, stored->shift, stored->day);
        transaction.commit();
    }
    records.reopen();
}

}  // namespace journal
