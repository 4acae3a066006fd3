// The 30-second version check while the server is away: one box however many ticks come while it
// is open, and the checks going on once the server is back.

#include "app/build_stamp.h"
#include "journal/journal_window.h"
#include "tests/support/program_fixture.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace {

using testing_support::ProgramTest;
using testing_support::scalar;

// A real box waits in its own event loop, where the journal's timer goes on ticking: these
// boxes let the timer tick while they are open.
struct TickingDialogs : testing_support::ScriptedDialogs {
    QTimer* timer = nullptr;
    int ticksWhileOpen = 0;
    void message(const QString& text, const QString& caption, ui::Icon icon) override {
        ScriptedDialogs::message(text, caption, icon);
        tick();
    }
    void standardError(const QString& text) override {
        ScriptedDialogs::standardError(text);
        tick();
    }
    void tick() {
        for (int i = 0; i < ticksWhileOpen; ++i) emit timer->timeout({});
    }
};

TEST_F(ProgramTest, TheVersionCheckShowsOneBoxWhileTheServerIsAwayAndChecksAgainOnceItIsBack) {
    TickingDialogs dialogs;
    dialogs.timer = roster.Form1->Timer1;
    roster.Form1->Timer1->stop();
    ui::setDialogs(&dialogs);
    testing_support::exec(dm->ADO_DB, QStringLiteral("update accounts_dep.ver set d=0, t=0"));

    {
        testing_support::ServerAway away;
        ASSERT_TRUE(away.stopped());
        dialogs.ticksWhileOpen = 5;
        emit roster.Form1->Timer1->timeout({});
        // Ticks after the box closed, the server still away: one box each, never more.
        dialogs.ticksWhileOpen = 0;
        emit roster.Form1->Timer1->timeout({});
        ASSERT_EQ(dialogs.shown().size(), 2u) << dialogs.texts().join(u'|').toStdString();
        for (const auto& box : dialogs.shown())
            EXPECT_EQ(box.kind, testing_support::ScriptedDialogs::Kind::StandardError);
        ASSERT_TRUE(away.back());
    }

    // The next tick reaches the server again and records this build.
    dialogs.clear();
    dialogs.ticksWhileOpen = 3;
    emit roster.Form1->Timer1->timeout({});
    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.texts().join(u'|').toStdString();
    EXPECT_EQ(scalar(dm->ADO_DB, QStringLiteral("select d from accounts_dep.ver")).toInt(), compiledBuildStamp().date);

    // And it sees a newer build that has connected since: the refusal, once, and the run ends.
    testing_support::exec(dm->ADO_DB, QStringLiteral("update accounts_dep.ver set d=99991231, t=0"));
    emit roster.Form1->Timer1->timeout({});
    ui::setDialogs(&ui.dialogs);
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral(
                                   "Версия программы не соответсвует БД! Запустите программу через 5 мин.")});
    EXPECT_GE(ui.quitRequests, 1);
}

}  // namespace
