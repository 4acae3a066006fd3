#include "data/timesheet_month_lock.h"

#include "data/command.h"
#include "data/connection.h"

#include <algorithm>
#include <stdexcept>

namespace data {
namespace {

// The first key of the two-key advisory locks, so this program's month locks stand apart from
// any other application's advisory locks on the shared database.
constexpr int timesheetMonthLockClass = 0x68746162;   // "htab"

int monthKey(int month, int year) { return year * 100 + month; }

}  // namespace

void lockTimesheetMonth(Connection& connection, int month, int year) {
    if (!connection.inTransaction())
        throw std::logic_error("the timesheet month lock belongs inside a transaction");
    Command lock(connection, QStringLiteral("select pg_advisory_xact_lock(:lockclass::integer, :monthkey::integer)"));
    lock.setParam(QStringLiteral("lockclass"), timesheetMonthLockClass);
    lock.setParam(QStringLiteral("monthkey"), monthKey(month, year));
    lock.execute();
}

void lockTimesheetMonths(Connection& connection, const QDate& one, const QDate& other) {
    const auto [earlier, later] = std::minmax({monthKey(one.month(), one.year()), monthKey(other.month(), other.year())});
    lockTimesheetMonth(connection, earlier % 100, earlier / 100);
    if (later != earlier) lockTimesheetMonth(connection, later % 100, later / 100);
}

}  // namespace data
