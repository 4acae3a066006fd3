// Statement text: named parameters, quoted values and the client-side row filter.

#include "data/db_error.h"
#include "data/named_params.h"
#include "data/row_filter.h"
#include "data/sql_text.h"
#include "ui/prefix_search.h"

#include <QDate>
#include <QHash>
#include <gtest/gtest.h>

namespace {

struct ParamCase {
    const char* sql;
    const char* positional;
    QStringList names;
};

TEST(NamedParameters, AreFoundOutsideQuotesCastsAndComments) {
    const ParamCase cases[] = {
        {"select * from t where d=:data and ok!=:ok", "select * from t where d=$1 and ok!=$2",
         {"data", "ok"}},
        {"select x::numeric, :a, :A", "select x::numeric, $1, $1", {"a"}},
        {"select ':no' , \"col:x\", :yes", "select ':no' , \"col:x\", $1", {"yes"}},
        {"select 'it''s :no', :p", "select 'it''s :no', $1", {"p"}},
        {"select 1 -- :no\n, :p /* :no */", "select 1 -- :no\n, $1 /* :no */", {"p"}},
        {"select count(*) as cnt from accounts_dep.smena s where s.i_id =:id_ii and s.\"data\">=:dt",
         "select count(*) as cnt from accounts_dep.smena s where s.i_id =$1 and s.\"data\">=$2",
         {"id_ii", "dt"}},
        {"select time '10:30'", "select time '10:30'", {}},
    };
    for (const ParamCase& c : cases) {
        const data::PositionalSql out = data::toPositional(QString::fromUtf8(c.sql));
        EXPECT_EQ(out.text, QString::fromUtf8(c.positional)) << c.sql;
        EXPECT_EQ(out.names, c.names) << c.sql;
    }
}

TEST(SqlText, QuotesEveryQuoteAndWritesNumbersAndDatesOneWay) {
    EXPECT_EQ(sql::text(QStringLiteral("O'Brien")), QStringLiteral("'O''Brien'"));
    EXPECT_EQ(sql::text(QStringLiteral("'; drop table x; --")), QStringLiteral("'''; drop table x; --'"));
    EXPECT_EQ(sql::escaped(QStringLiteral("a''b")), QStringLiteral("a''''b"));
    EXPECT_EQ(sql::escaped(QStringLiteral("a") + QChar(0) + QStringLiteral("b")), QStringLiteral("ab"));
    EXPECT_EQ(sql::decimal(*data::Decimal::parse(u"12,500")), QStringLiteral("12.5"));
    EXPECT_EQ(sql::decimal(*data::Decimal::fromDouble(0.1)), QStringLiteral("0.1"));
    EXPECT_EQ(sql::decimal(*data::Decimal::parse(u"1e5")), QStringLiteral("100000"));
    EXPECT_EQ(sql::integer(-7), QStringLiteral("-7"));
    EXPECT_EQ(sql::date(QDate(2024, 2, 4)), QStringLiteral("04.02.2024"));
}

struct FilterCase {
    QString filter;
    QVariant value;
    bool matches;
};

TEST(RowFilter, MatchesTheFormsTheWindowsWrite) {
    const FilterCase cases[] = {
        {QStringLiteral("fio like 'Ив%'"), QStringLiteral("Иванов И.И."), true},
        {QStringLiteral("fio like 'Ив%'"), QStringLiteral("Петров П.П."), false},
        {QStringLiteral("fio like 'ив%'"), QStringLiteral("Иванов И.И."), true},   // case ignored
        {QStringLiteral("marka like '%12%'"), QStringLiteral("ШК-120"), true},
        {QStringLiteral("marka like '%12%'"), QStringLiteral("ШК-21"), false},
        {QStringLiteral("vid like 'Сбор%'"), QStringLiteral("Сборка") + QString(122, u' '), true},
        {QStringLiteral("naimen=0"), 0, true},
        {QStringLiteral("naimen=0"), 1, false},
        {QStringLiteral("naimen=1"), QVariant(), false},
        {QStringLiteral("o_id = 5"), 5, true},
        {QStringLiteral("id_level=2"), 2.0, true},
        // Only the outer '%' are wildcards: a typed '%' or '_' stands for itself.
        {ui::PrefixSearch::filterFor(QStringLiteral("fio"), QStringLiteral("50%")), QStringLiteral("50% скидка"), true},
        {ui::PrefixSearch::filterFor(QStringLiteral("fio"), QStringLiteral("50%")), QStringLiteral("500"), false},
        {ui::PrefixSearch::filterFor(QStringLiteral("fio"), QStringLiteral("a_b")), QStringLiteral("axb"), false},
        {ui::PrefixSearch::filterFor(QStringLiteral("fio"), QStringLiteral("O'B")), QStringLiteral("O'Brien"), true},
        {ui::PrefixSearch::filterFor(QStringLiteral("fio"), QStringLiteral("x' or 'a'='a")), QStringLiteral("Иванов"), false},
        // A text that begins or ends with a wildcard character or a backslash is still a prefix.
        {ui::PrefixSearch::filterFor(QStringLiteral("fio"), QStringLiteral("%")), QStringLiteral("Иванов"), false},
        {ui::PrefixSearch::filterFor(QStringLiteral("fio"), QStringLiteral("%")), QStringLiteral("%-ная"), true},
        {ui::PrefixSearch::filterFor(QStringLiteral("fio"), QStringLiteral("*в")), QStringLiteral("Иванов"), false},
        {ui::PrefixSearch::filterFor(QStringLiteral("fio"), QStringLiteral("*в")), QStringLiteral("*в*"), true},
        {ui::PrefixSearch::filterFor(QStringLiteral("fio"), QStringLiteral("a\\")), QStringLiteral("a\\b"), true},
        {ui::PrefixSearch::filterFor(QStringLiteral("fio"), QStringLiteral("a\\")), QStringLiteral("ab"), false},
        {QStringLiteral("fio like '\\%%'"), QStringLiteral("%x"), true},
        {QStringLiteral("fio like '\\%%'"), QStringLiteral("x"), false},
        {QStringLiteral("fio like '%a\\%'"), QStringLiteral("xa%"), true},
        {QStringLiteral("fio like '%a\\%'"), QStringLiteral("xab"), false},
    };
    for (const FilterCase& c : cases) {
        const data::RowFilter filter = data::RowFilter::parse(c.filter);
        EXPECT_EQ(filter.matches([&](const QString&) { return c.value; }), c.matches)
            << c.filter.toStdString() << " on " << c.value.toString().toStdString();
    }
}

TEST(RowFilter, JoinsTermsWithAndAndRefusesOtherText) {
    const data::RowFilter filter = data::RowFilter::parse(QStringLiteral("naimen=0 and fio like 'Ив%'"));
    QHash<QString, QVariant> row{{QStringLiteral("naimen"), 0}, {QStringLiteral("fio"), QStringLiteral("Иванов")}};
    EXPECT_TRUE(filter.matches([&](const QString& f) { return row.value(f); }));
    row[QStringLiteral("naimen")] = 1;
    EXPECT_FALSE(filter.matches([&](const QString& f) { return row.value(f); }));

    for (const char* bad : {"fio like 'Ив", "fio >= 3", "naimen=0 or naimen=1", "like 'x%'"})
        EXPECT_THROW(data::RowFilter::parse(QString::fromUtf8(bad)), data::DbError) << bad;
}

}  // namespace
