// Day cells of the monthly timesheet written from several workstations at once: two saves of the
// same worker's day, and records added and deleted while another workstation rebuilds the month.
// The other workstations' writes run in threads of their own, each on its own connection, through
// the same code the record editor and the record deletion use.

#include "data/data_module.h"
#include "data/timesheet_month_lock.h"
#include "data/timesheet_queries.h"
#include "data/transaction.h"
#include "journal/journal_window.h"
#include "journal/record_editor.h"
#include "journal/timesheet_day_cell.h"
#include "tests/support/login.h"
#include "tests/workstations/two_workstations.h"
#include "timesheet/timesheet_rebuild.h"
#include "ui/clock.h"

#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>
#include <list>

namespace {

using testing_support::exec;
using testing_support::Fixtures;
using testing_support::scalar;
using workstations::monthTable;
using workstations::OtherSession;
using workstations::someoneWaitsForALock;
using workstations::TwoWorkstations;

const QDate tuesday(2026, 12, 8);

bool waitFor(const std::atomic<bool>& flag, int ms = 10000) {
    for (int waited = 0; !flag && waited < ms; waited += 5) QThread::msleep(5);
    return flag;
}

// A save as the record editor makes it, on another workstation's data module.
void saveRecord(TDataModule6& m, const Fixtures::Record& r) {
    data::Transaction transaction(m.ADO_DB);
    Fixtures(m.ADO_DB).record(r);
    journal::writeDayCellAfterSave(m, r.worker, r.shift, r.day);
    transaction.commit();
}

// A deletion as the journal makes it.
void deleteRecord(TDataModule6& m, int id, int worker, int shift, const QDate& day) {
    data::Transaction transaction(m.ADO_DB);
    exec(m.ADO_DB, QStringLiteral("delete from accounts_dep.smena where id=%1").arg(id));
    journal::writeDayCellAfterDelete(m, worker, shift, day);
    transaction.commit();
}

class ConcurrentWrites : public TwoWorkstations {
protected:
    ConcurrentWrites() { ui::setToday(tuesday); }

    int records() { return scalar(dm->ADO_DB, QStringLiteral("select count(*)::int from accounts_dep.smena")).toInt(); }

