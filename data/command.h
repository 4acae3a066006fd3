#pragma once

#include "data/statement.h"

#include <QString>
#include <QVariant>

namespace data {

class Connection;

// The named parameters of a dataset or command, kept between runs.
class Parameters {
public:
    void set(const QString& name, const QVariant& value);
    QVariant value(const QString& name) const;

    // The statement to send: `sql` with the values of the names it uses (NULL for names not set).
    Statement bind(const QString& sql) const;

private:
    QStringList names_;
    QVariantList values_;
};

// A statement without a result set: its text is fixed or replaced before each run.
class Command {
public:
    explicit Command(Connection& connection, QString sql = {});

    const QString& sql() const { return sql_; }
    void setSql(const QString& sql) { sql_ = sql; }
    void setParam(const QString& name, const QVariant& value) { params_.set(name, value); }

    // Runs the statement; returns the number of rows it changed. Throws DbError.
    int execute();

    // Replaces the text and runs it: the common use of the scratch commands.
    int execute(const QString& sql);

private:
    Connection& connection_;
    QString sql_;
    Parameters params_;
};

}  // namespace data
