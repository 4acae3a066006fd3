// The rebuild of a month's timesheet from the shift records: what the table holds afterwards, the
// exact statements it sends, and a failure halfway that must leave the month as it was.

#include "data/data_module.h"
#include "data/db_error.h"
#include "data/timesheet_queries.h"
#include "tests/support/fixtures.h"
#include "tests/support/qt_printers.h"
#include "tests/support/test_database.h"
#include "timesheet/timesheet_rebuild.h"

#include <gtest/gtest.h>
#include <algorithm>

namespace {

using testing_support::exec;
using testing_support::Fixtures;
using testing_support::scalar;
using testing_support::StatementLog;
using testing_support::testSettings;

// Opens the connection on a clean database before the other members write their rows.
struct CleanDatabase {
    explicit CleanDatabase(data::Connection& connection) {
        connection.open();
        testing_support::resetDatabase(connection);
    }
};

class RebuildTest : public ::testing::Test {
protected:
    // A record of worker `w` (0 or 1) on `day` in `shift`.
    void record(int w, const QDate& day, int shift, int hours, const QVariant& ok = QStringLiteral("no")) {
        fixtures.record({.worker = workers[w], .product = basics.product, .oper = basics.oper, .day = day,
                         .shift = shift, .color = nextColor++, .time = hours, .ok = ok});
    }

    void rebuild(int month, int year) { timesheet::rebuildMonth(dm, dt, month, QString::number(year)); }

    // The month's rows as "shift/worker: day=hours ..." with the days that are not NULL.
    QStringList table(int month, int year) {
        data::Dataset rows(dm.ADO_DB, QStringLiteral(
            "select * from accounts_dep.h_tabel where month=:m and year=:y order by smena, w_id"));
        rows.setParam(QStringLiteral("m"), month);
        rows.setParam(QStringLiteral("y"), year);
        rows.open();
        QStringList out;
        for (int r = 1; r <= rows.recordCount(); ++r) {
            rows.setRecNo(r);
            const int w = workers.indexOf(int(rows.field(QStringLiteral("w_id")).asInteger()));
            QString line = QStringLiteral("%1/w%2:").arg(rows.field(QStringLiteral("smena")).asInteger()).arg(w);
            for (int day = 1; day <= 31; ++day) {
                const data::Field hours = rows.field(QStringLiteral("d%1").arg(day));
                if (!hours.isNull()) line += QStringLiteral(" %1=%2").arg(day).arg(hours.asString());
            }
            out << line;
        }
        return out;
    }

