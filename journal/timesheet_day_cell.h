#pragma once

#include <QDate>
#include <QtGlobal>
#include <optional>

class TDataModule6;

// A worker's day cell of the monthly timesheet (accounts_dep.h_tabel) holds his total hours of
// all his records of that date and shift. A save, a change and a delete keep the cells they touch
// current between rebuilds of the month.
//
// All of them run inside the transaction of the record's write: they first take the lock of each
// month they write (data/timesheet_month_lock.h) and only then count the row and sum the hours,
// so a rebuild of the month or another workstation's write of the same cell never interleaves
// with them.
namespace journal {

// Which day cell a record's hours belong to.
struct DayCell {
    qint64 workerId = 0;
    int shift = 0;
    QDate day;
    bool operator==(const DayCell&) const = default;
};

// The cell of the record `recordId` as stored, read inside the transaction with the record
// locked against other workstations' changes until it ends; nothing when the record is gone.
std::optional<DayCell> lockedRecordCell(TDataModule6& dm, qint64 recordId);

// After a record was added: the cell gets the total; a missing row of the worker, shift, month
// and year is created with only that day given.
void writeDayCellAfterSave(TDataModule6& dm, qint64 workerId, int shift, const QDate& day);

// After a record was changed from the cell `before` to the cell `after`: `after` is written as
// after a save, and `before`, when it is another cell, as after a delete, so the hours leave
// the worker, day or month they no longer belong to. Both months are locked first.
void writeDayCellsAfterChange(TDataModule6& dm, const DayCell& before, const DayCell& after);

// After a record was deleted: the cell gets the remaining hours, or is emptied (NULL, as a
// rebuild leaves a day without records) when none remain. A missing row is not created.
void writeDayCellAfterDelete(TDataModule6& dm, qint64 workerId, int shift, const QDate& day);

}  // namespace journal
