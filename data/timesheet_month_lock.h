#pragma once

#include <QDate>

namespace data {

class Connection;

// Serialises every write of one month of the timesheet (accounts_dep.h_tabel) across all
// workstations: a day cell written after a save or a delete, and the rebuild of the month. Each
// takes the month's lock in its own transaction before it reads what it will write, and holds it
// until that transaction ends, so a record saved during a rebuild is either counted by the
// rebuild or written after it, and two workstations never both find a worker's row missing.
//
// Waits while another session holds the lock. Throws std::logic_error outside a transaction
// (the lock would be gone before the first read) and DbError when the server fails.
void lockTimesheetMonth(Connection& connection, int month, int year);

// The locks of the months of two days (one lock when they share it), always the earlier month
// first, so that two workstations moving records between the same months in opposite directions
// never wait for each other.
void lockTimesheetMonths(Connection& connection, const QDate& one, const QDate& other);

}  // namespace data
