// "Расчитать ср.сд.": the month's works of kind 7778 priced at the worker's piece-work earnings
// per hour on the work's nomenclature group, with rates worked out by hand below.

#include "tests/utility/utility_test_helpers.h"

#include <gtest/gtest.h>

namespace {

using testing_support::StatementLog;
using utility_tests::UtilityTest;

class AveragePieceRateTest : public UtilityTest {
protected:
    qint64 shelves = 0;   // nomenclature groups
    qint64 cabinets = 0;
    qint64 shelf = 0;     // a product of each
    qint64 cabinet = 0;
    int shelfOper = 0;
    int cabinetOper = 0;
    int ivanov = 0;
    int petrov = 0;
    int sidorov = 0;

    void SetUp() override {
        utilityKinds();
        shelves = fixtures.group(QStringLiteral("Стеллажи"));
        cabinets = fixtures.group(QStringLiteral("Шкафы"));
        shelf = fixtures.product(QStringLiteral("СТ-1"), 1, shelves);
        cabinet = fixtures.product(QStringLiteral("ШК-2"), 1, cabinets);
        const int assembly = fixtures.kind(QStringLiteral("Сборка"));
        shelfOper = fixtures.oper(assembly, shelf);
        cabinetOper = fixtures.oper(assembly, cabinet);
        ivanov = fixtures.worker(QStringLiteral("Иванов И.И."));
        petrov = fixtures.worker(QStringLiteral("Петров П.П."));
        sidorov = fixtures.worker(QStringLiteral("Сидоров С.С."));
    }

    void record(int worker, qint64 product, QDate day, int kolvo, int brak, double cena, int hours) {
        const int oper = product == shelf ? shelfOper : cabinetOper;
        fixtures.record({.worker = worker, .product = product, .oper = oper, .day = day, .kolvo = kolvo,
                         .brak = brak, .cena = cena, .time = hours});
    }

    // Shows the list on `day` and presses "Расчитать ср.сд." once.
    void calculateOn(const QDate& day) {
        expectWindow("Form25", [this] { list().Button4->click(); });
        list().showForDate(day);
        expectScriptPlayed();
        EXPECT_TRUE(ui.dialogs.shown().empty()) << ui.dialogs.texts().join(u'|').toStdString();
    }

