// A month of the timesheet held by another workstation for longer than a write will wait: one
// that died in the middle of a rebuild holds it until the server drops its connection. Saves,
// changes, deletions and rebuilds of that month stop with a message instead of freezing, write
// nothing and keep what the user typed; once the month is free the same press goes through.
// And the server drops a silent workstation within about a minute.

#include "data/data_module.h"
#include "data/timesheet_month_lock.h"
#include "data/timesheet_queries.h"
#include "journal/journal_window.h"
#include "journal/record_editor.h"
#include "tests/support/login.h"
#include "tests/workstations/two_workstations.h"
#include "timesheet/timesheet_rebuild.h"
#include "ui/clock.h"
#include "ui/date_picker.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

using testing_support::exec;
using testing_support::scalar;
using workstations::TwoWorkstations;

const QDate tuesday(2026, 12, 8);

QString busyText(const char* monthAndYear) {
    return QStringLiteral("Табель за %1 г. сейчас перестраивается на другом рабочем месте. "
                          "Ничего не записано, попробуйте ещё раз через минуту.")
        .arg(QString::fromUtf8(monthAndYear));
}

// A timesheet row as "d1|...|d31" with the given days' hours, "-" elsewhere.
QString cells(std::initializer_list<std::pair<int, int>> given) {
    QStringList days(31, QStringLiteral("-"));
    for (const auto& [day, value] : given) days[day - 1] = QString::number(value);
    return days.join(u'|');
}

void goTo(data::Dataset& records, int id) {
    for (int row = 1; row <= records.recordCount(); ++row) {
        records.setRecNo(row);
        if (records.field(QStringLiteral("id")).asInteger() == id) return;
    }
    ADD_FAILURE() << "no record " << id;
}

class MonthHeldElsewhere : public TwoWorkstations {
protected:
    MonthHeldElsewhere() {
        ui::setToday(tuesday);
        record = fixtures.record(recordOf(tuesday, 4, 1));
        exec(dm->ADO_DB, QStringLiteral("insert into accounts_dep.h_tabel (w_id, smena, month, year, d1, d8) "
                                        "values (%1, 1, 12, 2026, 8, 4)").arg(basics.worker));
        testing_support::loginAs(roster, ui, QStringLiteral("61730482"));
        holder.open();
    }

    // Holds the month's lock as a session does that took it and went silent: by the lock's keys,
    // as an administrator would take it from psql, for the whole session.
    void hold(int month, int year) {
        exec(holder, QStringLiteral("select pg_advisory_lock(1752457570, %1)").arg(year * 100 + month));
    }
    void release() { exec(holder, QStringLiteral("select pg_advisory_unlock_all()")); }

    // Everything a write could have touched.
    QString database() {
        return scalar(dm->ADO_DB, QStringLiteral(
            "select (select string_agg(concat_ws(' ', id, w_id, data, smena, time, kol_vo), '; ' order by id) "
            "from accounts_dep.smena) || ' / ' || (select string_agg(concat_ws(' ', w_id, smena, month, year, d1, d4, "
            "d8, d9), '; ' order by id) from accounts_dep.h_tabel)")).toString();
    }

    // Presses with the month held: after the patience the one message comes, nothing is written
    // and the transaction is gone. The month is released afterwards.
    void pressWhileHeld(int month, int year, const char* monthAndYear, const std::function<void()>& press) {
        hold(month, year);
        const QString before = database();
        QElapsedTimer waited;
        waited.start();
        press();
        EXPECT_GE(waited.elapsed(), data::monthLockPatienceSeconds * 1000 - 100);
        EXPECT_LT(waited.elapsed(), data::monthLockPatienceSeconds * 1000 + 20000);
        QStringList messages;
        for (const auto& shown : ui.dialogs.shown())
            if (shown.kind != testing_support::ScriptedDialogs::Kind::Question) messages << shown.text;
        EXPECT_EQ(messages, QStringList{busyText(monthAndYear)});
        EXPECT_EQ(database(), before);
        EXPECT_FALSE(dm->ADO_DB.inTransaction());
        ui.dialogs.clear();
        release();
    }

