// The connection: its parameters from the command line, statements, errors and a restarted server.

#include "data/command.h"
#include "data/connection.h"
#include "data/db_error.h"
#include "tests/support/program_fixture.h"

#include <gtest/gtest.h>

namespace {

using testing_support::DatabaseTest;

struct CommandLineCase {
    QStringList args;
    QString database;
    QString server;
};

TEST(ConnectionSettings, FollowTheCommandLine) {
    const CommandLineCase cases[] = {
        {{}, QStringLiteral("vesk_erp"), QStringLiteral("localhost")},
        // Argument 1 alone has no effect: the built-in database and server stand.
        {{QStringLiteral("db1")}, QStringLiteral("vesk_erp"), QStringLiteral("localhost")},
        {{QStringLiteral("db1"), QStringLiteral("host1")}, QStringLiteral("db1"), QStringLiteral("host1")},
        // With a server, argument 1 is taken as it is, even empty.
        {{QString(), QStringLiteral("host2")}, QString(), QStringLiteral("host2")},
        {{QStringLiteral("db1"), QString()}, QStringLiteral("vesk_erp"), QStringLiteral("localhost")},
        {{QStringLiteral("db1"), QStringLiteral("host1"), QStringLiteral("extra")}, QStringLiteral("db1"),
         QStringLiteral("host1")},
    };
    for (const CommandLineCase& c : cases) {
        const auto settings = data::ConnectionSettings::fromCommandLine(c.args);
        const std::string label = c.args.join(u'|').toStdString();
        EXPECT_EQ(settings.database, c.database) << label;
        EXPECT_EQ(settings.server, c.server) << label;
        EXPECT_EQ(settings.port, 5432) << label;
        EXPECT_EQ(settings.user, QStringLiteral("sys")) << label;
        EXPECT_EQ(settings.password, QStringLiteral("wopzelk")) << label;
        EXPECT_EQ(settings.sslMode, QStringLiteral("allow")) << label;
    }
}

TEST(Connection, AnUnreachableServerFailsWithTheDriversMessage) {
    data::ConnectionSettings settings = testing_support::testSettings();
    settings.server = QStringLiteral("127.0.0.1");
    settings.port = 1;   // nothing listens there
    data::Connection connection(settings);
    try {
        connection.open();
        FAIL() << "connected to nothing";
    } catch (const data::DbError& e) {
        EXPECT_FALSE(e.message().isEmpty());
    }
    EXPECT_FALSE(connection.isOpen());
}

TEST_F(DatabaseTest, ServerErrorsCarryTheServersMessage) {
    try {
        data::Command(connection, QStringLiteral("delete from accounts_dep.no_such_table")).execute();
        FAIL() << "no error";
    } catch (const data::DbError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("accounts_dep.no_such_table"))) << e.what();
    }
    // The connection goes on working after an error.
    EXPECT_EQ(testing_support::scalar(connection, QStringLiteral("select 2")).toInt(), 2);
}

TEST_F(DatabaseTest, SessionReadsDatesDayFirst) {
    EXPECT_EQ(testing_support::scalar(connection, QStringLiteral("select '04.02.2024'::date")).toDate(),
              QDate(2024, 2, 4));
    EXPECT_EQ(testing_support::scalar(connection, QStringLiteral("select to_date('04.02.2024', 'DD.MM.YYYY')")).toDate(),
              QDate(2024, 2, 4));
}

TEST_F(DatabaseTest, CommandsReportTheRowsTheyChanged) {
    fixtures.worker(QStringLiteral("Иванов И.И."));
    fixtures.worker(QStringLiteral("Петров П.П."));
    data::Command command(connection, QStringLiteral("update accounts_dep.person set s_staffpos_hl=:p"));
    command.setParam(QStringLiteral("p"), QStringLiteral("Цех"));
    EXPECT_EQ(command.execute(), 2);
}

TEST_F(DatabaseTest, ARestartedServerDoesNotEndTheRun) {
    EXPECT_EQ(testing_support::scalar(connection, QStringLiteral("select 1")).toInt(), 1);
    ASSERT_TRUE(testing_support::restartServer());
    // The first statement after the restart finds the connection broken, resets it and goes on.
    EXPECT_EQ(testing_support::scalar(connection, QStringLiteral("select 2")).toInt(), 2);
    EXPECT_EQ(testing_support::scalar(connection, QStringLiteral("show DateStyle")).toString(),
              QStringLiteral("ISO, DMY"));
}

TEST_F(DatabaseTest, ABackendKilledUnderTheConnectionIsReplaced) {
    data::Connection other(testing_support::testSettings());
    other.open();
    const QVariant pid = testing_support::scalar(connection, QStringLiteral("select pg_backend_pid()"));
    testing_support::exec(other, QStringLiteral("select pg_terminate_backend(%1)").arg(pid.toInt()));
    EXPECT_EQ(testing_support::scalar(connection, QStringLiteral("select 3")).toInt(), 3);
    EXPECT_NE(testing_support::scalar(connection, QStringLiteral("select pg_backend_pid()")), pid);
}

}  // namespace
