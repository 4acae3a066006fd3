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

// Stops and starts the throwaway server (TABEL_TEST_PG_STOP, TABEL_TEST_PG_START); true on success.
bool stopServer();
bool startServer();

// The server stopped for a while: started again at the latest when the object goes, so that a
// test that fails while the server is away does not take the tests after it along.
class ServerAway {
public:
    ServerAway();   // stops the server; stopped() says whether it did
    ~ServerAway() { back(); }
    ServerAway(const ServerAway&) = delete;
    ServerAway& operator=(const ServerAway&) = delete;

    bool stopped() const { return stopped_; }
    bool back();   // starts the server again; true when it runs

private:
    bool stopped_ = false;
};

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
