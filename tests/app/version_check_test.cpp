// The version check: the build stamp against the newest build that has connected.

#include "app/login_window.h"
#include "app/version_check.h"
#include "data/data_module.h"
#include "journal/journal_window.h"
#include "tests/support/program_fixture.h"
#include "ui/dialogs.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using testing_support::ProgramTest;
using testing_support::exec;
using testing_support::scalar;

const BuildStamp build{20240214, 80342};
const QString refusal = QStringLiteral("Версия программы не соответсвует БД! Запустите программу через 5 мин.");

TEST(BuildStamp, IsTheDateAsYYYYMMDDAndSecondsSinceMidnight) {
    EXPECT_EQ(BuildStamp::of(QDateTime(QDate(2024, 2, 14), QTime(22, 19, 2))), build);
    EXPECT_EQ(BuildStamp::of(QDateTime(QDate(2024, 12, 1), QTime(0, 0, 5))), (BuildStamp{20241201, 5}));
    EXPECT_LT((BuildStamp{20240214, 90000}), (BuildStamp{20240215, 0}));
    const BuildStamp compiled = compiledBuildStamp();
    EXPECT_GT(compiled.date, 20260000);
    EXPECT_LT(compiled.time, 86400);
}

struct StampCase {
    const char* what;
    int storedD, storedT;
    bool refused;
    int afterD, afterT;
};

class VersionCheckTest : public ProgramTest, public ::testing::WithParamInterface<StampCase> {};

TEST_P(VersionCheckTest, WritesOnlyANewerStampAndRefusesAnOlderBuild) {
    const StampCase& c = GetParam();
    exec(dm->ADO_DB, QStringLiteral("update accounts_dep.ver set d=%1, t=%2").arg(c.storedD).arg(c.storedT));
    VersionCheck(roster, build);

    EXPECT_EQ(scalar(dm->ADO_DB, QStringLiteral("select d || '/' || t from accounts_dep.ver")).toString(),
              QStringLiteral("%1/%2").arg(c.afterD).arg(c.afterT)) << c.what;
    if (c.refused) {
        ASSERT_EQ(ui.dialogs.shown().size(), 1u) << c.what;
        EXPECT_EQ(ui.dialogs.shown()[0].text, refusal);
        EXPECT_EQ(ui.dialogs.shown()[0].caption, QStringLiteral("Ошибка"));
        EXPECT_EQ(ui.dialogs.shown()[0].icon, ui::Icon::Error);
        EXPECT_EQ(ui.quitRequests, 1);
        EXPECT_TRUE(roster.Form23->Timer1->isActive()) << "the run ends even if nobody answers";
    } else {
        EXPECT_TRUE(ui.dialogs.shown().empty()) << c.what;
        EXPECT_EQ(ui.quitRequests, 0);
        EXPECT_FALSE(roster.Form23->Timer1->isActive());
    }
    EXPECT_EQ(roster.Form1->buildDate, build.date);
    EXPECT_EQ(roster.Form1->buildTime, build.time);
    EXPECT_FALSE(roster.Form1->ver.isOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Stamps, VersionCheckTest,
    ::testing::Values(StampCase{"equal", 20240214, 80342, false, 20240214, 80342},
                      StampCase{"same day, earlier time", 20240214, 100, false, 20240214, 80342},
                      StampCase{"older day, later time", 20240213, 86000, false, 20240214, 80342},
                      StampCase{"later day", 20240215, 0, true, 20240215, 0},
                      StampCase{"same day, later time", 20240214, 80343, true, 20240214, 80343}));

TEST_F(ProgramTest, AnEmptyVersionTableGetsTheBuildsRowAndAnEmptySeparator) {
    exec(dm->ADO_DB, QStringLiteral("delete from accounts_dep.ver"));
    dm->Delim = QStringLiteral(".");
    VersionCheck(roster, build);
    EXPECT_EQ(scalar(dm->ADO_DB, QStringLiteral("select count(*) || ':' || max(d) || '/' || max(t) from accounts_dep.ver")).toString(),
              QStringLiteral("1:20240214/80342"));
    EXPECT_EQ(dm->Delim, QString());
    EXPECT_TRUE(ui.dialogs.shown().empty());
}

TEST_F(ProgramTest, LoadsTheDatabasesDecimalSeparator) {
    exec(dm->ADO_DB, QStringLiteral("update accounts_dep.ver set delim=','"));
    VersionCheck(roster, build);
    EXPECT_EQ(dm->Delim, QStringLiteral(","));
}

TEST_F(ProgramTest, LoginActivationChecksThenShowsTheBuildInTheCaption) {
    roster.Form23->formActivate();
    const BuildStamp compiled = compiledBuildStamp();
    EXPECT_EQ(roster.Form23->windowTitle(), loginCaption(compiled.date, compiled.time));
    EXPECT_EQ(scalar(dm->ADO_DB, QStringLiteral("select d from accounts_dep.ver")).toInt(), compiled.date);
}

TEST_F(ProgramTest, TheJournalsTimerEndsARunningOlderBuild) {
    EXPECT_EQ(roster.Form1->Timer1->interval(), 30000);
    EXPECT_TRUE(roster.Form1->Timer1->isActive());
    // A newer build has connected since this one started.
    exec(dm->ADO_DB, QStringLiteral("update accounts_dep.ver set d=99991231, t=0"));
    roster.Form1->Timer1->setInterval(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ui.quitRequests > 0; }, 2000));
    EXPECT_EQ(ui.dialogs.texts().value(0), refusal);
    roster.Form1->Timer1->stop();
}

