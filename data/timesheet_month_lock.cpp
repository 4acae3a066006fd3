#include "data/timesheet_month_lock.h"

#include "data/command.h"
#include "data/connection.h"

#include <stdexcept>

namespace data {
namespace {

// The first key of the two-key advisory locks, so this program's month locks stand apart from
// any other application's advisory locks on the shared database.
constexpr int timesheetMonthLockClass = 0x68746162;   // "htab"

}  // namespace

void lockTimesheetMonth(Connection& connection, int month, int year) {
    if (!connection.inTransaction())
        throw std::logic_error("the timesheet month lock belongs inside a transaction");
    Command lock(connection, QStringLiteral("select pg_advisory_xact_lock(:lockclass::integer, :monthkey::integer)"));
    lock.setParam(QStringLiteral("lockclass"), timesheetMonthLockClass);
    lock.setParam(QStringLiteral("monthkey"), year * 100 + month);
    lock.execute();
}

}  // namespace data
