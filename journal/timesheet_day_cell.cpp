#include "journal/timesheet_day_cell.h"

#include "data/data_module.h"
#include "data/sql_text.h"
#include "data/timesheet_month_lock.h"

namespace journal {
namespace {

// The timesheet row of the worker's shift, month and year, after its "w_id=" + worker id.
QString restOfRow(int shift, const QDate& day) {
    return QStringLiteral(" and smena=") + sql::integer(shift) + QStringLiteral(" and month=") +
           sql::integer(day.month()) + QStringLiteral(" and year=") + sql::integer(day.year());
}

// Reads one integer column of a one-row query through the scratch query; 0 without a row.
qint64 readScalar(TDataModule6& dm, const QString& sql, const QString& column) {
    dm.Control.close();
    dm.Control.setSql(sql);
    dm.Control.open();
    const qint64 value = dm.Control.field(column).asInteger();
    dm.Control.close();
    return value;
}

qint64 hoursOfDay(TDataModule6& dm, qint64 workerId, int shift, const QDate& day) {
    return readScalar(dm,
        QStringLiteral("select sum(time) as tim from accounts_dep.smena where w_id=") + sql::integer(workerId) +
            QStringLiteral(" and smena=") + sql::integer(shift) + QStringLiteral(" and data=to_date('") +
            sql::date(day) + QStringLiteral("', 'DD.MM.YYYY') group by w_id, smena, data"),
        QStringLiteral("tim"));
}

void updateDayCell(TDataModule6& dm, qint64 workerId, int shift, const QDate& day, const QString& value) {
    dm.H_Tabel_ins.execute(QStringLiteral("update accounts_dep.h_tabel set d") + sql::integer(day.day()) +
                           u'=' + value + QStringLiteral(" where w_id=") + sql::integer(workerId) +
                           restOfRow(shift, day));
}

// The cell of a record saved there: its row is created when missing.
void writeSavedCell(TDataModule6& dm, const DayCell& cell) {
    const qint64 rows = readScalar(dm,
        QStringLiteral("select count(w_id) as cnt from accounts_dep.h_tabel where w_id=") + sql::integer(cell.workerId) +
            restOfRow(cell.shift, cell.day),
        QStringLiteral("cnt"));
    const qint64 hours = hoursOfDay(dm, cell.workerId, cell.shift, cell.day);
    if (rows != 0) {
        updateDayCell(dm, cell.workerId, cell.shift, cell.day, sql::integer(hours));
        return;
    }
    dm.H_Tabel_ins.execute(QStringLiteral("insert into accounts_dep.h_tabel(smena, w_id, month, year, d") +
                           sql::integer(cell.day.day()) + QStringLiteral(") values(") + sql::integer(cell.shift) +
                           QStringLiteral(", ") + sql::integer(cell.workerId) + QStringLiteral(", ") +
                           sql::integer(cell.day.month()) + QStringLiteral(", ") + sql::integer(cell.day.year()) +
                           QStringLiteral(", ") + sql::integer(hours) + u')');
}

// The cell a record left: what remains there, or nothing; no row is created for it.
void writeLeftCell(TDataModule6& dm, const DayCell& cell) {
    const qint64 hours = hoursOfDay(dm, cell.workerId, cell.shift, cell.day);
    updateDayCell(dm, cell.workerId, cell.shift, cell.day, hours == 0 ? QStringLiteral("NULL") : sql::integer(hours));
}

}  // namespace

std::optional<DayCell> lockedRecordCell(TDataModule6& dm, qint64 recordId) {
    dm.Control.close();
    dm.Control.setSql(QStringLiteral("select w_id, smena, data from accounts_dep.smena where id=") +
                      sql::integer(recordId) + QStringLiteral(" for update"));
    dm.Control.open();
    std::optional<DayCell> cell;
    if (!dm.Control.isEmpty())
        cell = DayCell{dm.Control.field(QStringLiteral("w_id")).asInteger(),
                       int(dm.Control.field(QStringLiteral("smena")).asInteger()),
                       dm.Control.field(QStringLiteral("data")).asDate()};
    dm.Control.close();
    return cell;
}

void writeDayCellAfterSave(TDataModule6& dm, qint64 workerId, int shift, const QDate& day) {
    data::lockTimesheetMonth(dm.ADO_DB, day.month(), day.year());
    writeSavedCell(dm, {workerId, shift, day});
}

void writeDayCellsAfterChange(TDataModule6& dm, const DayCell& before, const DayCell& after) {
    data::lockTimesheetMonths(dm.ADO_DB, before.day, after.day);
    if (before != after) writeLeftCell(dm, before);
    writeSavedCell(dm, after);
}

void writeDayCellAfterDelete(TDataModule6& dm, qint64 workerId, int shift, const QDate& day) {
    data::lockTimesheetMonth(dm.ADO_DB, day.month(), day.year());
    writeLeftCell(dm, {workerId, shift, day});
}

}  // namespace journal