TEST_F(ProgramTest, AnUnreadableVersionTableIsShownAndTheNextTickTriesAgain) {
    exec(dm->ADO_DB, QStringLiteral("alter table accounts_dep.ver rename to ver_away"));
    roster.Form1->Timer1->setInterval(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !ui.dialogs.shown().empty(); }, 2000));
    roster.Form1->Timer1->stop();
    EXPECT_EQ(ui.dialogs.shown()[0].kind, testing_support::ScriptedDialogs::Kind::StandardError);
    EXPECT_TRUE(ui.dialogs.shown()[0].text.contains(QStringLiteral("accounts_dep.ver")));
    exec(dm->ADO_DB, QStringLiteral("alter table accounts_dep.ver_away rename to ver"));
    ui.dialogs.clear();
    roster.Form1->Timer1->start();
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return scalar(dm->ADO_DB, QStringLiteral("select d from accounts_dep.ver")).toInt() > 0;
    }, 2000));
    roster.Form1->Timer1->stop();
    EXPECT_TRUE(ui.dialogs.shown().empty());
}

// A real box waits in its own event loop, where the timer goes on ticking. While the server is
// away one box stays, not one more every 30 seconds.
TEST_F(ProgramTest, WhileACheckShowsItsErrorTheNextTicksShowNoOther) {
    struct TickingDialogs : testing_support::ScriptedDialogs {
        QTimer* timer = nullptr;
        void standardError(const QString& text) override {
            ScriptedDialogs::standardError(text);
            for (int tick = 0; tick < 3; ++tick) emit timer->timeout({});
        }
    } dialogs;
    dialogs.timer = roster.Form1->Timer1;
    roster.Form1->Timer1->stop();
    ui::setDialogs(&dialogs);
    exec(dm->ADO_DB, QStringLiteral("alter table accounts_dep.ver rename to ver_away"));
    emit roster.Form1->Timer1->timeout({});
    EXPECT_EQ(dialogs.shown().size(), 1u);

    // Once the box is closed, the checks go on.
    exec(dm->ADO_DB, QStringLiteral("alter table accounts_dep.ver_away rename to ver"));
    emit roster.Form1->Timer1->timeout({});
    ui::setDialogs(&ui.dialogs);
    EXPECT_EQ(dialogs.shown().size(), 1u);
    EXPECT_GT(scalar(dm->ADO_DB, QStringLiteral("select d from accounts_dep.ver")).toInt(), 0);
}

}  // namespace
