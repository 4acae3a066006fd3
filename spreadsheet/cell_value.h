#pragma once

#include "data/decimal.h"

#include <QString>
#include <optional>

namespace spreadsheet {

// A value on its way to a cell, typed by the column it comes from. A text column's value is text
// however much it looks like a number: a mark "007", "1E5" or "12.50" is a name, and a guess from
// the content would turn some marks into numbers. A numeric column's value is a number, kept
// exact until it reaches the file. The empty text is the value that writes nothing.
class CellValue {
public:
    CellValue() = default;
    CellValue(QString text) : text_(std::move(text)) {}   // implicit: a text is the plain case

    static CellValue number(const data::Decimal& value);
    static CellValue number(qint64 value) { return number(data::Decimal::fromInteger(value)); }

    bool isEmpty() const { return !number_ && text_.isEmpty(); }
    // The number, for a value typed as one.
    const std::optional<data::Decimal>& numberValue() const { return number_; }
    // The text; a number's in plain digits with a full stop.
    const QString& text() const { return text_; }

private:
    QString text_;
    std::optional<data::Decimal> number_;
};

inline CellValue CellValue::number(const data::Decimal& value) {
    CellValue cell(value.toString());
    cell.number_ = value;
    return cell;
}

}  // namespace spreadsheet