    int record = 0;
    data::Connection holder{testing_support::testSettings()};
};

TEST_F(MonthHeldElsewhere, AnAddStopsKeepsTheInputAndGoesThroughOnceTheMonthIsFree) {
    ui.modal.expect(QStringLiteral("Form11"), [&](ui::Form& f) {
        TForm11& editor = static_cast<TForm11&>(f);
        editor.receiveWorker(QStringLiteral("Иванов И.И."), basics.worker);
        editor.receiveOperation(basics.product, basics.oper, *data::Decimal::parse(QStringLiteral("2.5")),
                                QStringLiteral("ШК-120; Сборка; Готовая продукция"));
        editor.Edit3->setText(QStringLiteral("6"));
        editor.Edit6->setText(QStringLiteral("3"));
        editor.Edit4->setText(QStringLiteral("1"));
        pressWhileHeld(12, 2026, "декабрь 2026", [&] { editor.Button1->click(); });
        EXPECT_TRUE(f.isVisible());
        EXPECT_EQ(editor.Edit1->text(), QStringLiteral("Иванов И.И."));
        EXPECT_EQ(editor.Edit3->text(), QStringLiteral("6"));
        EXPECT_EQ(editor.Edit6->text(), QStringLiteral("3"));
        EXPECT_EQ(editor.Edit4->text(), QStringLiteral("1"));
        editor.Button1->click();
        EXPECT_EQ(f.result(), QDialog::Accepted);
    });
    roster.Form1->Button1->click();
    EXPECT_TRUE(ui.dialogs.shown().empty()) << ui.dialogs.texts().join(u'\n').toStdString();
    EXPECT_EQ(scalar(dm->ADO_DB, QStringLiteral("select count(*)::int from accounts_dep.smena")).toInt(), 2);
    EXPECT_EQ(timesheetRows(tuesday), QStringList{cells({{1, 8}, {8, 7}})});
    expectScriptPlayed();
}

// A change waits for the month it leaves and for the month it moves to; either held stops it.
TEST_F(MonthHeldElsewhere, AChangeStopsWhenEitherOfItsMonthsIsHeldAndKeepsTheInput) {
    const struct {
        QDate day;
        int heldMonth;
        int heldYear;
        const char* monthAndYear;
        const char* timesheet;   // the record's rows afterwards, by month
    } cases[] = {
        {tuesday.addDays(1), 12, 2026, "декабрь 2026", "12.2026: 1=8 9=6"},
        {QDate(2027, 1, 4), 12, 2026, "декабрь 2026", "12.2026: 1=8; 1.2027: 4=6"},
        {QDate(2027, 1, 4), 1, 2027, "январь 2027", "12.2026: 1=8; 1.2027: 4=6"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.monthAndYear + std::string(" ") + c.day.toString(Qt::ISODate).toStdString());
        exec(dm->ADO_DB, QStringLiteral("update accounts_dep.smena set data='08.12.2026', time=4 where id=%1; "
                                        "delete from accounts_dep.h_tabel; "
                                        "insert into accounts_dep.h_tabel (w_id, smena, month, year, d1, d8) "
                                        "values (%2, 1, 12, 2026, 8, 4)").arg(record).arg(basics.worker));
        roster.Form1->Button8->click();
        goTo(dm->Smena1, record);
        ui.modal.expect(QStringLiteral("Form11"), [&](ui::Form& f) {
            TForm11& editor = static_cast<TForm11&>(f);
            editor.DTimeP->setDate(c.day);
            editor.Edit6->setText(QStringLiteral("6"));
            pressWhileHeld(c.heldMonth, c.heldYear, c.monthAndYear, [&] { editor.Button1->click(); });
            EXPECT_TRUE(f.isVisible());
            EXPECT_EQ(editor.DTimeP->date(), c.day);
            EXPECT_EQ(editor.Edit6->text(), QStringLiteral("6"));
            editor.Button1->click();
            EXPECT_EQ(f.result(), QDialog::Accepted);
        });
        roster.Form1->Button2->click();
        EXPECT_TRUE(ui.dialogs.shown().empty()) << ui.dialogs.texts().join(u'\n').toStdString();
        EXPECT_EQ(scalar(dm->ADO_DB, QStringLiteral(
                      "select string_agg(h.month || '.' || h.year || ':' || concat(' 1=' || h.d1, ' 4=' || h.d4, "
                      "' 8=' || h.d8, ' 9=' || h.d9), '; ' order by h.year, h.month) from accounts_dep.h_tabel h"))
                      .toString(),
                  QString::fromLatin1(c.timesheet));
    }
    expectScriptPlayed();
}

