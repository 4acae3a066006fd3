// Two workstations at once: the acceptance mark toggled on both, and a newer build connecting
// while an older one runs.

#include "app/login_window.h"
#include "app/version_check.h"
#include "journal/journal_window.h"
#include "tests/support/login.h"
#include "tests/workstations/two_workstations.h"
#include "ui/clock.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using testing_support::loginAs;
using testing_support::scalar;
using workstations::TwoWorkstations;

const QDate tuesday(2026, 12, 8);
const QString unrestricted = QStringLiteral("61730482");

class AcceptanceOnTwoWorkstations : public TwoWorkstations {
protected:
    AcceptanceOnTwoWorkstations() {
        ui::setToday(tuesday);
        id = fixtures.record(recordOf(tuesday, 8, 0));
        loginAs(roster, ui, unrestricted);
        loginAs(rosterB, ui, unrestricted);
    }

    static QString shown(TForm1& journal) {
        return journal.selectedShiftDataset().field(QStringLiteral("ok")).asString().trimmed();
    }
    QString stored() {
        return scalar(dm->ADO_DB, QStringLiteral("select ok from accounts_dep.smena where id=%1").arg(id)).toString().trimmed();
    }

    int id = 0;
};

// Each toggle writes the opposite of what its own list shows: the last one written stands, and a
// list shows the other workstation's mark once it is read again.
TEST_F(AcceptanceOnTwoWorkstations, TheLastToggleWinsAndEachSeesTheOthersAfterARead) {
    TForm1& a = *roster.Form1;
    TForm1& b = *rosterB.Form1;
    ASSERT_EQ(shown(a), QStringLiteral("no"));
    ASSERT_EQ(shown(b), QStringLiteral("no"));

    a.DBGrid2DblClick();
    EXPECT_EQ(stored(), QStringLiteral("ok"));
    EXPECT_EQ(shown(a), QStringLiteral("ok"));
    EXPECT_EQ(shown(b), QStringLiteral("no")) << "B's list is not read again by itself";

    // B, not having read the list since, accepts what it sees as not accepted: the mark stays
    // accepted rather than being taken back.
    b.DBGrid2DblClick();
    EXPECT_EQ(stored(), QStringLiteral("ok"));
    EXPECT_EQ(shown(b), QStringLiteral("ok"));

    // B now takes the acceptance back; A sees it after its next read.
    b.DBGrid2DblClick();
    EXPECT_EQ(stored(), QStringLiteral("no"));
    EXPECT_EQ(shown(a), QStringLiteral("ok"));
    a.Button8Click();
    EXPECT_EQ(shown(a), QStringLiteral("no"));

    // And the other way round: A's last toggle reaches B when B reads again.
    a.DBGrid2DblClick();
    b.Button8Click();
    EXPECT_EQ(shown(b), QStringLiteral("ok"));
    EXPECT_EQ(stored(), QStringLiteral("ok"));
    EXPECT_TRUE(ui.dialogs.shown().empty());
}

// Workstation A runs this build; B is a newer one that connects later. A's next version check,
// from its journal's timer, refuses it and ends A's run; B goes on.
TEST_F(TwoWorkstations, ANewerBuildEndsTheOlderOneAtItsNextVersionCheck) {
    const BuildStamp compiled = compiledBuildStamp();
    rosterB.Form1->Timer1->stop();   // B checks below, as the newer build
    roster.Form23->formActivate();   // A starts: its stamp goes into the version row
    ASSERT_EQ(scalar(dm->ADO_DB, QStringLiteral("select d from accounts_dep.ver")).toInt(), compiled.date);
    EXPECT_TRUE(ui.dialogs.shown().empty());

    const BuildStamp newer{QDate::fromString(QString::number(compiled.date), QStringLiteral("yyyyMMdd"))
                               .addDays(1).toString(QStringLiteral("yyyyMMdd")).toInt(),
                           0};
    VersionCheck(rosterB, newer);
    EXPECT_TRUE(ui.dialogs.shown().empty()) << "the newer build is not refused";
    EXPECT_EQ(ui.quitRequests, 0);
    EXPECT_EQ(scalar(dm->ADO_DB, QStringLiteral("select d || '/' || t from accounts_dep.ver")).toString(),
              QStringLiteral("%1/0").arg(newer.date));

    // A's journal timer fires every 30 seconds; here at once.
    ASSERT_TRUE(roster.Form1->Timer1->isActive());
    EXPECT_EQ(roster.Form1->Timer1->interval(), 30000);
    roster.Form1->Timer1->setInterval(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ui.quitRequests > 0; }, 5000));
    roster.Form1->Timer1->stop();
    EXPECT_EQ(ui.quitRequests, 1);
    EXPECT_EQ(ui.dialogs.texts(),
              QStringList{QStringLiteral("Версия программы не соответсвует БД! Запустите программу через 5 мин.")});
    EXPECT_TRUE(roster.Form23->Timer1->isActive()) << "A's run ends even if nobody answers";
    EXPECT_FALSE(rosterB.Form23->Timer1->isActive());
    // The newer stamp stays: the older build never writes its own back.
    EXPECT_EQ(scalar(dmB->ADO_DB, QStringLiteral("select d from accounts_dep.ver")).toInt(), newer.date);
}

}  // namespace