    static QString cells(std::initializer_list<std::pair<int, int>> given) {
        QStringList days(31, QStringLiteral("-"));
        for (const auto& [day, value] : given) days[day - 1] = QString::number(value);
        return days.join(u'|');
    }
};

// Workstation A has saved a record of the worker's day and written his day cell, its transaction
// still open, when B's editor saves another record of the same day. B's cell write waits for
// A's commit and then finds A's row and A's hours: one row, the hours of both.
TEST_F(ConcurrentWrites, TwoSavesOfTheSameWorkersDayMakeOneRowWithTheHoursOfBoth) {
    testing_support::loginAs(rosterB, ui, QStringLiteral("61730482"));
    std::atomic<bool> aWritten{false};
    std::atomic<bool> bWaited{false};
    OtherSession a([&](TDataModule6& m) {
        data::Transaction transaction(m.ADO_DB);
        Fixtures(m.ADO_DB).record(recordOf(tuesday, 4, 1));
        journal::writeDayCellAfterSave(m, basics.worker, 1, tuesday);
        aWritten = true;
        bWaited = someoneWaitsForALock(m.ADO_DB);
        transaction.commit();
    });
    ASSERT_TRUE(waitFor(aWritten));

    ui.modal.expect(QStringLiteral("Form11"), [&](ui::Form& f) {
        TForm11& editor = static_cast<TForm11&>(f);
        editor.workerId = basics.worker;
        editor.productId = basics.product;
        editor.operationId = basics.oper;
        editor.finalPrice = *data::Decimal::parse(QStringLiteral("2.5"));
        editor.Edit1->setText(QStringLiteral("Иванов И.И."));
        editor.Edit2->setText(QStringLiteral("ШК-120; Сборка; Готовая продукция"));
        editor.Edit3->setText(QStringLiteral("6"));
        editor.Edit6->setText(QStringLiteral("3"));
        editor.Button1->click();   // waits here until A commits
        EXPECT_EQ(f.result(), QDialog::Accepted);
    });
    rosterB.Form1->Button1->click();
    a.rethrow();

    EXPECT_TRUE(bWaited) << "B's save did not wait for A's open transaction";
    EXPECT_TRUE(ui.dialogs.shown().empty()) << ui.dialogs.texts().join(u'\n').toStdString();
    EXPECT_EQ(records(), 2);
    EXPECT_EQ(timesheetRows(tuesday), QStringList{cells({{8, 7}})});
    expectScriptPlayed();
}

// The month's lock serialises cell writes of one month only: another month's write goes on
// while it is held, a write of the held month waits for its release.
TEST_F(ConcurrentWrites, TheMonthLockHoldsBackWritesOfThatMonthOnly) {
    data::Transaction holding(dmB->ADO_DB);
    data::lockTimesheetMonth(dmB->ADO_DB, 12, 2026);

    const QDate january(2027, 1, 4);
    std::atomic<bool> otherMonthDone{false};
    std::atomic<bool> sameMonthDone{false};
    OtherSession writer([&](TDataModule6& m) {
        saveRecord(m, recordOf(january, 5, 1));
        otherMonthDone = true;
        saveRecord(m, recordOf(tuesday, 6, 2));
        sameMonthDone = true;
    });
    EXPECT_TRUE(waitFor(otherMonthDone));
    EXPECT_TRUE(someoneWaitsForALock(dm->ADO_DB));
    EXPECT_FALSE(sameMonthDone);
    EXPECT_EQ(timesheetRows(tuesday), QStringList());
    holding.commit();
    writer.rethrow();
    EXPECT_EQ(timesheetRows(tuesday), QStringList{cells({{8, 6}})});
    EXPECT_EQ(timesheetRows(january), QStringList{cells({{4, 5}})});

    // Outside a transaction the lock would be let go at once: refused.
    EXPECT_THROW(data::lockTimesheetMonth(dmB->ADO_DB, 12, 2026), std::logic_error);
}

// Four workstations add and delete records of the month, on days the rebuild has passed and on
// days still ahead of it, while a fifth rebuilds it. Afterwards the month is what a rebuild
// computes from the records: nothing lost, nothing counted twice.
TEST_F(ConcurrentWrites, ARebuildWithRecordsAddedAndDeletedMeanwhileEqualsAFreshRebuild) {
    const int other = fixtures.worker(QStringLiteral("Петров П.П."));
    const int newcomer = fixtures.worker(QStringLiteral("Сидоров С.С."));
    auto recordOfWorker = [&](int worker, const QDate& day, int hours, int colour) {
        Fixtures::Record r = recordOf(day, hours, colour);
        r.worker = worker;
        return r;
    };
    const QDate day3(2026, 12, 3), day5(2026, 12, 5), day25(2026, 12, 25), day10(2026, 12, 10);
    fixtures.record(recordOf(day3, 8, 1));
    const int goesBehind = fixtures.record(recordOf(day3, 2, 2));
    fixtures.record(recordOf(day5, 7, 1));
    fixtures.record(recordOfWorker(other, day25, 6, 1));
    const int goesAhead = fixtures.record(recordOfWorker(other, day25, 5, 2));
    data::Dataset dt(dm->ADO_DB, data::timesheetDayQuery());
    timesheet::rebuildMonth(*dm, dt, 12, QStringLiteral("2026"));   // the month as it stood

    std::atomic<bool> rebuildUnderWay{false};
    std::list<OtherSession> writers;
    auto whenRebuilding = [&](std::function<void(TDataModule6&)> write) {
        writers.emplace_back([&rebuildUnderWay, write = std::move(write)](TDataModule6& m) {
            if (!waitFor(rebuildUnderWay)) throw std::runtime_error("the rebuild never got under way");
            write(m);
        });
    };
    whenRebuilding([&](TDataModule6& m) { saveRecord(m, recordOf(day5, 3, 2)); });            // a day rebuilt
    whenRebuilding([&](TDataModule6& m) { deleteRecord(m, goesBehind, basics.worker, 1, day3); });
    whenRebuilding([&](TDataModule6& m) { deleteRecord(m, goesAhead, other, 1, day25); });   // a day ahead
    whenRebuilding([&](TDataModule6& m) { saveRecord(m, recordOfWorker(newcomer, day10, 4, 1)); });

    bool allWaited = false;
    timesheet::rebuildMonth(*dm, dt, 12, QStringLiteral("2026"), [&](int day) {
        if (day != 7) return;
        rebuildUnderWay = true;
        // Every writer has sent its first statement and waits: their writes fall in the middle.
        for (int waited = 0; waited < 10000 && !allWaited; waited += 10) {
            allWaited = scalar(dmB->ADO_DB, QStringLiteral("select count(*)::int from pg_locks where not granted")).toInt() == 4;
            if (!allWaited) QThread::msleep(10);
        }
    });
    for (OtherSession& writer : writers) writer.rethrow();
    EXPECT_TRUE(allWaited) << "the writers did not wait for the rebuild";

    const QStringList afterRace = monthTable(dm->ADO_DB, 12, 2026);
    timesheet::rebuildMonth(*dm, dt, 12, QStringLiteral("2026"));
    EXPECT_EQ(afterRace, monthTable(dm->ADO_DB, 12, 2026));
    // And what that is, by hand.
    EXPECT_EQ(timesheetRows(day3), QStringList{cells({{3, 8}, {5, 10}})});
    EXPECT_EQ(afterRace.size(), 3);
    EXPECT_EQ(records(), 5);
}

}  // namespace
