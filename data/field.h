#pragma once

#include "data/decimal.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

namespace data {

// One value of the current row, read the way the windows need it. A NULL reads as an empty
// text, as 0 and as an invalid date.
class Field {
public:
    Field() = default;
    explicit Field(QVariant value) : value_(std::move(value)) {}

    bool isNull() const { return value_.isNull(); }
    const QVariant& value() const { return value_; }

    // Numbers in plain decimal digits with a full stop, never in exponent form; dates as
    // DD.MM.YYYY, date-times with their time of day only when they have one.
    QString asString() const;
    // The same without the blanks that pad a char(n) column to its size; blanks that lead stay.
    QString asUnpaddedString() const;
    // Whole numbers, 64 bits wide: ids of numeric(15,0) columns come back whole.
    qint64 asInteger() const;
    // The exact value of a number (0 for NULL or for a text that is no number).
    Decimal asDecimal() const;
    QDate asDate() const;
    QDateTime asDateTime() const;

private:
    QVariant value_;
};

// The display text of a value, as Field::asString gives it.
QString displayText(const QVariant& value);

// The exact value of a number held in a variant, whatever type it was read as; nullopt for NULL,
// for a NaN and for a text that is no number.
std::optional<Decimal> decimalOf(const QVariant& value);

}  // namespace data
