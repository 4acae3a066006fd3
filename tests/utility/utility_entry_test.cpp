// The utility work entry: adding and changing a work through the list, its checks in their
// order, the statements it writes and the price it shows.

#include "refbooks/worker_list.h"
#include "tests/utility/utility_test_helpers.h"
#include "ui/lookup_box.h"

#include <QLocale>
#include <QScopeGuard>
#include <gtest/gtest.h>

namespace {

using refbook_tests::expectOnlyError;
using testing_support::StatementLog;
using utility_tests::UtilityTest;

const QString allFields = QStringLiteral("Все поля должны быть заполнены!");
const QString noHours = QStringLiteral("Нужно завести количество!");
const QString tooManyHours = QStringLiteral("Слишком большое количество часов!");
const QString noPrice =
    QStringLiteral("У выбранного вида работы нет цены: заведите норматив для него в справочнике цен!");

class UtilityEntryTest : public UtilityTest {
protected:
    const QDate day{2024, 3, 5};
    int ivanov = 0;
    int petrov = 0;
    qint64 shelves = 0;
    qint64 cabinets = 0;

    void givenDepartment(std::optional<QString> price7778 = QStringLiteral("120")) {
        utilityKinds(QStringLiteral("150"), price7778);
        ivanov = fixtures.worker(QStringLiteral("Иванов И.И."));
        petrov = fixtures.worker(QStringLiteral("Петров П.П."));
        shelves = fixtures.group(QStringLiteral("Стеллажи"));
        cabinets = fixtures.group(QStringLiteral("Шкафы"));
    }

    // The list on `day`, "Добавить" pressed; `user` plays the entry window.
    void addWork(std::function<void()> user) {
        expectWindow("Form25", [this] { list().Button1->click(); });
        expectWindow("Form24", std::move(user));
        list().showForDate(day);
    }

