// Numbers: exact decimals from the database to the screen, statements and exports, never in
// exponent form and never through a binary double.

#include "data/dataset.h"
#include "data/decimal.h"
#include "data/field.h"
#include "data/sql_text.h"
#include "tests/support/program_fixture.h"

#include <gtest/gtest.h>

namespace {

using data::Decimal;
using testing_support::DatabaseTest;

Decimal dec(QStringView text) {
    const auto d = Decimal::parse(text);
    if (!d) throw std::runtime_error("not a number in the test");
    return *d;
}

TEST(Decimal, ReadsAndShowsPlainDigits) {
    const struct { const char16_t* in; const char* shown; } cases[] = {
        {u"0", "0"},           {u"0.000000", "0"},        {u"-0.0", "0"},
        {u"0.0001", "0.0001"}, {u"12.500000", "12.5"},    {u"12,5", "12.5"},
        {u"100000", "100000"}, {u"1e+05", "100000"},      {u"1.5E-7", "0.00000015"},
        {u".5", "0.5"},        {u"-0.5000", "-0.5"},      {u" 7 ", "7"},
        {u"123456789012345", "123456789012345"},
        {u"99999999999999999999.999999", "99999999999999999999.999999"},   // numeric(28,6) at its edge
        {u"-999999999999999.9999", "-999999999999999.9999"},               // numeric(19,4) at its edge
    };
    for (const auto& c : cases)
        EXPECT_EQ(dec(c.in).toString(), QString::fromUtf8(c.shown)) << QString::fromUtf16(c.in).toStdString();

    for (const char16_t* bad : {u"", u"-", u".", u"1.2.3", u"12a", u"1e", u"NaN", u"1,2.3", u"1e-2147483648",
                                u"1e2147483647", u"1e99999999999"})
        EXPECT_FALSE(Decimal::parse(QStringView(bad))) << QString::fromUtf16(bad).toStdString();
    EXPECT_FALSE(Decimal::parse(u"123456789012345678901234567890123456789"));   // 39 digits
}

TEST(Decimal, ShowsDoublesInTheirShortestExactFormWithoutExponent) {
    const struct { double in; const char* shown; } cases[] = {
        {0.1, "0.1"}, {100000.0, "100000"}, {1e20, "100000000000000000000"}, {1e-5, "0.00001"},
        {10.1 * 1.5, "15.149999999999999"}, {-2.25, "-2.25"}, {0.0, "0"},
    };
    for (const auto& c : cases) EXPECT_EQ(Decimal::fromDouble(c.in)->toString(), QString::fromUtf8(c.shown));
    EXPECT_FALSE(Decimal::fromDouble(std::numeric_limits<double>::quiet_NaN()));
}

TEST(Decimal, RoundsHalfAwayFromZeroAndMultipliesExactly) {
    EXPECT_EQ(dec(u"12.34565").toFixed(4), QStringLiteral("12.3457"));
    EXPECT_EQ(dec(u"-12.34565").toFixed(4), QStringLiteral("-12.3457"));
    EXPECT_EQ(dec(u"12.5").toFixed(2, u','), QStringLiteral("12,50"));
    EXPECT_EQ(dec(u"7").toFixed(2), QStringLiteral("7.00"));
    EXPECT_EQ(dec(u"0.005").toFixed(2), QStringLiteral("0.01"));
    const auto even = Decimal::Rounding::HalfEven;
    EXPECT_EQ(dec(u"1.00005").rounded(4, even).toString(), QStringLiteral("1"));
    EXPECT_EQ(dec(u"1.00015").rounded(4, even).toString(), QStringLiteral("1.0002"));
    EXPECT_EQ(dec(u"-1.00015").rounded(4, even).toString(), QStringLiteral("-1.0002"));
    EXPECT_EQ(dec(u"1.000051").rounded(4, even).toString(), QStringLiteral("1.0001"));
    // 38 places, the most a value keeps: the rest reaches past half of 10^38.
    const QString nines = QStringLiteral("0.") + QString(38, u'9');
    EXPECT_EQ(dec(nines).rounded(0).toString(), QStringLiteral("1"));
    EXPECT_EQ(dec(u'-' + nines).rounded(0).toString(), QStringLiteral("-1"));
    EXPECT_EQ(dec(QStringLiteral("0.5") + QString(36, u'0') + u'1').rounded(0, even).toString(), QStringLiteral("1"));
    EXPECT_EQ(dec(QStringLiteral("0.4") + QString(37, u'9')).rounded(0).toString(), QStringLiteral("0"));
    EXPECT_EQ(dec(u"10.1").times(dec(u"1.5"))->toString(), QStringLiteral("15.15"));
    EXPECT_EQ(dec(u"0.0001").times(dec(u"0.0001"))->toString(), QStringLiteral("0.00000001"));
    EXPECT_FALSE(dec(u"99999999999999999999").times(dec(u"99999999999999999999")));
}

TEST(Decimal, ComparesByValue) {
    EXPECT_EQ(dec(u"12.50"), dec(u"12.5"));
    EXPECT_LT(dec(u"-3"), dec(u"-2.5"));
    EXPECT_LT(dec(u"2.05"), dec(u"2.5"));
    EXPECT_LT(dec(u"0.9999"), dec(u"1"));
    EXPECT_EQ(dec(u"-1.5").compare(dec(u"-1.5")), 0);
}

TEST(Decimal, ExportTextKeepsFifteenSignificantDigitsWithTheCallersSeparator) {
    const struct { const char16_t* in; QChar separator; const char* out; } cases[] = {
        {u"12.5", u',', "12,5"},
        {u"123456789012345", u'.', "123456789012345"},
        {u"1234567890123456", u'.', "1234567890123460"},   // no exponent, even past 15 digits
        {u"0.1234567890123456789", u',', "0,123456789012346"},
        {u"-99999999999999.99", u'.', "-100000000000000"},
        {u"0.0001", u',', "0,0001"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(data::exportNumberText(dec(c.in), c.separator), QString::fromUtf8(c.out));
}

// Each numeric type of the schema read back and shown: the digits the server holds, plain.
TEST_F(DatabaseTest, NumbersReadBackExactlyAndShowPlain) {
    const struct { const char* value; const char* type; const char* shown; qint64 whole; } cases[] = {
        {"0", "numeric(28,6)", "0", 0},
        {"0.0001", "numeric(19,4)", "0.0001", 0},
        {"12.5", "numeric(28,6)", "12.5", 13},
        {"100000", "numeric(15,0)", "100000", 100000},
        {"123456789012345", "numeric(15,0)", "123456789012345", 123456789012345LL},
        {"-0.5", "numeric", "-0.5", -1},
        {"99999999999999999999.999999", "numeric(28,6)", "99999999999999999999.999999", 0},
        {"100000", "float8", "100000", 100000},
        {"0.0001", "float8", "0.0001", 0},
        {"12.5", "float8", "12.5", 13},
        {"-2.25", "float8", "-2.25", -2},
        {"100000", "integer", "100000", 100000},
        {"-7", "smallint", "-7", -7},
        {"123456789012345", "bigint", "123456789012345", 123456789012345LL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.value) + "::" + c.type);
        data::Dataset dataset(connection, QStringLiteral("select %1::%2 as v, null::%2 as n").arg(c.value, c.type));
        dataset.open();
        const data::Field v = dataset.field(QStringLiteral("v"));
        EXPECT_EQ(v.asString(), QString::fromUtf8(c.shown));
        if (QByteArray(c.shown).size() < 19) {
            EXPECT_EQ(v.asInteger(), c.whole);
        }
        EXPECT_EQ(v.asDecimal(), dec(QString::fromUtf8(c.shown)));
        EXPECT_TRUE(dataset.field(QStringLiteral("n")).isNull());
        EXPECT_EQ(dataset.field(QStringLiteral("n")).asString(), QString());
    }
}

// A value read from the database goes back, as a parameter and as statement text, unchanged.
TEST_F(DatabaseTest, NumbersGoBackUnchanged) {
    data::Dataset read(connection, QStringLiteral(
        "select 123456789012345::numeric(15,0) as id, 12.345678::numeric(28,6) as massa, "
        "-0.0001::numeric(19,4) as price"));
    read.open();
    for (const char* name : {"id", "massa", "price"}) {
        SCOPED_TRACE(name);
        const data::Field field = read.field(QString::fromLatin1(name));
        data::Dataset back(connection, QStringLiteral("select (:v = %1)::text as same, :v::text as t")
                                           .arg(sql::decimal(field.asDecimal())));
        back.setParam(QStringLiteral("v"), field.value());
        back.open();
        EXPECT_EQ(back.field(QStringLiteral("same")).asString(), QStringLiteral("true"));
        EXPECT_EQ(data::Decimal::parse(back.field(QStringLiteral("t")).asString()), field.asDecimal());
    }
}

}  // namespace
