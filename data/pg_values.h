#pragma once

#include <QByteArray>
#include <QVariant>
#include <optional>

namespace data {

// Reads one value of a result, given in PostgreSQL's text format, into the Qt type that matches
// the column's type: integers, floating point, exact decimals (numeric), dates, date-times, booleans, text.
QVariant fromPgText(unsigned int typeOid, const char* text, int length);

// Writes a bound parameter in the text format the server reads whatever the session's DateStyle:
// dates as ISO, decimals with a full stop. A null QVariant is SQL NULL (no text at all).
std::optional<QByteArray> toPgText(const QVariant& value);

}  // namespace data
