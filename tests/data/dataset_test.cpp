// Datasets: snapshots read whole, fields by name, NULLs, text sizes, row numbers, filters and
// writing through the dataset.

#include "data/dataset.h"
#include "data/db_error.h"
#include "tests/support/program_fixture.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

using testing_support::DatabaseTest;

TEST_F(DatabaseTest, ReadsTypedValuesByNameWithoutRegardToCase) {
    data::Dataset dataset(connection, QStringLiteral(
        "select 7::smallint as s, 12.5::numeric(28,6) as massa, 'abc'::char(6) as vid, "
        "date '2024-02-14' as d, timestamp '2024-02-14 22:19:02' as ts, null::integer as n, "
        "123456789012345::numeric(15,0) as big"));
    dataset.open();
    EXPECT_EQ(dataset.field(QStringLiteral("S")).asInteger(), 7);
    EXPECT_EQ(dataset.field(QStringLiteral("massa")).asDecimal(), *data::Decimal::parse(u"12.5"));
    EXPECT_EQ(dataset.field(QStringLiteral("massa")).asString(), QStringLiteral("12.5"));
    EXPECT_EQ(dataset.field(QStringLiteral("VID")).asString(), QStringLiteral("abc   "));
    EXPECT_EQ(dataset.field(QStringLiteral("d")).asDate(), QDate(2024, 2, 14));
    EXPECT_EQ(dataset.field(QStringLiteral("d")).asString(), QStringLiteral("14.02.2024"));
    EXPECT_EQ(dataset.field(QStringLiteral("ts")).asDateTime(), QDateTime(QDate(2024, 2, 14), QTime(22, 19, 2)));
    EXPECT_TRUE(dataset.field(QStringLiteral("n")).isNull());
    EXPECT_EQ(dataset.field(QStringLiteral("n")).asInteger(), 0);
    EXPECT_EQ(dataset.field(QStringLiteral("n")).asString(), QString());
    EXPECT_EQ(dataset.field(QStringLiteral("big")).asInteger(), 123456789012345LL);
    EXPECT_THROW(dataset.field(QStringLiteral("nope")), data::DbError);
}

TEST_F(DatabaseTest, ReadsDatesAndTimestampsAsTheServerWritesThem) {
    struct Case { const char* expression; QDateTime expected; };
    const QDate day(2024, 2, 14);
    const Case cases[] = {
        {"timestamp '2024-02-14 22:19:02'", QDateTime(day, QTime(22, 19, 2))},
        {"timestamp '2024-02-14 22:19:02.987654'", QDateTime(day, QTime(22, 19, 2))},  // to the second
        {"timestamp '2024-02-14 00:00:00'", QDateTime(day, QTime(0, 0))},
        {"timestamp '0900-12-31 23:59:59'", QDateTime(QDate(900, 12, 31), QTime(23, 59, 59))},
        {"date '2024-02-29'::timestamp", QDateTime(QDate(2024, 2, 29), QTime(0, 0))},
        {"timestamp 'infinity'", QDateTime()},
    };
    for (const Case& c : cases) {
        data::Dataset dataset(connection, QStringLiteral("select %1 as ts, (%1)::date as d")
                                              .arg(QString::fromLatin1(c.expression)));
        dataset.open();
        EXPECT_EQ(dataset.field(QStringLiteral("ts")).asDateTime(), c.expected) << c.expression;
        EXPECT_EQ(dataset.field(QStringLiteral("d")).asDate(), c.expected.date()) << c.expression;
    }
}

TEST_F(DatabaseTest, CutsTextToItsDeclaredSize) {
    data::Dataset dataset(connection, QStringLiteral("select repeat('Я', 60) as fio, repeat('x', 60) as other"));
    dataset.setFieldSize(QStringLiteral("FIO"), 50);
    dataset.open();
    EXPECT_EQ(dataset.field(QStringLiteral("fio")).asString(), QString(50, QChar(u'Я')));
    EXPECT_EQ(dataset.field(QStringLiteral("other")).asString().size(), 60);
}

// The size counts characters as the server does: an emoji is one character, never cut in half.
TEST_F(DatabaseTest, CutsTextToItsDeclaredSizeInWholeCharacters) {
    data::Dataset dataset(connection, QStringLiteral("select repeat('😀', 3) as fio, 'ab😀' as mark"));
    dataset.setFieldSize(QStringLiteral("fio"), 2);
    dataset.setFieldSize(QStringLiteral("mark"), 3);
    dataset.open();
    EXPECT_EQ(dataset.field(QStringLiteral("fio")).asString(), QStringLiteral("😀😀"));
    EXPECT_EQ(dataset.field(QStringLiteral("mark")).asString(), QStringLiteral("ab😀"));
    EXPECT_EQ(dataset.value(0, 0).toString(), QStringLiteral("😀😀"));
}

