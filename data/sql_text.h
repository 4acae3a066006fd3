#pragma once

#include "data/decimal.h"

#include <QDate>
#include <QString>

// Pieces of statement text. Statements are written as text, with values placed by these helpers
// so that nothing a user types can change what a statement means.
namespace sql {

QString integer(qint64 value);         // 42, -7
QString decimal(const data::Decimal& value);   // 12.5 with a full stop, whatever the locale
QString date(const QDate& value);      // 09.12.2026, read day first by the server
QString text(const QString& value);    // 'O''Brien': quoted, every quote doubled

// The body of a quoted literal without its quotes: O''Brien. For statements whose fixed pieces
// already hold the quotes ("fio like '" + ... + "%'").
QString escaped(const QString& value);

}  // namespace sql
