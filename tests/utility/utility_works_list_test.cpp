// The utility works list: opened from the journal on its date, the works of the picker's date by
// worker name, the date change, and the delete with its question.

#include "journal/journal_window.h"
#include "journal/role_words.h"
#include "tests/support/login.h"
#include "tests/utility/utility_test_helpers.h"
#include "ui/date_picker.h"

#include <gtest/gtest.h>

namespace {

using refbook_tests::listed;
using testing_support::StatementLog;
using utility_tests::UtilityTest;

class UtilityWorksListTest : public UtilityTest {
protected:
    const QDate day{2024, 3, 5};
    int ivanov = 0;
    int petrov = 0;
    int sidorov = 0;
    qint64 shelves = 0;

    void SetUp() override {
        utilityKinds();
        ivanov = fixtures.worker(QStringLiteral("Иванов И.И."));
        petrov = fixtures.worker(QStringLiteral("Петров П.П."));
        sidorov = fixtures.worker(QStringLiteral("Сидоров С.С."));
        shelves = fixtures.group(QStringLiteral("Стеллажи"));
    }
};

TEST_F(UtilityWorksListTest, ThePlanningRoleOpensTheListFromTheJournalOnTheJournalsDate) {
    work({sidorov, shelves, 7777, day, 2, QStringLiteral("150")});
    work({ivanov, shelves, 7778, day, 3, QStringLiteral("12.5")});
    work({petrov, shelves, 7777, day.addDays(1), 1, QStringLiteral("150")});

    const auto userInList = [&] {
        EXPECT_EQ(list().windowTitle(), QStringLiteral("Хоз. работы (25)"));
        EXPECT_EQ(list().DTPcker1->date(), day);
        EXPECT_EQ(list().newWorkShift, 1);
        EXPECT_EQ(listed(list()), (QStringList{QStringLiteral("Иванов И.И."), QStringLiteral("Сидоров С.С.")}));
        const QAbstractItemModel* grid = list().DBGrid1->model();
        QStringList titles;
        for (int column = 0; column < grid->columnCount(); ++column)
            titles << grid->headerData(column, Qt::Horizontal).toString();
        EXPECT_EQ(titles, (QStringList{QStringLiteral("ФИО"), QStringLiteral("Номенклатура"), QStringLiteral("Работа"),
                                       QStringLiteral("Цена"), QStringLiteral("Кол-во"), QStringLiteral("Итого")}));
        EXPECT_EQ(listed(list(), 1), (QStringList{QStringLiteral("Стеллажи"), QStringLiteral("Стеллажи")}));
        EXPECT_EQ(listed(list(), 2),
                  (QStringList{QStringLiteral("Хоз. работы (среднесдельная)"), QStringLiteral("Хоз. работы")}));
        EXPECT_EQ(listed(list(), 3), (QStringList{QStringLiteral("12.5"), QStringLiteral("150")}));
        EXPECT_EQ(listed(list(), 5), (QStringList{QStringLiteral("37.5"), QStringLiteral("300")}));

        list().DTPcker1->setDate(day.addDays(1));
        emit list().DTPcker1->dateChosen();
        EXPECT_EQ(listed(list()), QStringList{QStringLiteral("Петров П.П.")});
        list().Button5->click();
    };
    testing_support::loginAs(roster, ui, roles::planning, [&](TForm1& journal) {
        journal.DateT->setDate(day);
        journal.DateTChange();
        EXPECT_TRUE(journal.Button5->isEnabled());
        expectWindow("Form25", userInList);
        journal.Button5->click();
    });
    expectScriptPlayed();
}

TEST_F(UtilityWorksListTest, DeleteAsksFirstAndStaysOnTheSameRowNumber) {
    work({ivanov, shelves, 7777, day, 1, QStringLiteral("150")});
    const int petrovWork = work({petrov, shelves, 7777, day, 1, QStringLiteral("150")});
    work({sidorov, shelves, 7777, day, 1, QStringLiteral("150")});
    StatementLog log(dm->ADO_DB);

    expectWindow("Form25", [&] {
        list().fatigue.setRecNo(2);
        ui.dialogs.answer(false);
        list().Button3->click();
        EXPECT_EQ(listed(list()).size(), 3);

        ui.dialogs.answer(true);
        list().Button3->click();
        EXPECT_EQ(listed(list()), (QStringList{QStringLiteral("Иванов И.И."), QStringLiteral("Сидоров С.С.")}));
        EXPECT_EQ(list().fatigue.recNo(), 2);
    });
    list().showForDate(day);

    ASSERT_EQ(ui.dialogs.shown().size(), 2u);
    for (const auto& box : ui.dialogs.shown()) {
        EXPECT_EQ(box.kind, testing_support::ScriptedDialogs::Kind::Question);
        EXPECT_EQ(box.text, QStringLiteral("Удалить позицию из списка?"));
        EXPECT_EQ(box.caption, QStringLiteral("Удаление"));
    }
    EXPECT_EQ(fatigueWrites(log),
              QStringList{QStringLiteral("delete from accounts_dep.fatigue where id=%1").arg(petrovWork)});
    expectScriptPlayed();
}

TEST_F(UtilityWorksListTest, DeleteOnAnEmptyListAsksNothing) {
    StatementLog log(dm->ADO_DB);
    expectWindow("Form25", [&] { list().Button3->click(); });
    list().showForDate(day);
    EXPECT_TRUE(ui.dialogs.shown().empty());
    EXPECT_TRUE(fatigueWrites(log).isEmpty());
    expectScriptPlayed();
}

}  // namespace