TEST_F(DatabaseTest, KeepsASnapshotAndItsParametersUntilReopened) {
    fixtures.worker(QStringLiteral("Иванов И.И."));
    data::Dataset dataset(connection, QStringLiteral("select * from accounts_dep.person where fio like :p order by fio"));
    dataset.setParam(QStringLiteral("p"), QStringLiteral("%"));
    dataset.open();
    EXPECT_EQ(dataset.recordCount(), 1);
    fixtures.worker(QStringLiteral("Петров П.П."));
    EXPECT_EQ(dataset.recordCount(), 1);   // rows stay as read
    dataset.reopen();                      // with the parameter it holds
    EXPECT_EQ(dataset.recordCount(), 2);
}

// Locating a row: numbers by their value whatever type they were read as, text as shown, only
// among the rows the filter lets through; a value no row holds leaves the current row alone.
TEST_F(DatabaseTest, LocateFindsTheFirstVisibleRowHoldingTheValue) {
    data::Dataset dataset(connection, QStringLiteral(
        "select * from (values (1, 10::numeric(15,0), 'a'), (2, 20, 'b'), (3, 20, 'c'), (4, null, 'd')) "
        "as t(n, id, s) order by n"));
    dataset.open();
    EXPECT_TRUE(dataset.locate(QStringLiteral("ID"), 20));
    EXPECT_EQ(dataset.recNo(), 2);
    EXPECT_TRUE(dataset.locate(QStringLiteral("id"), QVariant::fromValue(*data::Decimal::parse(u"10.0"))));
    EXPECT_EQ(dataset.recNo(), 1);
    EXPECT_TRUE(dataset.locate(QStringLiteral("s"), QStringLiteral("d")));
    EXPECT_EQ(dataset.recNo(), 4);
    EXPECT_FALSE(dataset.locate(QStringLiteral("id"), 30));
    EXPECT_FALSE(dataset.locate(QStringLiteral("id"), QVariant()));
    EXPECT_EQ(dataset.recNo(), 4);
    dataset.setFilter(QStringLiteral("s like 'c%'"));
    dataset.setFiltered(true);
    EXPECT_TRUE(dataset.locate(QStringLiteral("id"), 20));
    EXPECT_EQ(dataset.field(QStringLiteral("n")).asInteger(), 3);
    EXPECT_THROW(dataset.locate(QStringLiteral("nope"), 1), data::DbError);
}

TEST_F(DatabaseTest, ADatasetIsModifiedOnlyOnceAValueIsSet) {
    fixtures.worker(QStringLiteral("Иванов И.И."));
    data::Dataset dataset(connection, QStringLiteral("select * from accounts_dep.person"));
    dataset.setUpdateTable(QStringLiteral("accounts_dep.person"), {QStringLiteral("id")});
    dataset.open();
    EXPECT_FALSE(dataset.isEditing());
    dataset.edit();
    EXPECT_TRUE(dataset.isEditing());
    EXPECT_FALSE(dataset.isInserting());
    EXPECT_FALSE(dataset.isModified());
    dataset.setFieldValue(QStringLiteral("fio"), QStringLiteral("Петров П.П."));
    EXPECT_TRUE(dataset.isModified());
    dataset.cancel();
    EXPECT_FALSE(dataset.isModified());
    dataset.append();
    EXPECT_TRUE(dataset.isInserting());
    EXPECT_FALSE(dataset.isModified());
}

TEST_F(DatabaseTest, RowNumbersStartAtOneAndStayInRange) {
    for (const char* fio : {"А", "Б", "В"}) fixtures.worker(QString::fromUtf8(fio));
    data::Dataset dataset(connection, QStringLiteral("select fio from accounts_dep.person order by fio"));
    EXPECT_EQ(dataset.recNo(), 0);
    dataset.open();
    EXPECT_EQ(dataset.recNo(), 1);
    dataset.next();
    dataset.next();
    dataset.next();
    EXPECT_EQ(dataset.recNo(), 3);
    EXPECT_EQ(dataset.field(QStringLiteral("fio")).asString(), QStringLiteral("В"));
    dataset.setRecNo(10);
    EXPECT_EQ(dataset.recNo(), 3);
    dataset.prior();
    EXPECT_EQ(dataset.field(QStringLiteral("fio")).asString(), QStringLiteral("Б"));
    dataset.setRecNo(0);
    EXPECT_EQ(dataset.recNo(), 1);

    data::Dataset empty(connection, QStringLiteral("select fio from accounts_dep.person where false"));
    empty.open();
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(empty.recNo(), 0);
    empty.next();
    EXPECT_EQ(empty.recNo(), 0);
    EXPECT_TRUE(empty.field(QStringLiteral("fio")).isNull());
}

