#pragma once

#include <QString>
#include <QStringList>

namespace data {

// A statement text with its named parameters replaced by libpq's positional ones.
struct PositionalSql {
    QString text;        // ":data" became "$1"; a name used twice keeps one number
    QStringList names;   // names in the order of their numbers
};

// Finds ":name" parameters. A colon inside quoted text or a quoted identifier, a "::" cast and
// a colon inside a comment are not parameters.
PositionalSql toPositional(const QString& sql);

}  // namespace data
