#pragma once

#include "data/db_error.h"

#include <QDate>

namespace data {

class Connection;

// Serialises every write of one month of the timesheet (accounts_dep.h_tabel) across all
// workstations: a day cell written after a save or a delete, and the rebuild of the month. Each
// takes the month's lock in its own transaction before it reads what it will write, and holds it
// until that transaction ends, so a record saved during a rebuild is either counted by the
// rebuild or written after it, and two workstations never both find a worker's row missing.
//
// The lock is PostgreSQL's transaction advisory lock with the keys (monthLockClass,
// year * 100 + month); an administrator finds it in pg_locks as classid 1752457570, objid
// 202612 for December 2026.
constexpr int monthLockClass = 0x68746162;   // "htab": apart from other applications' locks

// How long a write waits for a month another workstation holds. A rebuild of a month takes
// seconds; a workstation that died holding the lock keeps it until the server drops its
// connection, and meanwhile every write of the month would wait with it.
constexpr int monthLockPatienceSeconds = 5;

// The month's lock is still held by another workstation after the patience ran out. The
// transaction it was asked in is lost; the caller rolls it back and nothing is written.
class TimesheetMonthBusy : public DbError {
public:
    TimesheetMonthBusy(int month, int year);
};

// Waits at most monthLockPatienceSeconds, then throws TimesheetMonthBusy. Throws
// std::logic_error outside a transaction (the lock would be gone before the first read) and
// DbError when the server fails.
void lockTimesheetMonth(Connection& connection, int month, int year);

// The locks of the months of two days (one lock when they share it), always the earlier month
// first, so that two workstations moving records between the same months in opposite directions
// never wait for each other.
void lockTimesheetMonths(Connection& connection, const QDate& one, const QDate& other);

}  // namespace data