TEST_F(DatabaseTest, FilterNarrowsTheRowsReadWithoutAStatement) {
    for (const char* fio : {"Иванов И.И.", "Ивлев А.А.", "Петров П.П."}) fixtures.worker(QString::fromUtf8(fio));
    data::Dataset dataset(connection, QStringLiteral("select * from accounts_dep.person order by fio"));
    dataset.open();
    testing_support::StatementLog log(connection);
    dataset.setFilter(QStringLiteral("fio like 'Ив%'"));
    EXPECT_EQ(dataset.recordCount(), 3);   // not switched on yet
    dataset.setFiltered(true);
    EXPECT_EQ(dataset.recordCount(), 2);
    EXPECT_EQ(dataset.recNo(), 1);
    dataset.setFilter(QStringLiteral("fio like 'Ивл%'"));
    EXPECT_EQ(dataset.recordCount(), 1);
    EXPECT_EQ(dataset.field(QStringLiteral("fio")).asString(), QStringLiteral("Ивлев А.А."));
    EXPECT_TRUE(log.statements().empty());
    dataset.reopen();   // the filter survives a re-read
    EXPECT_EQ(dataset.recordCount(), 1);
    dataset.setFiltered(false);
    EXPECT_EQ(dataset.recordCount(), 3);
}

TEST_F(DatabaseTest, WritesThroughTheDatasetWithBoundValues) {
    data::Dataset kinds(connection, QStringLiteral("select * from accounts_dep.VID_OPER order by vid"));
    kinds.setUpdateTable(QStringLiteral("accounts_dep.vid_oper"), {QStringLiteral("id")});
    kinds.open();
    kinds.append();
    kinds.setFieldValue(QStringLiteral("vid"), QStringLiteral("Сварка O'Brien"));
    kinds.post();
    EXPECT_GT(kinds.field(QStringLiteral("id")).asInteger(), 0);   // the database's id comes back
    kinds.reopen();
    ASSERT_EQ(kinds.recordCount(), 1);
    EXPECT_EQ(kinds.field(QStringLiteral("vid")).asString().trimmed(), QStringLiteral("Сварка O'Brien"));

    kinds.edit();
    kinds.setFieldValue(QStringLiteral("vid"), QStringLiteral("Резка"));
    kinds.post();
    EXPECT_EQ(testing_support::scalar(connection, QStringLiteral("select trim(vid) from accounts_dep.vid_oper")).toString(),
              QStringLiteral("Резка"));

    kinds.deleteCurrent();
    EXPECT_EQ(testing_support::scalar(connection, QStringLiteral("select count(*) from accounts_dep.vid_oper")).toInt(), 0);
}

TEST_F(DatabaseTest, EditOfAnEmptyTableCreatesTheRow) {
    testing_support::exec(connection, QStringLiteral("delete from accounts_dep.ver"));
    data::Dataset ver(connection, QStringLiteral("select * from accounts_dep.ver"));
    ver.setUpdateTable(QStringLiteral("accounts_dep.ver"), {QStringLiteral("d"), QStringLiteral("t")});
    ver.open();
    ver.edit();
    ver.setFieldValue(QStringLiteral("d"), 20240214);
    ver.setFieldValue(QStringLiteral("t"), 80342);
    ver.post();
    EXPECT_EQ(testing_support::scalar(connection, QStringLiteral("select d || '.' || t || '.' || coalesce(delim, '-') from accounts_dep.ver")).toString(),
              QStringLiteral("20240214.80342.-"));
}

TEST_F(DatabaseTest, AFailedOpenLeavesTheDatasetClosedAndShowsNothingChanged) {
    data::Dataset dataset(connection, QStringLiteral("select 1/0 as x"));
    QSignalSpy changes(&dataset, &data::Dataset::aboutToChangeRows);
    EXPECT_THROW(dataset.open(), data::DbError);
    EXPECT_FALSE(dataset.isOpen());
    EXPECT_EQ(changes.count(), 0);
}

TEST_F(DatabaseTest, ListenerSeesTheTextAsWrittenAndItsValues) {
    testing_support::StatementLog log(connection);
    data::Dataset dataset(connection, QStringLiteral("select :a::integer + :b::integer as s, :a::integer as a"));
    dataset.setParam(QStringLiteral("a"), 2);
    dataset.setParam(QStringLiteral("b"), 3);
    dataset.open();
    EXPECT_EQ(dataset.field(QStringLiteral("s")).asInteger(), 5);
    ASSERT_EQ(log.statements().size(), 1u);
    EXPECT_EQ(log.statements()[0].text, QStringLiteral("select :a::integer + :b::integer as s, :a::integer as a"));
    EXPECT_EQ(log.statements()[0].param(QStringLiteral("b")).toInt(), 3);
}

}  // namespace
