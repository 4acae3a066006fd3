#pragma once

#include "data/statement.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

struct pg_conn;
struct pg_result;

namespace data {

// Where the one connection goes. The port, the user, its password and the SSL mode are fixed for
// every workstation; only the database and the server come from the command line.
struct ConnectionSettings {
    static constexpr const char* defaultDatabase = "vesk_erp";
    static constexpr const char* defaultServer = "localhost";

    QString database = QString::fromLatin1(defaultDatabase);
    QString server = QString::fromLatin1(defaultServer);
    int port = 5432;
    QString user = QStringLiteral("sys");
    QString password = QStringLiteral("wopzelk");
    QString sslMode = QStringLiteral("allow");

    // Argument 1 is the database, argument 2 the server. Without a server (absent or empty) the
    // built-in defaults stand and argument 1 is ignored; with a server, argument 1 is taken as it
    // is, even empty. `args` holds the arguments without the program name.
    static ConnectionSettings fromCommandLine(const QStringList& args);
};

// An owned libpq result.
struct ResultDeleter { void operator()(pg_result* r) const; };
using Result = std::unique_ptr<pg_result, ResultDeleter>;

// The whole number in a cell of a result (0 for NULL or a row that is not there).
qint64 integerAt(const Result& result, int row, int column);

// The one database connection of a run. Every statement goes through exec().
//
// A connection found broken before a statement (the server restarted, the network dropped while
// it was idle) is reset, and the statement goes to the new session: nothing of it was sent yet.
// A connection that breaks while a statement is on its way is different: a write may have been
// committed before its reply was lost, so only a read outside a transaction is sent again. A
// write fails with libpq's message and the next statement reconnects. Inside a transaction a
// broken connection is never reset: the server has rolled the transaction back, and every
// statement of it fails until it ends.
class Connection {
public:
    explicit Connection(ConnectionSettings settings = {});
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const ConnectionSettings& settings() const { return settings_; }
    void setSettings(const ConnectionSettings& settings) { settings_ = settings; }

    void open();   // throws DbError with libpq's message when the server cannot be reached
    void close();
    bool isOpen() const { return conn_ != nullptr; }
    bool isConnected() const;   // open and not found broken

    // Runs one statement whose text may hold several statements when it has no parameters.
    // Throws DbError on failure: the user's account of the server's refusal (see refusalMessage),
    // the server's whole text going to the log.
    Result exec(const Statement& statement);

    // Sends the statements together in libpq's pipeline mode and then reads all their replies:
    // one round trip instead of one per statement. Results come back in order. The first failure
    // throws its message; the server skips the statements after it. Nothing is ever sent again,
    // so a pipeline of writes belongs inside a Transaction. Texts hold one statement each.
    std::vector<Result> execPipeline(const std::vector<Statement>& statements);

    void setListener(StatementListener listener) { listener_ = std::move(listener); }

    // The transaction in which statements run until it ends; see Transaction, which is how the
    // program uses them. Throw DbError.
    void beginTransaction();
    void commitTransaction();
    void rollbackTransaction();   // never throws: a broken connection has rolled back already
    bool inTransaction() const { return inTransaction_; }

private:
    struct Wire;
    void checkBeforeStatement();
    void reset();
    pg_result* send(const QByteArray& text, const std::vector<const char*>& values);
    std::vector<Result> readPipelineResults(const std::vector<Statement>& statements);
    Result run(const QByteArray& text, const std::vector<const char*>& values, bool readOnly,
               const QString& statementText);

    ConnectionSettings settings_;
    pg_conn* conn_ = nullptr;
    StatementListener listener_;
    bool inTransaction_ = false;
};

}  // namespace data
