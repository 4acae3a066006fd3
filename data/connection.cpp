#include "data/connection.h"

#include "data/db_error.h"
#include "data/named_params.h"
#include "data/pg_values.h"

#include <libpq-fe.h>

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

namespace {

QString connectionMessage(const PGconn* conn) {
    return QString::fromUtf8(PQerrorMessage(conn)).trimmed();
}

void ignoreNotice(void*, const char*) {}

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
    // Day-first input as the statements write dates, ISO output as the program reads them.
    const char* keywords[] = {"host", "port", "dbname", "user", "password", "sslmode",
                              "client_encoding", "options", "application_name", nullptr};
    const char* values[] = {host.constData(), port.constData(), dbname.constData(),
                            user.constData(), password.constData(), sslmode.constData(),
                            "UTF8", "-c DateStyle=ISO,DMY", "tabel", nullptr};
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

void Connection::resetIfBroken() {
    // Reads whatever the server sent while we were idle; a server that went down has closed the
    // socket by now, which marks the connection bad.
    PQconsumeInput(conn_);
    if (PQstatus(conn_) == CONNECTION_OK) return;
    PQreset(conn_);
    if (PQstatus(conn_) != CONNECTION_OK) throw DbError(connectionMessage(conn_));
}

PGresult* Connection::send(const QByteArray& text, const std::vector<const char*>& values) {
    if (values.empty()) return PQexec(conn_, text.constData());
    return PQexecParams(conn_, text.constData(), int(values.size()), nullptr, values.data(),
                        nullptr, nullptr, 0);
}

Result Connection::exec(const Statement& statement) {
    if (!conn_) throw DbError(QStringLiteral("Нет соединения с базой данных"));
    if (listener_) listener_(statement);

    const PositionalSql positional = toPositional(statement.text);
    std::vector<std::optional<QByteArray>> values;
    for (const QString& name : positional.names) values.push_back(toPgText(statement.param(name)));
    std::vector<const char*> pointers;
    for (const auto& value : values) pointers.push_back(value ? value->constData() : nullptr);

    const QByteArray text = positional.text.toUtf8();
    resetIfBroken();
    Result result(send(text, pointers));
    if (!succeeded(result.get()) && PQstatus(conn_) == CONNECTION_BAD) {
        PQreset(conn_);
        if (PQstatus(conn_) != CONNECTION_OK) throw DbError(connectionMessage(conn_));
        result.reset(send(text, pointers));
    }
    if (!result) throw DbError(connectionMessage(conn_));
    if (!succeeded(result.get()))
        throw DbError(QString::fromUtf8(PQresultErrorMessage(result.get())).trimmed());
    return result;
}

}  // namespace data
