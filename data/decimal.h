#pragma once

#include <QMetaType>
#include <QString>
#include <optional>

namespace data {

// An exact decimal number: an integer count of units of 10^-scale. Money, factors and ids of the
// database's numeric columns are kept this way, so that they never pass through a binary double
// between the server, the screen, a statement and a spreadsheet. Up to 38 significant digits.
//
// Its text is always plain decimal digits, never an exponent, without trailing zeros after the
// point (12.500000 is 12.5; 100000 stays 100000).
class Decimal {
public:
    enum class Rounding { HalfAwayFromZero, HalfEven };

    constexpr Decimal() = default;
    static Decimal fromInteger(qint64 value);

    // The shortest decimal that reads back as this double: a float8 column's 0.1 is 0.1.
    // A NaN or an infinity gives nullopt.
    static std::optional<Decimal> fromDouble(double value);

    // Reads "-12.50", ".5", "12,5" (either separator), "1e+05", "1.5E-7"; blanks around are
    // allowed. Nullopt for anything else or for more than 38 significant digits.
    static std::optional<Decimal> parse(QStringView text);

    bool isZero() const { return units_ == 0; }
    bool isNegative() const { return units_ < 0; }
    bool isInteger() const { return scale_ == 0; }
    int scale() const { return scale_; }

    // The integer part when it is one that fits 64 bits.
    std::optional<qint64> toInteger() const;

    QString toString(QChar separator = u'.') const;

    // Rounded half away from zero to `decimals` places and shown with exactly that many ("#0.00").
    QString toFixed(int decimals, QChar separator = u'.') const;

    Decimal rounded(int decimals, Rounding mode = Rounding::HalfAwayFromZero) const;
    Decimal roundedToSignificant(int digits) const;     // half away from zero

    // Nullopt when the product does not fit 38 digits.
    std::optional<Decimal> times(const Decimal& other) const;
    // Nullopt when the sum does not fit 38 digits.
    std::optional<Decimal> plus(const Decimal& other) const;
    Decimal negated() const { return Decimal(-units_, scale_); }

    int compare(const Decimal& other) const;
    friend bool operator==(const Decimal& a, const Decimal& b) {
        return a.units_ == b.units_ && a.scale_ == b.scale_;
    }
    friend bool operator<(const Decimal& a, const Decimal& b) { return a.compare(b) < 0; }

private:
    constexpr Decimal(__int128 units, int scale) : units_(units), scale_(scale) {}
    static Decimal normalized(__int128 units, int scale);

    __int128 units_ = 0;
    int scale_ = 0;   // digits after the point; no trailing zeros are kept
};

// The significant digits a spreadsheet keeps of a number.
inline constexpr int spreadsheetDigits = 15;

// The text of a number for an export cell: at most 15 significant digits, plain decimal, with the
// separator the caller chooses.
QString exportNumberText(const Decimal& value, QChar separator);

}  // namespace data

Q_DECLARE_METATYPE(data::Decimal)
