#include "data/timesheet_month_lock.h"

#include "data/connection.h"

#include <QElapsedTimer>
#include <QLocale>
#include <algorithm>
#include <stdexcept>

namespace data {
namespace {

int monthKey(int month, int year) { return year * 100 + month; }

Statement lockStatement(const QString& text, int month, int year) {
    return Statement{text, {QStringLiteral("lockclass"), QStringLiteral("monthkey")}, {monthLockClass, monthKey(month, year)}};
}

QString busyMessage(int month, int year) {
    const QString monthName = QLocale(QLocale::Russian, QLocale::Russia).standaloneMonthName(month).toLower();
    return QStringLiteral("Табель за %1 %2 г. сейчас перестраивается на другом рабочем месте. "
                          "Ничего не записано, попробуйте ещё раз через минуту.")
        .arg(monthName)
        .arg(year);
}

}  // namespace

TimesheetMonthBusy::TimesheetMonthBusy(int month, int year) : DbError(busyMessage(month, year)) {}

// The lock is usually free: one statement takes it. Otherwise the wait happens on the server,
// in the lock's queue, bounded by a lock timeout that covers this one statement. Only a failure
// that comes when the patience is up is the timeout; any other (the connection lost, a deadlock
// the server broke) is reported as it is.
void lockTimesheetMonth(Connection& connection, int month, int year) {
    if (!connection.inTransaction())
        throw std::logic_error("the timesheet month lock belongs inside a transaction");
    const Result taken = connection.exec(lockStatement(
        QStringLiteral("select pg_try_advisory_xact_lock(:lockclass::integer, :monthkey::integer)::integer"), month, year));
    if (integerAt(taken, 0, 0) == 1) return;
    connection.exec(Statement{QStringLiteral("set local lock_timeout = '%1s'").arg(monthLockPatienceSeconds), {}, {}});
    QElapsedTimer waited;
    waited.start();
    try {
        connection.exec(lockStatement(QStringLiteral("select pg_advisory_xact_lock(:lockclass::integer, :monthkey::integer)"),
                                      month, year));
    } catch (const DbError&) {
        const bool patienceUp = waited.elapsed() >= monthLockPatienceSeconds * 1000 - 50;
        if (!patienceUp || !connection.isConnected()) throw;
        throw TimesheetMonthBusy(month, year);
    }
    connection.exec(Statement{QStringLiteral("set local lock_timeout to default"), {}, {}});
}

void lockTimesheetMonths(Connection& connection, const QDate& one, const QDate& other) {
    const auto [earlier, later] = std::minmax({monthKey(one.month(), one.year()), monthKey(other.month(), other.year())});
    lockTimesheetMonth(connection, earlier % 100, earlier / 100);
    if (later != earlier) lockTimesheetMonth(connection, later % 100, later / 100);
}

}  // namespace data
