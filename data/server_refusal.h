#pragma once

#include <QLoggingCategory>
#include <QString>

struct pg_result;

namespace data {

// Where the server's whole text of every refused statement goes: the program's log on standard
// error, for the administrator. The user is told the short account below.
Q_DECLARE_LOGGING_CATEGORY(serverLog)

// What the user is told when the server refuses `statementText`:
// - a refusal by a foreign key the program knows says in Russian what keeps the row (a delete) or
//   what the row names that is not there (an insert or update); one it does not know says that
//   the row is tied to other data, naming the key and its table;
// - any other refusal, our triggers' Russian ones among them, is the server's primary message
//   alone: no severity ("ERROR:", "ОШИБКА:"), no detail, hint or context lines.
QString refusalMessage(const pg_result* result, const QString& statementText);

// The server's whole text of a refusal, as it came.
QString serverText(const pg_result* result);

}  // namespace data
