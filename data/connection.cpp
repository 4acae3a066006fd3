#include "data/connection.h"

#include "data/db_error.h"
#include "data/named_params.h"
#include "data/pg_values.h"
#include "data/server_refusal.h"

#include <QScopeGuard>
#include <libpq-fe.h>
#include <optional>

namespace data {

ConnectionSettings ConnectionSettings::fromCommandLine(const QStringList& args) {
    ConnectionSettings settings;
    if (args.size() >= 2 && !args.at(1).isEmpty()) {
        settings.database = args.at(0);
        settings.server = args.at(1);
    }
    return settings;
}

void ResultDeleter::operator()(pg_result* r) const { PQclear(r); }

qint64 integerAt(const Result& result, int row, int column) {
    if (!result || row >= PQntuples(result.get()) || column >= PQnfields(result.get())) return 0;
    return QByteArray(PQgetvalue(result.get(), row, column)).toLongLong();
}

namespace {

QString connectionMessage(const PGconn* conn) {
    return QString::fromUtf8(PQerrorMessage(conn)).trimmed();
}

// The message of a connection that went away, for the one box the user sees: what happened in
// the user's words first, then libpq's own account of it for the administrator.
QString lostPrefix() { return QStringLiteral("Соединение с базой данных потеряно:\n"); }

QString lostMessage(const PGconn* conn) {
    const QString message = connectionMessage(conn);
    return message.isEmpty() ? QStringLiteral("Соединение с базой данных потеряно") : lostPrefix() + message;
}

void ignoreNotice(void*, const char*) {}

// A statement that only reads: sent again when the connection broke under it, which a write must
// never be (it may have been committed before its reply was lost). One select, nothing after it.
bool isRead(const QString& text) {
    QString body = text.trimmed();
    while (body.endsWith(u';')) body.chop(1);
    return body.startsWith(QLatin1String("select"), Qt::CaseInsensitive) && !body.contains(u';');
}

// A statement the server refused: the user is told the short account, the log keeps the server's
// whole text.
DbError refused(const PGresult* result, const QString& statementText) {
    const QString whole = serverText(result);
    qCWarning(serverLog).noquote() << whole;
    return DbError(refusalMessage(result, statementText), whole);
}

bool succeeded(const PGresult* r) {
    const ExecStatusType status = PQresultStatus(r);
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

}  // namespace

Connection::Connection(ConnectionSettings settings) : settings_(std::move(settings)) {}

Connection::~Connection() { close(); }

void Connection::open() {
    close();
    const QByteArray host = settings_.server.toUtf8();
    const QByteArray port = QByteArray::number(settings_.port);
    const QByteArray dbname = settings_.database.toUtf8();
    const QByteArray user = settings_.user.toUtf8();
    const QByteArray password = settings_.password.toUtf8();
    const QByteArray sslmode = settings_.sslMode.toUtf8();
    // Day-first input as the statements write dates, ISO output as the program reads them. Quoted
    // text takes a backslash as itself whatever the database's own setting, so a doubled quote is
    // the only escape in a statement and a typed backslash cannot end a literal early.
    //
    // A workstation that is switched off or loses the network in the middle of a transaction
    // holds its locks (a month of the timesheet, say) until the server sees it is gone; by the
    // system's defaults that takes two hours. The server's keepalives (tcp_keepalives_*, set for
    // this session) probe a silent workstation after 20 seconds and drop it after four
    // unanswered probes 10 seconds apart, and its user timeout drops one that stops
    // acknowledging what the server sends; either way within about a minute, when the
    // transaction is rolled back and its locks go. The same settings on our own side
    // (keepalives_*, tcp_user_timeout) let a statement waiting on a server that vanished fail
    // within a minute instead of waiting for ever. Both apply to TCP only: a local socket has no
    // silent peer.
    const char* keywords[] = {"host", "port", "dbname", "user", "password", "sslmode",
                              "client_encoding", "options", "application_name",
                              "keepalives", "keepalives_idle", "keepalives_interval", "keepalives_count",
                              "tcp_user_timeout", nullptr};
    const char* values[] = {host.constData(), port.constData(), dbname.constData(),
                            user.constData(), password.constData(), sslmode.constData(),
                            "UTF8",
                            "-c DateStyle=ISO,DMY -c standard_conforming_strings=on"
                            " -c tcp_keepalives_idle=20 -c tcp_keepalives_interval=10 -c tcp_keepalives_count=4"
                            " -c tcp_user_timeout=60000",
                            "tabel",
                            "1", "20", "10", "4",
                            "60000", nullptr};
    PGconn* conn = PQconnectdbParams(keywords, values, 0);
    if (PQstatus(conn) != CONNECTION_OK) {
        const QString message = connectionMessage(conn);
        PQfinish(conn);
        throw DbError(message);
    }
    PQsetNoticeProcessor(conn, ignoreNotice, nullptr);
    conn_ = conn;
}

void Connection::close() {
    if (conn_) PQfinish(conn_);
    conn_ = nullptr;
}

bool Connection::isConnected() const { return conn_ && PQstatus(conn_) == CONNECTION_OK; }

void Connection::checkBeforeStatement() {
    // Reads whatever the server sent while we were idle. A server that went down sent its last
    // message and closed the socket: the first read takes the message, the second meets the
    // end of the stream, which marks the connection bad.
    for (int read = 0; read < 2 && PQconsumeInput(conn_); ++read) {
    }
    if (PQstatus(conn_) == CONNECTION_OK) return;
    if (inTransaction_) throw DbError(lostMessage(conn_));
    reset();
}

void Connection::reset() {
    PQreset(conn_);
    if (PQstatus(conn_) != CONNECTION_OK) throw DbError(lostMessage(conn_));
}

PGresult* Connection::send(const QByteArray& text, const std::vector<const char*>& values) {
    if (values.empty()) return PQexec(conn_, text.constData());
    return PQexecParams(conn_, text.constData(), int(values.size()), nullptr, values.data(),
                        nullptr, nullptr, 0);
}

Result Connection::run(const QByteArray& text, const std::vector<const char*>& values, bool readOnly,
                       const QString& statementText) {
    Result result(send(text, values));
    const bool lostOnTheWay = !succeeded(result.get()) && PQstatus(conn_) == CONNECTION_BAD;
    if (lostOnTheWay && readOnly && !inTransaction_) {
        reset();
        result.reset(send(text, values));
    }
    if (!result) throw DbError(lostMessage(conn_));
    if (!succeeded(result.get())) {
        if (PQstatus(conn_) == CONNECTION_BAD) throw DbError(lostPrefix() + serverText(result.get()));
        throw refused(result.get(), statementText);
    }
    return result;
}

// A statement in the form libpq sends: positional text and its values as server text.
struct Connection::Wire {
    explicit Wire(const Statement& statement) {
        const PositionalSql positional = toPositional(statement.text);
        text = positional.text.toUtf8();
        for (const QString& name : positional.names) values.push_back(toPgText(statement.param(name)));
        for (const auto& value : values) pointers.push_back(value ? value->constData() : nullptr);
    }
    QByteArray text;
    std::vector<std::optional<QByteArray>> values;
    std::vector<const char*> pointers;
};

Result Connection::exec(const Statement& statement) {
    if (!conn_) throw DbError(QStringLiteral("Нет соединения с базой данных"));
    if (listener_) listener_(statement);
    const Wire wire(statement);
    checkBeforeStatement();
    return run(wire.text, wire.pointers, isRead(statement.text), statement.text);
}

std::vector<Result> Connection::execPipeline(const std::vector<Statement>& statements) {
    if (!conn_) throw DbError(QStringLiteral("Нет соединения с базой данных"));
    if (statements.empty()) return {};
    if (listener_)
        for (const Statement& statement : statements) listener_(statement);
    std::vector<Wire> wires;
    wires.reserve(statements.size());
    for (const Statement& statement : statements) wires.emplace_back(statement);

    checkBeforeStatement();
    if (!PQenterPipelineMode(conn_)) throw DbError(lostMessage(conn_));
    const auto leave = qScopeGuard([this] { PQexitPipelineMode(conn_); });
    for (const Wire& wire : wires)
        if (!PQsendQueryParams(conn_, wire.text.constData(), int(wire.pointers.size()), nullptr,
                               wire.pointers.data(), nullptr, nullptr, 0))
            throw DbError(lostMessage(conn_));
    if (!PQpipelineSync(conn_)) throw DbError(lostMessage(conn_));
    return readPipelineResults(statements);
}

// Reads up to the pipeline's sync point. Each statement's result is followed by a null; a
// statement skipped after a failure answers "aborted".
std::vector<Result> Connection::readPipelineResults(const std::vector<Statement>& statements) {
    std::vector<Result> results;
    std::optional<DbError> failure;
    for (;;) {
        PGresult* raw = PQgetResult(conn_);
        if (!raw) {
            if (PQstatus(conn_) != CONNECTION_OK) {
                if (!failure) failure.emplace(lostMessage(conn_));
                break;
            }
            continue;
        }
        Result result(raw);
        const ExecStatusType status = PQresultStatus(raw);
        if (status == PGRES_PIPELINE_SYNC) break;
        if (status == PGRES_PIPELINE_ABORTED) continue;
        if (!succeeded(raw) && !failure)
            failure = refused(raw, results.size() < statements.size() ? statements[results.size()].text : QString());
        results.push_back(std::move(result));
    }
    if (failure) throw *failure;
    return results;
}

void Connection::beginTransaction() {
    if (inTransaction_) throw DbError(QStringLiteral("Транзакция уже начата"));
    exec(Statement{QStringLiteral("begin"), {}, {}});
    inTransaction_ = true;
}

void Connection::commitTransaction() {
    const auto ended = qScopeGuard([this] { inTransaction_ = false; });
    const Result result = exec(Statement{QStringLiteral("commit"), {}, {}});
    // A transaction that failed earlier answers its commit with a rollback, not with an error.
    if (qstrcmp(PQcmdStatus(result.get()), "COMMIT") != 0)
        throw DbError(QStringLiteral("Транзакция отменена, изменения не сохранены"));
}

void Connection::rollbackTransaction() {
    inTransaction_ = false;
    if (!conn_ || PQstatus(conn_) != CONNECTION_OK) return;   // the server has rolled it back
    if (listener_) listener_(Statement{QStringLiteral("rollback"), {}, {}});
    PQclear(PQexec(conn_, "rollback"));
}

}  // namespace data
