#include "data/command.h"

#include "data/connection.h"
#include "data/named_params.h"

#include <libpq-fe.h>

namespace data {

void Parameters::set(const QString& name, const QVariant& value) {
    const qsizetype i = indexOfName(names_, name);
    if (i >= 0) {
        values_[i] = value;
        return;
    }
    names_ << name;
    values_ << value;
}

QVariant Parameters::value(const QString& name) const {
    const qsizetype i = indexOfName(names_, name);
    return i < 0 ? QVariant() : values_.at(i);
}

Statement Parameters::bind(const QString& sql) const {
    Statement statement{sql, {}, {}};
    for (const QString& name : toPositional(sql).names) {
        statement.paramNames << name;
        statement.paramValues << value(name);
    }
    return statement;
}

Command::Command(Connection& connection, QString sql)
    : connection_(connection), sql_(std::move(sql)) {}

int Command::execute() {
    const Result result = connection_.exec(params_.bind(sql_));
    return QByteArray(PQcmdTuples(result.get())).toInt();
}

int Command::execute(const QString& sql) {
    sql_ = sql;
    return execute();
}

}  // namespace data
