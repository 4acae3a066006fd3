// The connection: its parameters from the command line, statements, errors and a restarted server.

#include "data/command.h"
#include "data/connection.h"
#include "data/db_error.h"
#include "data/sql_text.h"
#include "data/transaction.h"
#include "tests/support/program_fixture.h"

#include <QScopeGuard>
#include <QThread>
#include <functional>
#include <future>
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

// The user reads the server's primary message alone; the severity and the lines that point into
// the statement stay in the server's whole text, for the log.
TEST_F(DatabaseTest, ServerErrorsCarryTheServersMessage) {
    try {
        data::Command(connection, QStringLiteral("delete from accounts_dep.no_such_table")).execute();
        FAIL() << "no error";
    } catch (const data::DbError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("relation \"accounts_dep.no_such_table\" does not exist"));
        EXPECT_TRUE(e.serverText().startsWith(QStringLiteral("ERROR:"))) << e.serverText().toStdString();
        EXPECT_TRUE(e.serverText().contains(QStringLiteral("LINE 1: delete from accounts_dep.no_such_table")))
            << e.serverText().toStdString();
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

// A database that takes a backslash in quoted text as an escape (an old setting some servers keep)
// still gets typed text exactly: the program's session reads backslashes as themselves, so a
// typed backslash before a quote cannot end the literal and let the rest run as a statement.
TEST_F(DatabaseTest, QuotedTextKeepsItsBackslashesWhateverTheDatabasesSetting) {
    const QString database = testing_support::testSettings().database;
    testing_support::exec(connection, QStringLiteral("alter database \"%1\" set standard_conforming_strings=off").arg(database));
    const auto restore = qScopeGuard([&] {
        testing_support::exec(connection, QStringLiteral("alter database \"%1\" reset standard_conforming_strings").arg(database));
    });
    data::Connection session(testing_support::testSettings());
    session.open();
    for (const QString& typed : {QStringLiteral("\\'; select 1; --"), QStringLiteral("C:\\папка\\"), QStringLiteral("\\n")})
        EXPECT_EQ(testing_support::scalar(session, QStringLiteral("select ") + sql::text(typed)).toString(), typed);
}

// A second session of the same database, for the other workstation and the administrator.
class ReconnectionTest : public DatabaseTest {
protected:
    ReconnectionTest() { other.open(); }

    int pidOf(data::Connection& c) {
        return testing_support::scalar(c, QStringLiteral("select pg_backend_pid()")).toInt();
    }
    int kinds(const QString& name) {
        return testing_support::scalar(other, QStringLiteral(
            "select count(*)::int from accounts_dep.vid_oper where vid='%1'").arg(name)).toInt();
    }
    void terminate(int pid) {
        testing_support::exec(other, QStringLiteral("select pg_terminate_backend(%1)").arg(pid));
    }
    // Runs `statement` on the program's connection while the other session holds the kinds table
    // locked; once the statement waits for the lock, its backend is terminated and the lock
    // released. Returns the statement's outcome: its error message, or empty.
    QString runKilledWhileWaiting(const std::function<void()>& statement) {
        const int pid = pidOf(connection);
        testing_support::exec(other, QStringLiteral("begin; lock table accounts_dep.vid_oper in access exclusive mode"));
        auto outcome = std::async(std::launch::async, [&]() -> QString {
            try {
                statement();
                return {};
            } catch (const data::DbError& e) {
                return e.message().isEmpty() ? QStringLiteral("?") : e.message();
            }
        });
        waitForLockWait(pid);
        terminate(pid);
        testing_support::exec(other, QStringLiteral("commit"));
        return outcome.get();
    }

    data::Connection other{testing_support::testSettings()};
    int backendPid = 0;

private:
    void waitForLockWait(int pid) {
        for (int i = 0; i < 500; ++i) {
            if (testing_support::scalar(other, QStringLiteral(
                    "select count(*)::int from pg_stat_activity where pid=%1 and wait_event_type='Lock'")
                    .arg(pid)).toInt() == 1)
                return;
            QThread::msleep(10);
        }
        FAIL() << "the statement never waited for the lock";
    }
};

// The case that doubles rows: the insert is committed, then its reply is lost with the connection.
TEST_F(ReconnectionTest, AWriteWhoseReplyWasLostIsNotSentAgain) {
    try {
        testing_support::exec(connection, QStringLiteral(
            "insert into accounts_dep.vid_oper (vid) values ('Резка'); commit; "
            "select pg_terminate_backend(pg_backend_pid())"));
        FAIL() << "a lost reply was reported as success";
    } catch (const data::DbError& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Соединение с базой данных потеряно:\n")))
            << e.what();
    }
    EXPECT_EQ(kinds(QStringLiteral("Резка")), 1);
    // The next operation reconnects and works.
    EXPECT_EQ(testing_support::scalar(connection, QStringLiteral("select count(*)::int from accounts_dep.vid_oper")).toInt(), 1);
}

TEST_F(ReconnectionTest, AWriteKilledWhileWaitingForALockFailsOnceAndIsNotRepeated) {
    const QString error = runKilledWhileWaiting([&] {
        testing_support::exec(connection, QStringLiteral("insert into accounts_dep.vid_oper (vid) values ('Гибка')"));
    });
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(kinds(QStringLiteral("Гибка")), 0);
    testing_support::exec(connection, QStringLiteral("insert into accounts_dep.vid_oper (vid) values ('Гибка')"));
    EXPECT_EQ(kinds(QStringLiteral("Гибка")), 1);
}

TEST_F(ReconnectionTest, AReadKilledWhileWaitingForALockIsSentAgain) {
    QVariant count;
    const QString error = runKilledWhileWaiting([&] {
        count = testing_support::scalar(connection, QStringLiteral("select count(*)::int from accounts_dep.vid_oper"));
    });
    EXPECT_EQ(error, QString());
    EXPECT_EQ(count.toInt(), 0);
}

// The connection breaks between two statements of a transaction, by a killed backend or by a
// restarted server: no reset inside it, the transaction ends with an error, nothing of it stays.
TEST_F(ReconnectionTest, ATransactionWhoseConnectionBrokeAppliesNothing) {
    const std::pair<const char*, std::function<void()>> breaks[] = {
        {"killed backend", [&] { terminate(backendPid); }},
        {"restarted server", [&] { ASSERT_TRUE(testing_support::restartServer()); other.close(); other.open(); }},
    };
    for (const auto& [label, breakConnection] : breaks) {
        SCOPED_TRACE(label);
        backendPid = pidOf(connection);
        QString error;
        try {
            data::Transaction transaction(connection);
            testing_support::exec(connection, QStringLiteral("insert into accounts_dep.vid_oper (vid) values ('Сварка')"));
            breakConnection();
            testing_support::exec(connection, QStringLiteral("insert into accounts_dep.vid_oper (vid) values ('Пайка')"));
            transaction.commit();
        } catch (const data::DbError& e) {
            error = e.message();
        }
        EXPECT_TRUE(error.startsWith(QStringLiteral("Соединение с базой данных потеряно:\n"))) << error.toStdString();
        EXPECT_FALSE(connection.inTransaction());
        EXPECT_EQ(kinds(QStringLiteral("Сварка")), 0);
        EXPECT_EQ(kinds(QStringLiteral("Пайка")), 0);
        // The next operation, outside the transaction, reconnects.
        EXPECT_EQ(testing_support::scalar(connection, QStringLiteral("select 5")).toInt(), 5);
    }
}

TEST_F(ReconnectionTest, ATransactionKilledWhileWaitingForALockAppliesNothing) {
    const QString error = runKilledWhileWaiting([&] {
        data::Transaction transaction(connection);
        testing_support::exec(connection, QStringLiteral("insert into accounts_dep.person (fio) values ('Сидоров С.С.')"));
        testing_support::exec(connection, QStringLiteral("insert into accounts_dep.vid_oper (vid) values ('Сборка')"));
        transaction.commit();
    });
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(kinds(QStringLiteral("Сборка")), 0);
    EXPECT_EQ(testing_support::scalar(other, QStringLiteral("select count(*)::int from accounts_dep.person")).toInt(), 0);
    EXPECT_EQ(testing_support::scalar(connection, QStringLiteral("select 6")).toInt(), 6);
}

TEST_F(DatabaseTest, ATransactionCommitsAllOrLeavesNothing) {
    const auto count = [&] {
        return testing_support::scalar(connection, QStringLiteral("select count(*)::int from accounts_dep.vid_oper")).toInt();
    };
    {
        data::Transaction transaction(connection);
        testing_support::exec(connection, QStringLiteral("insert into accounts_dep.vid_oper (vid) values ('А')"));
        testing_support::exec(connection, QStringLiteral("insert into accounts_dep.vid_oper (vid) values ('Б')"));
        transaction.commit();
    }
    EXPECT_EQ(count(), 2);
    {
        data::Transaction transaction(connection);   // left without commit
        testing_support::exec(connection, QStringLiteral("insert into accounts_dep.vid_oper (vid) values ('В')"));
    }
    EXPECT_EQ(count(), 2);
    try {
        data::Transaction transaction(connection);
        testing_support::exec(connection, QStringLiteral("insert into accounts_dep.vid_oper (vid) values ('Г')"));
        testing_support::exec(connection, QStringLiteral("insert into accounts_dep.no_such_table values (1)"));
        transaction.commit();
        FAIL() << "no error";
    } catch (const data::DbError&) {
    }
    EXPECT_EQ(count(), 2);
    // A commit after a failed statement whose error was caught is no success either.
    {
        data::Transaction transaction(connection);
        testing_support::exec(connection, QStringLiteral("insert into accounts_dep.vid_oper (vid) values ('Д')"));
        EXPECT_THROW(testing_support::exec(connection, QStringLiteral("select 1/0")), data::DbError);
        EXPECT_THROW(transaction.commit(), data::DbError);
    }
    EXPECT_EQ(count(), 2);
    EXPECT_FALSE(connection.inTransaction());
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
