#include "timesheet/timesheet_rebuild.h"

#include "data/data_module.h"
#include "data/sql_text.h"
#include "data/timesheet_month_lock.h"
#include "data/transaction.h"

#include <QDate>
#include <vector>

namespace timesheet {

namespace {

// One row of the day query: the hours of a worker in a shift on that day.
struct DayHours {
    QString shift;
    QString worker;
    QString hours;
};

std::vector<DayHours> readDay(data::Dataset& dt, const QDate& day) {
    dt.close();
    dt.setParam(QStringLiteral("data"), day);
    dt.open();
    std::vector<DayHours> rows;
    for (int row = 1; row <= dt.recordCount(); ++row) {
        dt.setRecNo(row);
        rows.push_back({sql::integer(dt.field(QStringLiteral("smena")).asInteger()),
                        sql::integer(dt.field(QStringLiteral("w_id")).asInteger()),
                        sql::integer(dt.field(QStringLiteral("tim")).asInteger())});
    }
    dt.close();
    return rows;
}

// The worker's row of the month after its "w_id=".
QString restOfRow(const DayHours& row, const QString& m, const QString& y) {
    return row.worker + QStringLiteral(" and smena=") + row.shift + QStringLiteral(" and month=") + m +
           QStringLiteral(" and year=") + y;
}

data::Statement countStatement(const DayHours& row, const QString& m, const QString& y) {
    return {QStringLiteral("select count(w_id) as cnt from accounts_dep.h_tabel h_tabel where w_id=") +
                restOfRow(row, m, y),
            {}, {}};
}

data::Statement writeStatement(bool exists, int day, const DayHours& row, const QString& m,
                               const QString& y) {
    const QString d = QString::number(day);
    if (exists)
        return {QStringLiteral("update accounts_dep.h_tabel set d") + d + QStringLiteral("='") + row.hours +
                    QStringLiteral("' where w_id=") + restOfRow(row, m, y),
                {}, {}};
    return {QStringLiteral("insert into accounts_dep.h_tabel(smena, w_id, month, year, d") + d +
                QStringLiteral(") values(") + row.shift + QStringLiteral(", ") + row.worker +
                QStringLiteral(", ") + m + QStringLiteral(", ") + y + QStringLiteral(", ") + row.hours +
                u')',
            {}, {}};
}

void rebuildDay(data::Connection& connection, int day, const std::vector<DayHours>& rows,
                const QString& m, const QString& y) {
    std::vector<data::Statement> counts;
    for (const DayHours& row : rows) counts.push_back(countStatement(row, m, y));
    const std::vector<data::Result> found = connection.execPipeline(counts);

    std::vector<data::Statement> writes;
    for (size_t i = 0; i < rows.size(); ++i) {
        const bool exists = data::integerAt(found[i], 0, 0) != 0;
        writes.push_back(writeStatement(exists, day, rows[i], m, y));
    }
    connection.execPipeline(writes);
}

}  // namespace

int daysInMonth(int month, const QString& year) {
    bool number = false;
    const int y = year.toInt(&number);
    return number ? QDate(y, month, 1).daysInMonth() : 0;
}

void rebuildMonth(TDataModule6& dm, data::Dataset& dt, int month, const QString& year,
                  const std::function<void(int day)>& dayDone) {
    const QString m = sql::integer(month);
    data::Transaction transaction(dm.ADO_DB);
    // A year that is no number locks the month of year 0, and the delete then fails.
    data::lockTimesheetMonth(dm.ADO_DB, month, year.toInt());
    dm.DelSmena.execute(QStringLiteral("delete from accounts_dep.h_tabel where month=") + m +
                        QStringLiteral(" and year=") + year);
    const int days = daysInMonth(month, year);
    for (int day = 1; day <= days; ++day) {
        rebuildDay(dm.ADO_DB, day, readDay(dt, QDate(year.toInt(), month, day)), m, year);
        if (dayDone) dayDone(day);
    }
    transaction.commit();
}

}  // namespace timesheet