    QString price(int work) { return workColumn(work, QStringLiteral("price")); }
};

TEST_F(AveragePieceRateTest, PricesTheMonthsKind7778WorksAtEachWorkersEarningsPerHourOfTheGroup) {
    const QDate march(2024, 3, 12);
    // Иванов on shelves: (10-2)*12.5 = 100 in 4 h, 5*10 = 50 in 3 h: 150 / 7 = 21.428... = 21.43.
    // The defective pieces earn nothing; the records either side of March do not count.
    record(ivanov, shelf, QDate(2024, 3, 1), 10, 2, 12.5, 4);
    record(ivanov, shelf, QDate(2024, 3, 31), 5, 0, 10, 3);
    record(ivanov, shelf, QDate(2024, 2, 29), 100, 0, 100, 1);
    record(ivanov, shelf, QDate(2024, 4, 1), 100, 0, 100, 1);
    // Иванов on cabinets: 3*7 = 21 in 2 h: 10.50.
    record(ivanov, cabinet, QDate(2024, 3, 10), 3, 0, 7, 2);
    // Петров on shelves earned with no hours at all: 0.
    record(petrov, shelf, QDate(2024, 3, 5), 4, 0, 5, 0);
    // Сидоров has no records: 0.

    const int ivanovShelves = work({ivanov, shelves, 7778, march, 8, QStringLiteral("999")});
    const int ivanovCabinets = work({ivanov, cabinets, 7778, QDate(2024, 3, 20), 4, QStringLiteral("999")});
    const int petrovShelves = work({petrov, shelves, 7778, march, 8, QStringLiteral("999")});
    const int sidorovShelves = work({sidorov, shelves, 7778, QDate(2024, 3, 1), 8, QStringLiteral("999")});
    const int fixedPrice = work({ivanov, shelves, 7777, march, 8, QStringLiteral("150")});
    const int april = work({ivanov, shelves, 7778, QDate(2024, 4, 2), 8, QStringLiteral("77")});
    const int lastYear = work({ivanov, shelves, 7778, QDate(2023, 3, 12), 8, QStringLiteral("66")});

    calculateOn(march);

    EXPECT_EQ(price(ivanovShelves), QStringLiteral("21.4300"));
    EXPECT_EQ(price(ivanovCabinets), QStringLiteral("10.5000"));
    EXPECT_EQ(price(petrovShelves), QStringLiteral("0.0000"));
    EXPECT_EQ(price(sidorovShelves), QStringLiteral("0.0000"));
    EXPECT_EQ(price(fixedPrice), QStringLiteral("150.0000"));
    EXPECT_EQ(price(april), QStringLiteral("77.0000"));
    EXPECT_EQ(price(lastYear), QStringLiteral("66.0000"));
}

TEST_F(AveragePieceRateTest, DecemberRunsIntoJanuaryOfTheNextYearInTheStatementAndInItsEffect) {
    // 10*3 = 30 in 2 h on the last day of December: 15; the days either side do not count.
    record(ivanov, shelf, QDate(2024, 12, 31), 10, 0, 3, 2);
    record(ivanov, shelf, QDate(2025, 1, 1), 100, 0, 100, 1);
    record(ivanov, shelf, QDate(2024, 11, 30), 100, 0, 100, 1);
    const int december = work({ivanov, shelves, 7778, QDate(2024, 12, 3), 8, QStringLiteral("1")});
    const int january = work({ivanov, shelves, 7778, QDate(2025, 1, 3), 8, QStringLiteral("2")});
    StatementLog log(dm->ADO_DB);

    calculateOn(QDate(2024, 12, 15));

    EXPECT_EQ(price(december), QStringLiteral("15.0000"));
    EXPECT_EQ(price(january), QStringLiteral("2.0000"));
    EXPECT_EQ(fatigueWrites(log),
              QStringList{QStringLiteral(
                  "UPDATE accounts_dep.fatigue f SET price=coalesce((select case when "
                  "coalesce(sum(s.time),0)::numeric(10,2)=0 then 0 else  "
                  "coalesce(sum((s.kol_vo-s.brak)*s.cena)/sum(time),0)::numeric(10,2) end as price  from "
                  "cmn_classifier.item i, accounts_dep.smena s, accounts_dep.izdel gas, accounts_dep.person p "
                  "where i.id_level =2 and s.i_id = gas.id and gas.id_class_item =i.id  and "
                  "s.data<'01.1.2025' and s.data>='01.12.2024' and p.id=s.w_id and p.id=f.id_p and "
                  "i.id=f.id_nom group by i.s_caption, i.id, p.id order by fio),0) where i_mnth = 12 and "
                  "i_year = 2024 and id_o =7778")});
}

TEST_F(AveragePieceRateTest, TheListShowsTheNewPricesOnTheSameRow) {
    const QDate day(2024, 3, 4);
    record(petrov, shelf, day, 10, 0, 6, 2);   // 30 an hour
    work({ivanov, shelves, 7777, day, 1, QStringLiteral("150")});
    const int petrovWork = work({petrov, shelves, 7778, day, 2, QStringLiteral("5")});
    work({sidorov, shelves, 7778, day, 1, QStringLiteral("5")});

    expectWindow("Form25", [&] {
        list().fatigue.setRecNo(2);   // by name: Иванов, Петров, Сидоров
        ASSERT_EQ(list().currentWorkId(), petrovWork);
        list().Button4->click();
        EXPECT_EQ(list().fatigue.recNo(), 2);
        EXPECT_EQ(list().currentWorkId(), petrovWork);
        EXPECT_EQ(list().fatigue.field(QStringLiteral("price")).asString(), QStringLiteral("30"));
        EXPECT_EQ(list().fatigue.field(QStringLiteral("summ")).asString(), QStringLiteral("60"));
    });
    list().showForDate(day);
    expectScriptPlayed();
}

}  // namespace