TEST_F(MonthHeldElsewhere, ADeleteStopsAndGoesThroughOnceTheMonthIsFree) {
    goTo(dm->Smena1, record);
    ui.dialogs.answer(true);
    pressWhileHeld(12, 2026, "декабрь 2026", [&] { roster.Form1->Button3->click(); });
    EXPECT_EQ(dm->Smena1.field(QStringLiteral("id")).asInteger(), record);

    ui.dialogs.answer(true);
    roster.Form1->Button3->click();
    EXPECT_EQ(ui.dialogs.texts(), QStringList{QStringLiteral("Удалить позицию из списка?")});
    EXPECT_EQ(scalar(dm->ADO_DB, QStringLiteral("select count(*)::int from accounts_dep.smena")).toInt(), 0);
    EXPECT_EQ(timesheetRows(tuesday), QStringList{cells({{1, 8}})});
    expectScriptPlayed();
}

// A rebuild of a month another workstation holds gives up as well, with the month as it was.
TEST_F(MonthHeldElsewhere, ARebuildStopsAndLeavesTheMonth) {
    data::Dataset dt(dm->ADO_DB, data::timesheetDayQuery());
    hold(12, 2026);
    EXPECT_THROW(timesheet::rebuildMonth(*dm, dt, 12, QStringLiteral("2026")), data::TimesheetMonthBusy);
    EXPECT_FALSE(dm->ADO_DB.inTransaction());
    EXPECT_EQ(timesheetRows(tuesday), QStringList{cells({{1, 8}, {8, 4}})});
    release();
    timesheet::rebuildMonth(*dm, dt, 12, QStringLiteral("2026"));
    EXPECT_EQ(timesheetRows(tuesday), QStringList{cells({{8, 4}})});
}

// The server probes a workstation that has gone silent and drops it, with its transaction and
// its locks, within about a minute instead of the system's two hours; the workstation's own side
// probes the server the same way. Both are settings of the TCP connection to the server.
TEST_F(MonthHeldElsewhere, TheConnectionIsProbedSoASilentWorkstationIsDroppedWithinAMinute) {
    ASSERT_EQ(scalar(dm->ADO_DB, QStringLiteral("select (inet_client_addr() is not null)::int")).toInt(), 1)
        << "the test server is reached over TCP";
    EXPECT_EQ(scalar(dm->ADO_DB, QStringLiteral(
                  "select concat_ws(' ', current_setting('tcp_keepalives_idle'), current_setting('tcp_keepalives_interval'), "
                  "current_setting('tcp_keepalives_count'), current_setting('tcp_user_timeout'))")).toString(),
              QStringLiteral("20 10 4 60000"));
    // Another workstation's session has the same settings.
    EXPECT_EQ(scalar(dmB->ADO_DB, QStringLiteral("select current_setting('tcp_keepalives_idle')")).toString(),
              QStringLiteral("20"));
}

}  // namespace
