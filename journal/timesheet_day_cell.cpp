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

}  // namespace

void writeDayCellAfterSave(TDataModule6& dm, qint64 workerId, int shift, const QDate& day) {
    data::lockTimesheetMonth(dm.ADO_DB, day.month(), day.year());
    const qint64 rows = readScalar(dm,
        QStringLiteral("select count(w_id) as cnt from accounts_dep.h_tabel where w_id=") + sql::integer(workerId) +
            restOfRow(shift, day),
        QStringLiteral("cnt"));
    const qint64 hours = hoursOfDay(dm, workerId, shift, day);
    if (rows != 0) {
        updateDayCell(dm, workerId, shift, day, sql::integer(hours));
        return;
    }
    dm.H_Tabel_ins.execute(QStringLiteral("insert into accounts_dep.h_tabel(smena, w_id, month, year, d") +
                           sql::integer(day.day()) + QStringLiteral(") values(") + sql::integer(shift) +
                           QStringLiteral(", ") + sql::integer(workerId) + QStringLiteral(", ") +
                           sql::integer(day.month()) + QStringLiteral(", ") + sql::integer(day.year()) +
                           QStringLiteral(", ") + sql::integer(hours) + u')');
}

void writeDayCellAfterDelete(TDataModule6& dm, qint64 workerId, int shift, const QDate& day) {
    data::lockTimesheetMonth(dm.ADO_DB, day.month(), day.year());
    const qint64 hours = hoursOfDay(dm, workerId, shift, day);
    updateDayCell(dm, workerId, shift, day, hours == 0 ? QStringLiteral("NULL") : sql::integer(hours));
}

}  // namespace journal
