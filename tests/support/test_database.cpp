#include "tests/support/test_database.h"

#include "data/command.h"
#include "data/dataset.h"

#include <QProcess>
#include <cstdlib>
#include <stdexcept>

namespace testing_support {
namespace {

QString requiredEnv(const char* name) {
    const QString value = qEnvironmentVariable(name);
    if (value.isEmpty())
        throw std::runtime_error(std::string(name) +
                                 " is not set: run the tests through scripts/test.sh");
    return value;
}

}  // namespace

data::ConnectionSettings testSettings() {
    data::ConnectionSettings settings;
    settings.server = requiredEnv("TABEL_TEST_PGHOST");
    settings.port = requiredEnv("TABEL_TEST_PGPORT").toInt();
    settings.database = requiredEnv("TABEL_TEST_PGDATABASE");
    return settings;
}

void resetDatabase(data::Connection& connection) {
    exec(connection, QStringLiteral(
        "truncate accounts_dep.smena, accounts_dep.h_tabel, accounts_dep.norm, accounts_dep.oper, "
        "accounts_dep.vid_oper, accounts_dep.person, accounts_dep.fatigue, accounts_dep.ver, "
        "cmn_contractor.person, cmn_classifier.item, cmn_gds_and_srv.gds_and_srv, "
        "hrms_staffpos.staffpos, cmn_department.department, adm_role.roles restart identity cascade;"
        "insert into accounts_dep.ver (d, t, delim) values (0, 0, '.')"));
}

namespace {

bool runServerCommand(const char* variable) {
    const QString command = requiredEnv(variable);
    return std::system(command.toLocal8Bit().constData()) == 0;
}

}  // namespace

bool restartServer() { return runServerCommand("TABEL_TEST_PG_RESTART"); }
bool stopServer() { return runServerCommand("TABEL_TEST_PG_STOP"); }
bool startServer() { return runServerCommand("TABEL_TEST_PG_START"); }

ServerAway::ServerAway() : stopped_(stopServer()) {}

bool ServerAway::back() {
    if (!stopped_) return true;
    stopped_ = !startServer();
    return !stopped_;
}

void exec(data::Connection& connection, const QString& sql) {
    data::Command(connection, sql).execute();
}

QVariant scalar(data::Connection& connection, const QString& sql) {
    data::Dataset dataset(connection, sql);
    dataset.open();
    return dataset.isEmpty() ? QVariant() : dataset.value(0, 0);
}

StatementLog::StatementLog(data::Connection& connection) : connection_(connection) {
    connection_.setListener([this](const data::Statement& s) { statements_.push_back(s); });
}

StatementLog::~StatementLog() { connection_.setListener({}); }

QStringList StatementLog::texts() const {
    QStringList out;
    for (const data::Statement& s : statements_) out << s.text;
    return out;
}

}  // namespace testing_support