    void chooseKind(qint64 kind) { entry().cb_type_work->setKeyValue(kind); }
};

TEST_F(UtilityEntryTest, AddWritesTheWorkOnTheListsDateWithShiftOneAndTheKindsPrice) {
    givenDepartment();
    entry().Edit1->setText(QStringLiteral("от прошлого раза"));
    entry().nomenclatureId = 55;
    StatementLog log(dm->ADO_DB);

    addWork([&] {
        EXPECT_EQ(entry().tag(), TForm24::AddMode);
        EXPECT_EQ(entry().Edit1->text(), QString());
        EXPECT_EQ(entry().Edit2->text(), QString());
        EXPECT_EQ(entry().Edit6->text(), QStringLiteral("0"));
        EXPECT_EQ(entry().nomenclatureId, 0);
        EXPECT_EQ(entry().workerId, 0);
        EXPECT_EQ(entry().cb_type_work->keyValue().toLongLong(), 7777);
        EXPECT_EQ(entry().cb_type_work->currentText().trimmed(), QStringLiteral("Хоз. работы"));
        EXPECT_EQ(entry().DBEdit1->text(), QStringLiteral("150"));
        expectWorkerChosen(QStringLiteral("Петров П.П."));
        entry().Button3->click();
        EXPECT_EQ(entry().Edit1->text(), QStringLiteral("Петров П.П."));
        EXPECT_EQ(roster.Form5->tag(), TForm5::UtilityEntryPicker);
        expectGroupChosen(QStringLiteral("Шк"));
        entry().Button4->click();
        EXPECT_EQ(entry().Edit2->text(), QStringLiteral("Шкафы"));
        entry().Edit6->setText(QStringLiteral("8"));
        EXPECT_EQ(entry().DBEdit2->text(), QStringLiteral("1200"));
        entry().Button1->click();
        EXPECT_FALSE(entry().isVisible());
        EXPECT_EQ(entry().result(), QDialog::Accepted);
        EXPECT_EQ(refbook_tests::listed(list()), QStringList{QStringLiteral("Петров П.П.")});
    });

    EXPECT_EQ(fatigueWrites(log),
              QStringList{QStringLiteral("INSERT INTO accounts_dep.fatigue(id_nom, id_o, id_p, d_date, i_mnth, "
                                         "i_year, i_smena, cnt, price)VALUES(%1, 7777 ,%2, '05.03.2024', 3, "
                                         "2024, 1, 8, 150)")
                              .arg(cabinets)
                              .arg(petrov)});
    EXPECT_FALSE(entry().type_work.isOpen());
    EXPECT_FALSE(dm->Workers.isOpen());
    EXPECT_FALSE(picker().item.isOpen());
    EXPECT_TRUE(ui.dialogs.shown().empty());
    expectScriptPlayed();
}

// The checks come in this order, each refusing with its own message, nothing written and the
// window left open.
TEST_F(UtilityEntryTest, SavingIsRefusedUntilWorkerGroupHoursAndPriceAreThere) {
    givenDepartment(std::nullopt);   // kind 7778 has no norm, so no price
    struct Case {
        const char* name;
        bool worker;
        bool group;
        QString hours;
        qint64 kind;
        QString message;
    };
    const Case cases[] = {
        {"nothing chosen, hours 0", false, false, QStringLiteral("0"), 7777, allFields},
        {"no worker", false, true, QStringLiteral("8"), 7777, allFields},
        {"no group", true, false, QStringLiteral("8"), 7777, allFields},
        {"hours 0", true, true, QStringLiteral("0"), 7777, noHours},
        {"hours emptied", true, true, QString(), 7777, noHours},
        {"hours beyond the integer column", true, true, QStringLiteral("2147483648"), 7777, tooManyHours},
        {"hours beyond any number", true, true, QStringLiteral("99999999999999999999999"), 7777, tooManyHours},
        {"hours 0 and no price", true, true, QStringLiteral("0"), 7778, noHours},
        {"kind without price", true, true, QStringLiteral("8"), 7778, noPrice},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.dialogs.clear();
        StatementLog log(dm->ADO_DB);
        addWork([&] {
            if (c.worker) entry().receiveWorker(QStringLiteral("Иванов И.И."), ivanov);
            if (c.group) entry().receiveNomenclature(QStringLiteral("Стеллажи"), shelves);
            chooseKind(c.kind);
            entry().Edit6->setText(c.hours);
            entry().Button1->click();
            EXPECT_TRUE(entry().isVisible());
            expectOnlyError(ui.dialogs, c.message);
        });
        EXPECT_TRUE(fatigueWrites(log).isEmpty()) << fatigueWrites(log).join(u'\n').toStdString();
    }
    EXPECT_EQ(workCount(), 0);
    expectScriptPlayed();
}

TEST_F(UtilityEntryTest, HoursTakeDigitsOnlyAndTheSumFollowsThem) {
    givenDepartment();
    addWork([&] {
        entry().Edit6->clear();
        refbook_tests::type(entry(), "Edit6", QStringLiteral("1x2,5-"));
        EXPECT_EQ(entry().Edit6->text(), QStringLiteral("125"));
        EXPECT_EQ(entry().DBEdit2->text(), QStringLiteral("18750"));
        chooseKind(7778);
        EXPECT_EQ(entry().DBEdit1->text(), QStringLiteral("120"));
        EXPECT_EQ(entry().DBEdit2->text(), QStringLiteral("15000"));
        entry().Edit6->clear();
        EXPECT_EQ(entry().DBEdit2->text(), QString());
        entry().Button6->click();
    });
    EXPECT_EQ(workCount(), 0);
    expectScriptPlayed();
}

TEST_F(UtilityEntryTest, AKindPriceOfOneHundredTwelveAndAHalfIsWrittenWithAFullStopUnderARussianLocale) {
    givenDepartment(QStringLiteral("112.5"));
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const auto restore = qScopeGuard([&] { QLocale::setDefault(before); });
    StatementLog log(dm->ADO_DB);

    addWork([&] {
        entry().receiveWorker(QStringLiteral("Иванов И.И."), ivanov);
        entry().receiveNomenclature(QStringLiteral("Стеллажи"), shelves);
        chooseKind(7778);
        EXPECT_EQ(entry().DBEdit1->text(), QStringLiteral("112.5"));
        entry().Edit6->setText(QStringLiteral("3"));
        EXPECT_EQ(entry().DBEdit2->text(), QStringLiteral("337.5"));
        entry().Button1->click();
    });

    const QStringList writes = fatigueWrites(log);
    ASSERT_EQ(writes.size(), 1);
    EXPECT_TRUE(writes[0].endsWith(QStringLiteral(", 7778 ,%1, '05.03.2024', 3, 2024, 1, 3, 112.5)").arg(ivanov)))
        << writes[0].toStdString();
    EXPECT_EQ(scalar(QStringLiteral("select price::text from accounts_dep.fatigue")).toString(),
              QStringLiteral("112.5000"));
    expectScriptPlayed();
}

TEST_F(UtilityEntryTest, ChangeRewritesWorkerGroupKindHoursAndPriceAndKeepsDateMonthYearAndShift) {
    givenDepartment();
    // Month, year and shift deliberately unlike what a new work would get.
    const int changed = work({ivanov, shelves, 7777, day, 4, QStringLiteral("99"), 2, std::pair{11, 2023}});
    const int other = work({petrov, shelves, 7777, day, 1, QStringLiteral("150")});
    StatementLog log(dm->ADO_DB);

    expectWindow("Form25", [&] {
        list().fatigue.setRecNo(1);   // Иванов, before Петров
        refbook_tests::doubleClickGrid(list());
        EXPECT_EQ(list().fatigue.recNo(), 1);
        EXPECT_EQ(list().fatigue.field(QStringLiteral("cnt")).asInteger(), 6);
    });
    expectWindow("Form24", [&] {
        EXPECT_EQ(entry().tag(), TForm24::ChangeMode);
        EXPECT_EQ(entry().Edit1->text(), QStringLiteral("Иванов И.И."));
        EXPECT_EQ(entry().Edit2->text(), QStringLiteral("Стеллажи"));
        EXPECT_EQ(entry().Edit6->text(), QStringLiteral("4"));
        EXPECT_EQ(entry().workerId, ivanov);
        EXPECT_EQ(entry().nomenclatureId, shelves);
        EXPECT_EQ(entry().cb_type_work->keyValue().toLongLong(), 7777);
        entry().receiveNomenclature(QStringLiteral("Шкафы"), cabinets);
        chooseKind(7778);
        entry().Edit6->setText(QStringLiteral("6"));
        entry().Button1->click();
        EXPECT_FALSE(entry().isVisible());
    });
    list().showForDate(day);

    EXPECT_EQ(fatigueWrites(log),
              QStringList{QStringLiteral("UPDATE accounts_dep.fatigue SET id_nom=%1, id_o=7778, id_p=%2, cnt=6, "
                                         "price=120 where id=%3")
                              .arg(cabinets)
                              .arg(ivanov)
                              .arg(changed)});
    const auto row = [&](int id) {
        return scalar(QStringLiteral("select concat_ws('|', id_nom, id_o, id_p, to_char(d_date, 'DD.MM.YYYY'), i_mnth, i_year, "
                                     "i_smena, cnt, price) from accounts_dep.fatigue where id=%1")
                          .arg(id))
            .toString();
    };
    EXPECT_EQ(row(changed), QStringLiteral("%1|7778|%2|05.03.2024|11|2023|2|6|120.0000").arg(cabinets).arg(ivanov));
    EXPECT_EQ(row(other), QStringLiteral("%1|7777|%2|05.03.2024|3|2024|1|1|150.0000").arg(shelves).arg(petrov));
    expectScriptPlayed();
}

TEST_F(UtilityEntryTest, ChangeOnAnEmptyListOpensEmptyAndIsRefused) {
    givenDepartment();
    expectWindow("Form25", [this] { list().Button2->click(); });
    expectWindow("Form24", [&] {
        EXPECT_EQ(entry().tag(), TForm24::ChangeMode);
        EXPECT_EQ(entry().Edit1->text(), QString());
        EXPECT_EQ(entry().workerId, 0);
        EXPECT_EQ(entry().nomenclatureId, 0);
        entry().Edit6->setText(QStringLiteral("8"));
        entry().Button1->click();
        expectOnlyError(ui.dialogs, allFields);
        EXPECT_TRUE(entry().isVisible());
    });
    list().showForDate(day);
    EXPECT_EQ(workCount(), 0);
    expectScriptPlayed();
}

// Works A, B and C of one day; the user opens B, and another workstation deletes B before he
// saves. His save says so and writes nothing, and the window closes: the list, read again, now
// stands on C, and a second "Записать" must not land on it.
TEST_F(UtilityEntryTest, ChangingAWorkDeletedElsewhereIsReportedClosesAndLeavesTheOtherWorksAlone) {
    givenDepartment();
    const int sidorov = fixtures.worker(QStringLiteral("Сидоров С.С."));
    const int a = work({ivanov, shelves, 7777, day, 1, QStringLiteral("150")});
    const int b = work({petrov, shelves, 7777, day, 2, QStringLiteral("150")});
    const int c = work({sidorov, cabinets, 7777, day, 3, QStringLiteral("150")});
    const auto row = [&](int id) {
        return scalar(QStringLiteral("select concat_ws('|', id_nom, id_o, id_p, cnt, price) from accounts_dep.fatigue "
                                     "where id=%1").arg(id)).toString();
    };
    const QString aBefore = row(a), cBefore = row(c);
    data::Connection otherWorkstation(testing_support::testSettings());
    otherWorkstation.open();

    expectWindow("Form25", [&] {
        list().fatigue.setRecNo(2);   // Петров, between Иванов and Сидоров
        ASSERT_EQ(list().currentWorkId(), b);
        list().Button2->click();
    });
    expectWindow("Form24", [&] {
        testing_support::exec(otherWorkstation, QStringLiteral("delete from accounts_dep.fatigue where id=%1").arg(b));
        entry().receiveNomenclature(QStringLiteral("Шкафы"), cabinets);
        chooseKind(7778);
        entry().Edit6->setText(QStringLiteral("9"));
        entry().Button1->click();
        expectOnlyError(ui.dialogs, QStringLiteral("Изменяемая работа не найдена: возможно, её удалили с другого "
                                                   "рабочего места. Изменения не сохранены."));
        EXPECT_EQ(list().currentWorkId(), c);
        EXPECT_FALSE(entry().isVisible());
        EXPECT_EQ(entry().result(), QDialog::Rejected);
        // The user presses again if the window is still there.
        if (entry().isVisible()) entry().Button1->click();
    });
    list().showForDate(day);

    EXPECT_EQ(workCount(), 2);
    EXPECT_EQ(row(a), aBefore);
    EXPECT_EQ(row(c), cBefore);
    EXPECT_EQ(cBefore, QStringLiteral("%1|7777|%2|3|150.0000").arg(cabinets).arg(sidorov));
    expectScriptPlayed();
}

TEST_F(UtilityEntryTest, ADatabaseErrorOnSaveShowsTheServersMessageAndKeepsTheWindowOpen) {
    givenDepartment();
    addWork([&] {
        entry().receiveWorker(QStringLiteral("Никто"), 999999);   // no such worker
        entry().receiveNomenclature(QStringLiteral("Стеллажи"), shelves);
        entry().Edit6->setText(QStringLiteral("8"));
        entry().Button1->click();
        ASSERT_EQ(ui.dialogs.shown().size(), 1u);
        EXPECT_EQ(ui.dialogs.shown()[0].kind, testing_support::ScriptedDialogs::Kind::StandardError);
        EXPECT_TRUE(ui.dialogs.shown()[0].text.contains(QStringLiteral("работника с кодом 999999 нет")))
            << ui.dialogs.shown()[0].text.toStdString();
        EXPECT_TRUE(entry().isVisible());
    });
    EXPECT_EQ(workCount(), 0);
    expectScriptPlayed();
}

}  // namespace
