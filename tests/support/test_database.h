#pragma once

#include "data/connection.h"
#include "data/statement.h"

#include <QString>
#include <vector>

namespace testing_support {

// The throwaway database of this test run, named by the environment the test command sets:
// TABEL_TEST_PGHOST, TABEL_TEST_PGPORT and TABEL_TEST_PGDATABASE. Without them the tests fail.
data::ConnectionSettings testSettings();

// Empties every table the program uses and puts back the one version row (0, 0, '.').
void resetDatabase(data::Connection& connection);

// Restarts the throwaway server (TABEL_TEST_PG_RESTART holds the command); true on success.
bool restartServer();

// Runs statements for fixtures and checks, outside the program's own code.
void exec(data::Connection& connection, const QString& sql);
QVariant scalar(data::Connection& connection, const QString& sql);

// Every statement the program sends, in order.
class StatementLog {
public:
    explicit StatementLog(data::Connection& connection);
    ~StatementLog();

    const std::vector<data::Statement>& statements() const { return statements_; }
    QStringList texts() const;
    void clear() { statements_.clear(); }

private:
    data::Connection& connection_;
    std::vector<data::Statement> statements_;
};

}  // namespace testing_support