    TDataModule6 dm{testSettings()};
    CleanDatabase clean{dm.ADO_DB};
    Fixtures fixtures{dm.ADO_DB};
    data::Dataset dt{dm.ADO_DB, data::timesheetDayQuery()};
    Fixtures::Basics basics = fixtures.basics();
    QList<int> workers{basics.worker, fixtures.worker(QStringLiteral("Петров П.П."))};
    int nextColor = 0;
};

struct Rec {
    int worker;
    QDate day;
    int shift;
    int hours;
    QVariant ok = QStringLiteral("no");
};

struct Case {
    const char* name;
    std::vector<Rec> records;
    int month;
    int year;
    QStringList expected;
};

TEST_F(RebuildTest, FillsOneRowPerShiftAndWorkerWithTheDayHours) {
    const std::vector<Case> cases = {
        {"empty month", {{0, QDate(2026, 10, 31), 1, 8}}, 11, 2026, {}},
        {"leap February reads day 29",
         {{0, QDate(2024, 2, 1), 1, 8}, {0, QDate(2024, 2, 29), 1, 5}, {0, QDate(2024, 3, 1), 1, 7}},
         2, 2024, {"1/w0: 1=8 29=5"}},
        {"one day of shift 2", {{1, QDate(2026, 6, 5), 2, 6}}, 6, 2026, {"2/w1: 5=6"}},
        {"two shifts on one day, records summed",
         {{0, QDate(2026, 6, 3), 1, 4}, {0, QDate(2026, 6, 3), 1, 3}, {0, QDate(2026, 6, 3), 3, 8}},
         6, 2026, {"1/w0: 3=7", "3/w0: 3=8"}},
        {"overtime is shift 4", {{0, QDate(2026, 6, 30), 4, 2}}, 6, 2026, {"4/w0: 30=2"}},
        {"every acceptance mark counts",
         {{0, QDate(2026, 6, 1), 1, 1, QStringLiteral("no")}, {0, QDate(2026, 6, 1), 1, 2, QStringLiteral("ok")},
          {0, QDate(2026, 6, 1), 1, 4, QStringLiteral("да")}, {0, QDate(2026, 6, 2), 1, 8, QVariant()}},
         6, 2026, {"1/w0: 1=7 2=8"}},
        {"December of two workers",
         {{0, QDate(2026, 12, 1), 1, 8}, {1, QDate(2026, 12, 31), 1, 9}, {0, QDate(2027, 1, 1), 1, 8}},
         12, 2026, {"1/w0: 1=8", "1/w1: 31=9"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::resetDatabase(dm.ADO_DB);
        basics = fixtures.basics();
        workers = {basics.worker, fixtures.worker(QStringLiteral("Петров П.П."))};
        for (const Rec& r : c.records) record(r.worker, r.day, r.shift, r.hours, r.ok);
        rebuild(c.month, c.year);
        EXPECT_EQ(table(c.month, c.year), c.expected);
    }
}

TEST_F(RebuildTest, ReplacesTheMonthAndLeavesOtherMonthsAlone) {
    record(0, QDate(2026, 6, 2), 1, 8);
    record(0, QDate(2026, 7, 2), 1, 6);
    rebuild(7, 2026);
    exec(dm.ADO_DB, QStringLiteral("update accounts_dep.h_tabel set d2=99"));   // stale hand edits
    exec(dm.ADO_DB, QStringLiteral("insert into accounts_dep.h_tabel(smena, w_id, month, year, d9) "
                                   "values(3, %1, 6, 2026, 5)").arg(workers[1]));
    rebuild(6, 2026);
    const QStringList once = table(6, 2026);
    rebuild(6, 2026);
    EXPECT_EQ(table(6, 2026), once);
    EXPECT_EQ(once, QStringList{"1/w0: 2=8"});
    EXPECT_EQ(table(7, 2026), QStringList{"1/w0: 2=99"});
}

TEST_F(RebuildTest, SendsTheTimesheetStatementsAsWritten) {
    record(0, QDate(2026, 2, 1), 1, 8);
    record(1, QDate(2026, 2, 1), 2, 5);
    record(0, QDate(2026, 2, 2), 1, 7);
    StatementLog log(dm.ADO_DB);
    rebuild(2, 2026);
    const QString w0 = QString::number(workers[0]), w1 = QString::number(workers[1]);
    const QString dayQuery = data::timesheetDayQuery();
    QStringList expected{
        "begin",
        "select pg_try_advisory_xact_lock(:lockclass::integer, :monthkey::integer)::integer",
        "delete from accounts_dep.h_tabel where month=2 and year=2026",
        dayQuery,
        "select count(w_id) as cnt from accounts_dep.h_tabel h_tabel where w_id=" + w0 + " and smena=1 and month=2 and year=2026",
        "select count(w_id) as cnt from accounts_dep.h_tabel h_tabel where w_id=" + w1 + " and smena=2 and month=2 and year=2026",
        "insert into accounts_dep.h_tabel(smena, w_id, month, year, d1) values(1, " + w0 + ", 2, 2026, 8)",
        "insert into accounts_dep.h_tabel(smena, w_id, month, year, d1) values(2, " + w1 + ", 2, 2026, 5)",
        dayQuery,
        "select count(w_id) as cnt from accounts_dep.h_tabel h_tabel where w_id=" + w0 + " and smena=1 and month=2 and year=2026",
        "update accounts_dep.h_tabel set d2='7' where w_id=" + w0 + " and smena=1 and month=2 and year=2026",
    };
    for (int day = 3; day <= 28; ++day) expected << dayQuery;
    expected << "commit";
    // Rows of one day come in the server's order: compare the day-1 pairs as a set.
    QStringList sent = log.texts();
    ASSERT_EQ(sent.size(), expected.size());
    std::sort(sent.begin() + 4, sent.begin() + 6);
    std::sort(sent.begin() + 6, sent.begin() + 8);
    std::sort(expected.begin() + 4, expected.begin() + 6);
    std::sort(expected.begin() + 6, expected.begin() + 8);
    EXPECT_EQ(sent, expected);
    // The month's lock, keyed by month and year, before anything of the month is read or written.
    EXPECT_EQ(log.statements()[1].param(QStringLiteral("monthkey")).toInt(), 202602);
    EXPECT_EQ(log.statements()[3].param(QStringLiteral("data")).toDate(), QDate(2026, 2, 1));
    EXPECT_EQ(log.statements()[8].param(QStringLiteral("data")).toDate(), QDate(2026, 2, 2));
}

TEST_F(RebuildTest, AFailureHalfwayLeavesTheMonthAsItWas) {
    record(0, QDate(2026, 6, 1), 1, 8);
    rebuild(6, 2026);
    const QStringList before = table(6, 2026);
    record(1, QDate(2026, 6, 2), 1, 6);
    // Day 20's hours overflow the integer day column: the server refuses that insert.
    record(0, QDate(2026, 6, 20), 2, 2000000000);
    record(0, QDate(2026, 6, 20), 2, 2000000000);
    int lastDay = 0;
    EXPECT_THROW(timesheet::rebuildMonth(dm, dt, 6, QStringLiteral("2026"), [&](int day) { lastDay = day; }),
                 data::DbError);
    EXPECT_EQ(lastDay, 19);
    EXPECT_FALSE(dm.ADO_DB.inTransaction());
    EXPECT_EQ(table(6, 2026), before);
    // The connection goes on working after the rollback.
    EXPECT_EQ(scalar(dm.ADO_DB, QStringLiteral("select 1")).toInt(), 1);
}

TEST(DaysInMonth, CountsLeapYearsAndRefusesAYearThatIsNoNumber) {
    EXPECT_EQ(timesheet::daysInMonth(2, QStringLiteral("2024")), 29);
    EXPECT_EQ(timesheet::daysInMonth(2, QStringLiteral("2100")), 28);
    EXPECT_EQ(timesheet::daysInMonth(12, QStringLiteral("2026")), 31);
    EXPECT_EQ(timesheet::daysInMonth(4, QStringLiteral("2026")), 30);
    EXPECT_EQ(timesheet::daysInMonth(4, QString()), 0);
}

}  // namespace
