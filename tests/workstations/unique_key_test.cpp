// One timesheet row per worker, shift, month and year: the key of db/schema.sql, and the
// administrator's statements of the README that merge the duplicates of an older database and
// add the key to it.

#include "data/db_error.h"
#include "tests/support/program_fixture.h"
#include "tests/workstations/two_workstations.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

using testing_support::DatabaseTest;
using testing_support::exec;
using testing_support::scalar;

const QString key = QStringLiteral("h_tabel_smena_w_id_month_year_key");

QString insertRow(int shift, int worker, int month, int year, const QString& days = QStringLiteral("d1"),
                  const QString& values = QStringLiteral("8")) {
    return QStringLiteral("insert into accounts_dep.h_tabel (smena, w_id, month, year, %1) values (%2, %3, %4, %5, %6)")
        .arg(days).arg(shift).arg(worker).arg(month).arg(year).arg(values);
}

bool hasKey(data::Connection& connection) {
    return scalar(connection, QStringLiteral("select count(*)::int from pg_constraint where conname='%1'").arg(key)).toInt() == 1;
}

TEST_F(DatabaseTest, TheTimesheetKeepsOneRowPerWorkerShiftMonthAndYear) {
    exec(connection, insertRow(1, 7, 12, 2026));
    try {
        exec(connection, insertRow(1, 7, 12, 2026, QStringLiteral("d2"), QStringLiteral("5")));
        ADD_FAILURE() << "a second row of one worker, shift, month and year was accepted";
    } catch (const data::DbError& e) {
        EXPECT_TRUE(e.message().contains(key)) << e.message().toStdString();
    }
    // A row that differs in any one of the four is another row.
    const struct { int shift, worker, month, year; } others[] = {{2, 7, 12, 2026}, {1, 8, 12, 2026}, {1, 7, 11, 2026}, {1, 7, 12, 2025}};
    for (const auto& o : others) EXPECT_NO_THROW(exec(connection, insertRow(o.shift, o.worker, o.month, o.year)));
    EXPECT_EQ(scalar(connection, QStringLiteral("select count(*)::int from accounts_dep.h_tabel")).toInt(), 5);
}

// The README's section on several workstations, and its SQL blocks in order.
QStringList readmeSqlBlocks() {
    QFile file(QStringLiteral(TABEL_SOURCE_DIR "/README.md"));
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read README.md");
    const QString readme = QString::fromUtf8(file.readAll());
    const qsizetype start = readme.indexOf(QStringLiteral("\n## Several workstations\n"));
    if (start < 0) throw std::runtime_error("README.md has no section on several workstations");
    const qsizetype end = readme.indexOf(QStringLiteral("\n## "), start + 1);
    const QString section = readme.mid(start, end < 0 ? -1 : end - start);
    QStringList blocks;
    const QRegularExpression sql(QStringLiteral("```sql\\n(.*?)```"), QRegularExpression::DotMatchesEverythingOption);
    for (auto it = sql.globalMatch(section); it.hasNext();) blocks << it.next().captured(1);
    return blocks;
}

// An older database without the key, holding duplicates that racing saves left.
class OlderDatabase : public DatabaseTest {
protected:
    OlderDatabase() { exec(connection, QStringLiteral("alter table accounts_dep.h_tabel drop constraint %1").arg(key)); }
    ~OlderDatabase() override {
        // Whatever the test did, the next test finds the schema's table.
        if (!hasKey(connection)) {
            exec(connection, QStringLiteral("delete from accounts_dep.h_tabel"));
            exec(connection, QStringLiteral("alter table accounts_dep.h_tabel add constraint %1 unique (smena, w_id, month, year)").arg(key));
        }
    }

    QStringList table() {
        QStringList columns;
        for (int d = 1; d <= 31; ++d) columns << QStringLiteral("coalesce(d%1::text, '-')").arg(d);
        return scalar(connection, QStringLiteral("select string_agg(concat_ws(' ', year, month, smena, w_id, id = min_id, %1), ';' "
                                                 "order by year, month, smena, w_id, id) from (select *, min(id) over "
                                                 "(partition by smena, w_id, month, year) as min_id from accounts_dep.h_tabel) t")
                                      .arg(columns.join(u','))).toString().split(u';');
    }
    static QString row(const char* head, std::initializer_list<std::pair<int, const char*>> days) {
        QStringList cells(31, QStringLiteral("-"));
        for (const auto& [day, value] : days) cells[day - 1] = QString::fromLatin1(value);
        return QString::fromLatin1(head) + QStringLiteral(" t ") + cells.join(u' ');
    }
};

TEST_F(OlderDatabase, TheReadmeStatementsMergeDuplicatesAndAddTheKey) {
    const QStringList blocks = readmeSqlBlocks();
    ASSERT_EQ(blocks.size(), 2) << "the months to rebuild, then the merge";

    // Worker 7, shift 1, December: three rows. Two racing saves of day 8 wrote 4 and 7 hours; a
    // later save updated day 9 in both; day 1 and day 2 stand in one row each.
    exec(connection, insertRow(1, 7, 12, 2026, QStringLiteral("d1, d8, d9"), QStringLiteral("8, 4, 5")));
    exec(connection, insertRow(1, 7, 12, 2026, QStringLiteral("d2, d8, d9"), QStringLiteral("6, 7, 5")));
    exec(connection, insertRow(1, 7, 12, 2026, QStringLiteral("d8"), QStringLiteral("3")));
    // Worker 7, shift 2, November: two rows with the same hours.
    exec(connection, insertRow(2, 7, 11, 2026, QStringLiteral("d3"), QStringLiteral("6")));
    exec(connection, insertRow(2, 7, 11, 2026, QStringLiteral("d3"), QStringLiteral("6")));
    // Rows without a twin stay as they are, in the same month too.
    exec(connection, insertRow(1, 8, 12, 2026, QStringLiteral("d8, d31"), QStringLiteral("2, 9")));
    exec(connection, insertRow(1, 7, 12, 2025, QStringLiteral("d8"), QStringLiteral("1")));

    EXPECT_EQ(scalar(connection, QStringLiteral("select string_agg(concat_ws('/', year, month, workers_with_two_rows), ',') "
                                                "from (%1) m").arg(blocks[0].trimmed().chopped(1))).toString(),
              QStringLiteral("2026/11/1,2026/12/1"));

    exec(connection, blocks[1]);

    EXPECT_TRUE(hasKey(connection));
    EXPECT_EQ(table(), QStringList({
        row("2025 12 1 7", {{8, "1"}}),
        row("2026 11 2 7", {{3, "6"}}),
        row("2026 12 1 7", {{1, "8"}, {2, "6"}, {8, "7"}, {9, "5"}}),
        row("2026 12 1 8", {{8, "2"}, {31, "9"}}),
    }));
    EXPECT_THROW(exec(connection, insertRow(1, 7, 12, 2026)), data::DbError);

    // On a database without duplicates they only add the key.
    exec(connection, QStringLiteral("alter table accounts_dep.h_tabel drop constraint %1").arg(key));
    exec(connection, blocks[1]);
    EXPECT_TRUE(hasKey(connection));
    EXPECT_EQ(table().size(), 4);
}

}  // namespace
