// The login: the role words, what each role may use for the run, and refused words.

#include "app/login_window.h"
#include "data/data_module.h"
#include "journal/journal_window.h"
#include "reports/summary_reports_window.h"
#include "tests/support/login.h"
#include "tests/support/program_fixture.h"
#include "ui/data_grid.h"
#include "ui/date_picker.h"
#include "ui/radio_group.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

using testing_support::loginAs;
using testing_support::ProgramTest;
using testing_support::ScriptedDialogs;

// Whether each control the roles touch is enabled, read after the login.
QMap<QString, bool> enabledControls(const Roster& r) {
    const TForm1& j = *r.Form1;
    const TForm18& s = *r.Form18;
    return {
        {"journal Button1", j.Button1->isEnabled()},   {"journal Button2", j.Button2->isEnabled()},
        {"journal Button3", j.Button3->isEnabled()},   {"journal shifts", j.RadioButton1->isEnabled()},
        {"journal shift 4", j.RadioButton4->isEnabled()}, {"journal CBox1", j.CBox1->isEnabled()},
        {"journal Button8", j.Button8->isEnabled()},   {"journal DBGrid2", j.DBGrid2->isEnabled()},
        {"journal DateT", j.DateT->isEnabled()},       {"journal N2", j.N2->menuAction()->isEnabled()},
        {"journal N11", j.N11->isEnabled()},           {"journal Button5", j.Button5->isEnabled()},
        {"journal N10", j.N10->isEnabled()},           {"journal N5", j.N5->isEnabled()},
        {"reports Button1", s.Button1->isEnabled()},   {"reports Button2", s.Button2->isEnabled()},
        {"reports Button4", s.Button4->isEnabled()},   {"reports Button6", s.Button6->isEnabled()},
        {"reports Button3", s.Button3->isEnabled()},   {"reports RadioGroup1", s.RadioGroup1->isEnabled()},
    };
}

struct RoleCase {
    const char* word;
    QStringList disabled;   // every other control stays enabled
    int productKind;        // the reports window's RadioGroup1 after the login
};

const QStringList planningOff{"journal Button1", "journal Button2", "journal Button3", "journal shifts",
                              "journal shift 4", "journal CBox1", "journal Button8", "journal DBGrid2",
                              "journal DateT", "journal N2", "journal N11"};
const QStringList foremanOff{"journal Button2", "journal Button3", "journal N2", "journal N11",
                             "reports Button1", "reports Button2", "reports Button4", "reports Button6"};
const QStringList storekeeperOff{"journal Button1", "journal Button2", "journal Button3", "journal N2",
                                 "journal N11", "reports Button1", "reports Button2", "reports Button4",
                                 "reports Button6", "reports RadioGroup1"};

class RoleTest : public ProgramTest, public ::testing::WithParamInterface<RoleCase> {};

TEST_P(RoleTest, DisablesExactlyTheRolesControlsAndShowsTheJournal) {
    const RoleCase& role = GetParam();
    bool shown = false;
    loginAs(roster, ui, QString::fromUtf8(role.word), [&](TForm1& journal) {
        shown = true;
        EXPECT_FALSE(roster.Form23->isVisible());
        EXPECT_EQ(journal.selectedShift, 1);
        EXPECT_EQ(journal.roleWord, QString::fromUtf8(role.word).trimmed());
        for (int shift = 1; shift <= 4; ++shift) {
            EXPECT_EQ(dm->smena(shift).param(QStringLiteral("ok")).toString(), QStringLiteral("ta"));
            EXPECT_TRUE(dm->smena(shift).isOpen());
        }
        const QMap<QString, bool> enabled = enabledControls(roster);
        for (auto it = enabled.cbegin(); it != enabled.cend(); ++it)
            EXPECT_EQ(it.value(), !role.disabled.contains(it.key())) << role.word << ": " << it.key().toStdString();
    });
    EXPECT_TRUE(shown);
    EXPECT_EQ(roster.Form18->RadioGroup1->itemIndex(), role.productKind);
    EXPECT_EQ(ui.quitRequests, 1) << "closing the journal ends the run";
    EXPECT_TRUE(ui.dialogs.shown().empty()) << "no message on the way";
    expectScriptPlayed();
}

INSTANTIATE_TEST_SUITE_P(EveryRoleWord, RoleTest,
                         ::testing::Values(RoleCase{"plivar", planningOff, 0},
                                           RoleCase{"brunzel", foremanOff, 0},
                                           RoleCase{" brunzel ", foremanOff, 0},
                                           RoleCase{"tovik", storekeeperOff, 1},
                                           RoleCase{"61730482", {}, 0},
                                           RoleCase{"9362", {}, 0}));

TEST_F(ProgramTest, RefusedWordsChangeNothingButTheStoredWord) {
    for (const char* word : {"", "   ", "BRUNZEL", "Plivar", "brunzel x", "936", "wrong"}) {
        ui.dialogs.clear();
        roster.Form23->Edit1->setText(QString::fromUtf8(word));
        roster.Form23->Button1->click();
        ASSERT_EQ(ui.dialogs.shown().size(), 1u) << word;
        EXPECT_EQ(ui.dialogs.shown()[0].text, QStringLiteral("Введены неверные данные.")) << word;
        EXPECT_EQ(ui.dialogs.shown()[0].caption, QStringLiteral("Ошибка"));
        EXPECT_EQ(ui.dialogs.shown()[0].icon, ui::Icon::Error);
        EXPECT_EQ(roster.Form1->roleWord, QString::fromUtf8(word).trimmed());
        EXPECT_EQ(roster.Form23->Edit1->text(), QString::fromUtf8(word)) << "the typed text stays";
    }
    const QMap<QString, bool> enabled = enabledControls(roster);
    for (auto it = enabled.cbegin(); it != enabled.cend(); ++it) EXPECT_TRUE(it.value()) << it.key().toStdString();
    EXPECT_TRUE(ui.modal.shownWindows().isEmpty());
    EXPECT_EQ(ui.quitRequests, 0);
}

TEST_F(ProgramTest, ARefusedWordThenARightOneLogsInOnShiftOne) {
    roster.Form1->selectedShift = 3;
    roster.Form23->Edit1->setText(QStringLiteral("tovic"));
    roster.Form23->Button1->click();
    int shiftWhileShown = 0;
    loginAs(roster, ui, QStringLiteral("tovik"), [&](TForm1& journal) { shiftWhileShown = journal.selectedShift; });
    EXPECT_EQ(shiftWhileShown, 1);
    EXPECT_EQ(ui.dialogs.texts(), QStringList{QStringLiteral("Введены неверные данные.")});
    expectScriptPlayed();
}

TEST_F(ProgramTest, CancelAndEscapeEndTheRun) {
    roster.Form23->Button2->click();
    EXPECT_EQ(ui.quitRequests, 1);
    roster.Form23->reject();
    EXPECT_EQ(ui.quitRequests, 2);
}

TEST(LoginCaption, ShowsTheBuildAsDecimalNumbers) {
    EXPECT_EQ(loginCaption(20240214, 80342), QStringLiteral("Авторизация (build: 20240214.80342)"));
    EXPECT_EQ(loginCaption(20240214, 5), QStringLiteral("Авторизация (build: 20240214.5)"));
}

}  // namespace
