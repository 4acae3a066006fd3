#pragma once

#include <QString>
#include <QVariant>

// The text of printed values and the small functions the report expressions use.
namespace reportengine {

// A value as printed: numbers exactly, rounded to the decimals of a mask such as "#0.00"
// ("#0": none); without a mask, or for a value that is no number, the value's own text.
// NULL prints nothing.
QString formatValue(const QVariant& value, const QString& mask = {});

// STR(12) is "12": the text of a number in plain digits.
QString STR(const QVariant& value);

// IF(condition, a, b).
inline QVariant IF(bool condition, const QVariant& a, const QVariant& b) { return condition ? a : b; }

}  // namespace reportengine
