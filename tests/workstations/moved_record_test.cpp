// A record that another workstation moved to another day while this workstation still shows it
// where it was: a change or a deletion made here takes its hours out of the day cell where the
// record really stands, not out of the one this journal shows.

#include "data/data_module.h"
#include "journal/journal_window.h"
#include "journal/record_editor.h"
#include "tests/support/login.h"
#include "tests/workstations/two_workstations.h"
#include "ui/clock.h"
#include "ui/date_picker.h"

#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

using testing_support::exec;
using testing_support::scalar;
using workstations::TwoWorkstations;

const QDate tuesday(2026, 12, 8);
const QDate thursday(2026, 12, 10);

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

class MovedElsewhere : public TwoWorkstations {
protected:
    MovedElsewhere() {
        ui::setToday(tuesday);
        record = fixtures.record(recordOf(tuesday, 4, 1));
        exec(dm->ADO_DB, QStringLiteral("insert into accounts_dep.h_tabel (w_id, smena, month, year, d1, d8) "
                                        "values (%1, 1, 12, 2026, 8, 4)").arg(basics.worker));
        testing_support::loginAs(roster, ui, QStringLiteral("61730482"));
        testing_support::loginAs(rosterB, ui, QStringLiteral("61730482"));
        goTo(dm->Smena1, record);
    }

    // Workstation B moves the record from the 8th to the 10th in its editor.
    void bMovesTheRecord() {
        goTo(dmB->Smena1, record);
        ui.modal.expect(QStringLiteral("Form11"), [&](ui::Form& f) {
            static_cast<TForm11&>(f).DTimeP->setDate(thursday);
            static_cast<TForm11&>(f).Button1->click();
            EXPECT_EQ(f.result(), QDialog::Accepted);
        });
        rosterB.Form1->Button2->click();
        ASSERT_EQ(timesheetRows(tuesday), QStringList{cells({{1, 8}, {10, 4}})});
    }

    int record = 0;
};

// A's editor still shows the 8th; A changes the hours only. The record goes back to the 8th with
// its new hours, and the 10th, which it leaves, is emptied.
TEST_F(MovedElsewhere, AChangeTakesTheHoursOutOfTheDayTheRecordStandsOn) {
    ui.modal.expect(QStringLiteral("Form11"), [&](ui::Form& f) {
        TForm11& editor = static_cast<TForm11&>(f);
        bMovesTheRecord();
        ASSERT_EQ(editor.DTimeP->date(), tuesday);
        editor.Edit6->setText(QStringLiteral("6"));
        editor.Button1->click();
        EXPECT_EQ(f.result(), QDialog::Accepted);
    });
    roster.Form1->Button2->click();
    EXPECT_TRUE(ui.dialogs.shown().empty()) << ui.dialogs.texts().join(u'\n').toStdString();
    EXPECT_EQ(scalar(dm->ADO_DB, QStringLiteral("select data || ' ' || time from accounts_dep.smena")).toString(),
              QStringLiteral("2026-12-08 6"));
    EXPECT_EQ(timesheetRows(tuesday), QStringList{cells({{1, 8}, {8, 6}})});
    expectScriptPlayed();
}

// A's journal still lists the record under the 8th; A deletes it. The hours leave the 10th.
TEST_F(MovedElsewhere, ADeletionTakesTheHoursOutOfTheDayTheRecordStandsOn) {
    bMovesTheRecord();
    ASSERT_EQ(dm->Smena1.field(QStringLiteral("id")).asInteger(), record);
    ui.dialogs.answer(true);
    roster.Form1->Button3->click();
    EXPECT_EQ(ui.dialogs.texts(), QStringList{QStringLiteral("Удалить позицию из списка?")});
    EXPECT_EQ(scalar(dm->ADO_DB, QStringLiteral("select count(*)::int from accounts_dep.smena")).toInt(), 0);
    EXPECT_EQ(timesheetRows(tuesday), QStringList{cells({{1, 8}})});
    expectScriptPlayed();
}

}  // namespace
