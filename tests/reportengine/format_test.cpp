// Printed values: masks over exact numbers, and the expression functions IF and STR.

#include "data/decimal.h"
#include "reportengine/format.h"
#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>

namespace {

using reportengine::formatValue;

QVariant dec(const char* text) { return QVariant::fromValue(*data::Decimal::parse(QString::fromLatin1(text))); }

TEST(ReportFormat, MasksRoundExactNumbersHalfAwayFromZero) {
    struct {
        QVariant value;
        const char* mask;
        const char* printed;
    } cases[] = {
        {dec("12.345"), "#0.00", "12.35"},
        {dec("12"), "#0.000", "12.000"},
        {dec("2.5"), "#0", "3"},
        {dec("-2.5"), "#0", "-3"},
        {dec("0.125"), "", "0.125"},
        {QVariant(1234567.0), "#0.00", "1234567.00"},   // a float8 value never in exponent form
        {QVariant(0.1), "", "0.1"},
        {QVariant(qint64(9007199254740993)), "#0", "9007199254740993"},
        {QVariant(), "#0.00", ""},
        {QVariant(QStringLiteral("Короб")), "#0.00", "Короб"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.printed);
        EXPECT_EQ(formatValue(c.value, QString::fromLatin1(c.mask)), QString::fromUtf8(c.printed));
    }
}

// The colour expression of the period reports, written with IF and STR.
QString colour(int color) {
    using reportengine::IF;
    using reportengine::STR;
    return IF(color > 0, IF(color == 1, " (грунт)", " (RAL: " + STR(color) + ")"), " ").toString();
}

TEST(ReportFormat, ExpressionsBuildTextWithIfAndStr) {
    EXPECT_EQ(colour(0), QStringLiteral(" "));
    EXPECT_EQ(colour(1), QStringLiteral(" (грунт)"));
    EXPECT_EQ(colour(12), QStringLiteral(" (RAL: 12)"));
}

}  // namespace
