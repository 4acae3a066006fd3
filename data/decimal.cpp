#include "data/decimal.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace data {
namespace {

using Int128 = __int128;
constexpr int maxDigits = 38;

Int128 powerOfTen(int n) {
    Int128 p = 1;
    for (int i = 0; i < n; ++i) p *= 10;
    return p;
}

const Int128 digitLimit = powerOfTen(maxDigits);   // every kept value stays below it

Int128 magnitude(Int128 v) { return v < 0 ? -v : v; }

int digitCount(Int128 v) {
    v = magnitude(v);
    int n = 1;
    while (v >= 10) {
        v /= 10;
        ++n;
    }
    return n;
}

QString digitsOf(Int128 v) {   // v >= 0
    QString out;
    do {
        out.prepend(QChar(u'0' + int(v % 10)));
        v /= 10;
    } while (v > 0);
    return out;
}

// units / 10^n, rounded to a whole number; a half goes away from zero, or to the even neighbour.
Int128 dividedRounded(Int128 units, int n, Decimal::Rounding mode = Decimal::Rounding::HalfAwayFromZero) {
    if (n <= 0) return units;
    if (n > maxDigits) return 0;
    const Int128 divisor = powerOfTen(n);
    const Int128 m = magnitude(units);
    Int128 q = m / divisor;
    // The rest is compared with what it lacks to a whole unit: twice the rest would not fit 128
    // bits when the divisor is 10^38.
    const Int128 rest = m % divisor, lack = divisor - rest;
    const bool half = rest == lack;
    if (rest > lack || (half && (mode == Decimal::Rounding::HalfAwayFromZero || q % 2 == 1))) ++q;
    return units < 0 ? -q : q;
}

// A variant holding a decimal converts to its text and to a whole number as a number column's
// value would, never through a double.
[[maybe_unused]] const bool convertersRegistered = [] {
    QMetaType::registerConverter<Decimal, QString>([](const Decimal& d) { return d.toString(); });
    QMetaType::registerConverter<Decimal, qlonglong>(
        [](const Decimal& d) { return qlonglong(d.rounded(0).toInteger().value_or(0)); });
    QMetaType::registerConverter<Decimal, int>(
        [](const Decimal& d) { return int(d.rounded(0).toInteger().value_or(0)); });
    return true;
}();

}  // namespace

Decimal Decimal::normalized(Int128 units, int scale) {
    while (scale > 0 && units % 10 == 0) {
        units /= 10;
        --scale;
    }
    if (units == 0) scale = 0;
    return Decimal(units, scale);
}

Decimal Decimal::fromInteger(qint64 value) { return Decimal(value, 0); }

std::optional<Decimal> Decimal::fromDouble(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    return parse(QString::number(value, 'g', QLocale::FloatingPointShortest));
}

std::optional<Decimal> Decimal::parse(QStringView text) {
    text = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';

    Int128 units = 0;
    int scale = 0;
    int significant = 0;
    bool anyDigit = false;
    bool inFraction = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'.' || c == u',') {
            if (inFraction) return std::nullopt;
            inFraction = true;
            continue;
        }
        if (c < u'0' || c > u'9') break;
        anyDigit = true;
        if (units == 0 && c == u'0') {   // leading zeros carry no digits
            if (inFraction) ++scale;
            continue;
        }
        if (++significant > maxDigits) return std::nullopt;
        units = units * 10 + (c.unicode() - u'0');
        if (inFraction) ++scale;
    }
    if (!anyDigit) return std::nullopt;

    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        bool ok = false;
        const int exponent = text.mid(i + 1).toInt(&ok);
        if (!ok || exponent > 2 * maxDigits || exponent < -2 * maxDigits) return std::nullopt;
        scale -= exponent;
        i = text.size();
    }
    if (i != text.size()) return std::nullopt;

    if (scale < 0) {
        if (significant - scale > maxDigits) return std::nullopt;
        units *= powerOfTen(-scale);
        scale = 0;
    }
    const Decimal result = normalized(negative ? -units : units, scale);
    if (result.scale_ > maxDigits) return std::nullopt;   // below 10^-38: nothing the program keeps
    return result;
}

std::optional<qint64> Decimal::toInteger() const {
    const Int128 whole = units_ / powerOfTen(scale_);
    if (whole > std::numeric_limits<qint64>::max() || whole < std::numeric_limits<qint64>::min())
        return std::nullopt;
    return qint64(whole);
}

QString Decimal::toString(QChar separator) const {
    QString digits = digitsOf(magnitude(units_));
    if (scale_ > 0) {
        if (digits.size() <= scale_) digits.prepend(QString(scale_ - digits.size() + 1, u'0'));
        digits.insert(digits.size() - scale_, separator);
    }
    return units_ < 0 ? u'-' + digits : digits;
}

QString Decimal::toFixed(int decimals, QChar separator) const {
    const Decimal r = rounded(decimals);
    QString text = r.toString(separator);
    if (decimals <= 0) return text;
    if (r.scale_ == 0) text += separator;
    return text + QString(decimals - r.scale_, u'0');
}

Decimal Decimal::rounded(int decimals, Rounding mode) const {
    if (scale_ <= decimals) return *this;
    return normalized(dividedRounded(units_, scale_ - decimals, mode), decimals);
}

Decimal Decimal::roundedToSignificant(int digits) const {
    const int excess = digitCount(units_) - digits;
    if (excess <= 0 || units_ == 0) return *this;
    const Int128 kept = dividedRounded(units_, excess);
    const int scale = scale_ - excess;
    if (scale >= 0) return normalized(kept, scale);
    return Decimal(kept * powerOfTen(-scale), 0);
}

std::optional<Decimal> Decimal::times(const Decimal& other) const {
    Int128 product = 0;
    if (__builtin_mul_overflow(units_, other.units_, &product)) return std::nullopt;
    if (magnitude(product) >= digitLimit) return std::nullopt;
    const Decimal result = normalized(product, scale_ + other.scale_);
    if (result.scale_ > maxDigits) return std::nullopt;
    return result;
}

std::optional<Decimal> Decimal::plus(const Decimal& other) const {
    const int scale = std::max(scale_, other.scale_);
    Int128 a = 0, b = 0, sum = 0;
    if (__builtin_mul_overflow(units_, powerOfTen(scale - scale_), &a)) return std::nullopt;
    if (__builtin_mul_overflow(other.units_, powerOfTen(scale - other.scale_), &b)) return std::nullopt;
    if (__builtin_add_overflow(a, b, &sum)) return std::nullopt;
    if (magnitude(sum) >= digitLimit) return std::nullopt;
    return normalized(sum, scale);
}

int Decimal::compare(const Decimal& other) const {
    if ((units_ < 0) != (other.units_ < 0)) return units_ < 0 ? -1 : 1;
    // Same sign: compare the integer parts, then the fractions brought to one scale.
    const Int128 wholeA = units_ / powerOfTen(scale_);
    const Int128 wholeB = other.units_ / powerOfTen(other.scale_);
    if (wholeA != wholeB) return wholeA < wholeB ? -1 : 1;
    const int scale = std::max(scale_, other.scale_);
    const Int128 fracA = (units_ % powerOfTen(scale_)) * powerOfTen(scale - scale_);
    const Int128 fracB = (other.units_ % powerOfTen(other.scale_)) * powerOfTen(scale - other.scale_);
    if (fracA == fracB) return 0;
    return fracA < fracB ? -1 : 1;
}

QString exportNumberText(const Decimal& value, QChar separator) {
    return value.roundedToSignificant(spreadsheetDigits).toString(separator);
}

}  // namespace data
