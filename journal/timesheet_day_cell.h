#pragma once

#include <QDate>
#include <QtGlobal>

class TDataModule6;

// A worker's day cell of the monthly timesheet (accounts_dep.h_tabel) holds his total hours of
// all his records of that date and shift. A save and a delete keep that one cell current between
// rebuilds of the month.
//
// Both run inside the transaction of the record's write: they first take the month's lock
// (data/timesheet_month_lock.h) and only then count the row and sum the hours, so a rebuild of
// the month or another workstation's write of the same cell never interleaves with them.
namespace journal {

// After a record was saved: the cell gets the total; a missing row of the worker, shift, month
// and year is created with only that day given.
void writeDayCellAfterSave(TDataModule6& dm, qint64 workerId, int shift, const QDate& day);

// After a record was deleted: the cell gets the remaining hours, or is emptied (NULL, as a
// rebuild leaves a day without records) when none remain. A missing row is not created.
void writeDayCellAfterDelete(TDataModule6& dm, qint64 workerId, int shift, const QDate& day);

}  // namespace journal
