#pragma once

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

    // Numbers without a thousands separator and with a full stop, dates as DD.MM.YYYY, date-times
    // with their time of day only when they have one.
    QString asString() const;
    int asInteger() const;
    qint64 asLargeInt() const;
    double asFloat() const;
    QDate asDate() const;
    QDateTime asDateTime() const;

private:
    QVariant value_;
};

// The display text of a value, as Field::asString gives it.
QString displayText(const QVariant& value);

}  // namespace data
