// What db/schema.sql gives a new database before anyone writes to it, and the rules it keeps
// where a plain foreign key cannot: utility works and the workers they name.

#include "data/command.h"
#include "data/connection.h"
#include "data/dataset.h"
#include "data/db_error.h"
#include "data/shift_queries.h"
#include "data/timesheet_queries.h"
#include "reports/report_queries.h"
#include "tests/support/program_fixture.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <memory>

namespace {

using testing_support::DatabaseTest;

QString schemaText() {
    QFile file(QStringLiteral(TABEL_SOURCE_DIR "/db/schema.sql"));
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read db/schema.sql");
    return QString::fromUtf8(file.readAll());
}

QStringList rows(data::Connection& connection, const QString& sql, const QVariantMap& params = {}) {
    data::Dataset dataset(connection, sql);
    for (auto it = params.begin(); it != params.end(); ++it) dataset.setParam(it.key(), it.value());
    dataset.open();
    QStringList out;
    for (int row = 0; row < dataset.recordCount(); ++row) {
        QStringList values;
        for (int column = 0; column < dataset.columnCount(); ++column)
            values << dataset.value(row, column).toString();
        out << values.join(u'|');
    }
    return out;
}

// --- a new database ------------------------------------------------------------------------------

// A database of its own beside the test run's, created for this suite from template0 and loaded
// with db/schema.sql alone, as an administrator sets up a new one.
class FreshSchemaTest : public ::testing::Test {
protected:
    static data::ConnectionSettings superuser() {
        data::ConnectionSettings settings = testing_support::testSettings();
        settings.user = QStringLiteral("postgres");
        settings.database = QStringLiteral("postgres");
        return settings;
    }
    static QString name() { return testing_support::testSettings().database + QStringLiteral("_fresh_schema"); }
    static void dropDatabase() {
        data::Connection server(superuser());
        server.open();
        testing_support::exec(server, QStringLiteral("drop database if exists \"%1\" with (force)").arg(name()));
    }

    static void SetUpTestSuite() {
        dropDatabase();
        {
            data::Connection server(superuser());
            server.open();
            testing_support::exec(server, QStringLiteral(
                "create database \"%1\" owner sys template template0 encoding 'UTF8'").arg(name()));
        }
        data::ConnectionSettings settings = testing_support::testSettings();
        settings.database = name();
        fresh = std::make_unique<data::Connection>(settings);
        fresh->open();
        testing_support::exec(*fresh, schemaText());
    }
    static void TearDownTestSuite() {
        fresh.reset();
        dropDatabase();
    }

    static QVariant scalar(const QString& sql) { return testing_support::scalar(*fresh, sql); }

    static inline std::unique_ptr<data::Connection> fresh;
};

TEST_F(FreshSchemaTest, HoldsTheTwoUtilityWorkKindsAndProduct7777) {
    EXPECT_EQ(rows(*fresh, QStringLiteral("select id, trim(vid) from accounts_dep.vid_oper order by id")),
              (QStringList{QStringLiteral("7777|Хоз. работы"), QStringLiteral("7778|Хоз. работы (среднесдельная)")}));
    EXPECT_EQ(rows(*fresh, QStringLiteral("select id, marka from accounts_dep.izdel")),
              QStringList{QStringLiteral("7777|Хоз. работы")});
}

// The utility works list lists only while a priced operation of product and kind 7777 or above
// exists, and the entry window offers a kind only through a norm of its operation: its own
// statement must find both kinds, at price 0 until the planner sets one.
TEST_F(FreshSchemaTest, TheUtilityWindowsFindBothKindsWithANormAtPriceZero) {
    EXPECT_EQ(rows(*fresh, QStringLiteral(
                  "select o.vid, o.i_id, o.naimen from accounts_dep.oper o "
                  "where o.i_id >=7777 and o.vid >=7777 order by o.vid")),
              (QStringList{QStringLiteral("7777|7777|0"), QStringLiteral("7778|7777|0")}));
    EXPECT_EQ(rows(*fresh,
                   QStringLiteral("select vo.id, vo.vid, n.price, (n.price*:cnt) as summ from accounts_dep.vid_oper "
                                  "vo,accounts_dep.norm n, accounts_dep.oper o \n"
                                  "where n.o_id =o.id and o.vid=vo.id and (vo.id = 7777 or vo.id = 7778)"),
                   {{QStringLiteral("cnt"), 0}})
                  .replaceInStrings(QRegularExpression(QStringLiteral(" +\\|")), QStringLiteral("|")),
              (QStringList{QStringLiteral("7777|Хоз. работы|0|0"),
                           QStringLiteral("7778|Хоз. работы (среднесдельная)|0|0")}));
}

// Rows added later take generated keys that neither collide with the schema's rows nor hand out
// the reserved kind and product ids, also when the generators reach them.
TEST_F(FreshSchemaTest, GeneratedKeysStepOverTheSchemasRows) {
    const auto newId = [](const QString& insert) { return scalar(insert + QStringLiteral(" returning id")).toLongLong(); };
    QList<qint64> ids;
    ids << newId(QStringLiteral("insert into accounts_dep.oper (vid, naimen, i_id, cena_new) values (7777, 0, 7777, 0)"));
    ids << newId(QStringLiteral("insert into accounts_dep.norm (o_id, norma, price, prize) values (1, 1, 0, 0)"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from accounts_dep.oper")).toInt(), 3);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from accounts_dep.norm")).toInt(), 3);

    scalar(QStringLiteral("select setval('accounts_dep.vid_oper_id_seq', 7776)"));
    scalar(QStringLiteral("select setval('cmn_gds_and_srv.gds_and_srv_id_seq', 7776)"));
    const qint64 kind = newId(QStringLiteral("insert into accounts_dep.vid_oper (vid) values ('Сварка')"));
    const qint64 product = newId(QStringLiteral(
        "insert into cmn_gds_and_srv.gds_and_srv (s_caption, s_description, id_msm_bs) values ('ШК-1', '', 6)"));
    EXPECT_EQ(kind, 7779);
    EXPECT_EQ(product, 7778);

    testing_support::exec(*fresh, QStringLiteral(
        "delete from accounts_dep.norm where id = %1; delete from accounts_dep.oper where id = %2; "
        "delete from accounts_dep.vid_oper where id = %3; delete from cmn_gds_and_srv.gds_and_srv where id = %4")
        .arg(ids[1]).arg(ids[0]).arg(kind).arg(product));
}

// --- the person register at enterprise scale -----------------------------------------------------

class RegisterTest : public DatabaseTest {
protected:
    // 50 000 other contractors, their codes numbers no worker id takes, as in a real register.
    void fillTheRegister() {
        testing_support::exec(connection, QStringLiteral(
            "insert into cmn_contractor.person (id, s_code, s_caption) "
            "select 1000000000 + c, (100000 + c)::text, 'Контрагент ' || c from generate_series(1, 50000) c; "
            "analyze cmn_contractor.person"));
    }
};

// Beside tens of thousands of contractors the journal's worker match must probe the register by
// index on both of its halves, the id and the s_code read as a number, instead of reading the
// whole register for every shift record.
TEST_F(RegisterTest, TheJournalFindsItsWorkersByIndexBesideAnEnterpriseRegister) {
    const auto basics = fixtures.basics();
    fixtures.record({.worker = basics.worker, .product = basics.product, .oper = basics.oper,
                     .day = QDate(2024, 3, 5)});
    fillTheRegister();
    for (int shift = 1; shift <= 4; ++shift) {
        SCOPED_TRACE(shift);
        const QStringList plan = rows(connection, QStringLiteral("explain ") + data::shiftQuery(shift),
                                      {{QStringLiteral("data"), QDate(2024, 3, 5)}, {QStringLiteral("ok"), QStringLiteral("ta")}});
        const QString text = plan.join(u'\n');
        EXPECT_TRUE(text.contains(QStringLiteral("person_s_code_t_id_idx"))) << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("Seq Scan on person"))) << text.toStdString();
    }
}

// The timesheet and the reports name a worker by s_code read as an integer (the print through
// the domain t_integer): beside tens of thousands of contractors each must probe the register by
// index once per worker, not hash the whole register for every month or period shown.
TEST_F(RegisterTest, TheTimesheetAndTheReportsFindTheirWorkersByIndexBesideAnEnterpriseRegister) {
    const auto basics = fixtures.basics();
    fixtures.record({.worker = basics.worker, .product = basics.product, .oper = basics.oper,
                     .day = QDate(2024, 3, 5)});
    testing_support::exec(connection, QStringLiteral(
        "insert into accounts_dep.h_tabel (w_id, smena, month, year, d5) values (%1, 1, 3, 2024, 8); "
        "analyze accounts_dep.h_tabel; analyze accounts_dep.smena")
        .arg(basics.worker));
    fillTheRegister();
    const QVariantMap month{{QStringLiteral("mnth"), 3}, {QStringLiteral("yea"), 2024},
                            {QStringLiteral("date1"), QDate(2024, 3, 1)}, {QStringLiteral("date2"), QDate(2024, 4, 1)}};
    const QVariantMap period{{QStringLiteral("data1"), QDate(2024, 3, 1)}, {QStringLiteral("data2"), QDate(2024, 4, 1)}};
    const struct {
        const char* name;
        QString sql;
        QVariantMap params;
    } statements[] = {
        {"timesheet shift 1", data::timesheetGridQuery(1), month},
        {"timesheet shift 2", data::timesheetGridQuery(2), month},
        {"timesheet shift 3", data::timesheetGridQuery(3), month},
        {"timesheet print", data::timesheetPrintQuery(), {{QStringLiteral("mnth"), 3}, {QStringLiteral("yea"), 2024}}},
        {"report by workers", reports::workersReportQuery(), period},
        {"detailed report by workers", reports::detailedWorkersReportQuery(), period},
    };
    for (const auto& statement : statements) {
        SCOPED_TRACE(statement.name);
        const QString text = rows(connection, QStringLiteral("explain ") + statement.sql, statement.params).join(u'\n');
        EXPECT_TRUE(text.contains(QStringLiteral("person_s_code_integer_idx"))) << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("Seq Scan on person"))) << text.toStdString();
    }
}

// The index reads s_code as a number; the register's own check refuses any other s_code first,
// with its own name; it refuses a missing one (NULL) too.
TEST_F(RegisterTest, AnSCodeThatIsNoNumberIsRefusedByTheRegistersCheck) {
    struct Case {
        const char* sCode;
        bool refused;
    };
    const Case cases[] = {{"'12'", false}, {"null", true}, {"'А-12'", true}, {"''", true},
                          {"'1.5'", true}, {"'99999999999'", true}};
    int id = 500;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sCode);
        QString message;
        try {
            testing_support::exec(connection, QStringLiteral(
                "insert into cmn_contractor.person (id, s_code, s_caption) values (%1, %2, 'Контрагент')")
                .arg(++id).arg(QString::fromUtf8(c.sCode)));
        } catch (const data::DbError& e) {
            message = e.message();
        }
        if (c.refused)
            EXPECT_TRUE(message.contains(QStringLiteral("person_s_code_numeric"))) << message.toStdString();
        else
            EXPECT_EQ(message, QString());
    }
}

// --- utility works name existing workers ---------------------------------------------------------

class UtilityWorkerTest : public DatabaseTest {
protected:
    // A utility work of the given worker (id_p written as the text given: a number or null).
    void work(const QString& idP) {
        testing_support::exec(connection, QStringLiteral(
            "insert into accounts_dep.fatigue (id_nom, id_o, id_p, d_date, i_mnth, i_year, i_smena, cnt, price) "
            "values (2, 7777, %1, '05.03.2024', 3, 2024, 1, 8, 150)").arg(idP));
    }
    // The server's message, or an empty text when the statement went through.
    QString refusal(const QString& sql) {
        try {
            testing_support::exec(connection, sql);
        } catch (const data::DbError& e) {
            return e.message();
        }
        return {};
    }
    QStringList table(const QString& sql) { return rows(connection, sql); }
};

TEST_F(UtilityWorkerTest, AWorkerWithUtilityWorksIsNeitherDeletedNorRenumbered) {
    const int ivanov = fixtures.worker(QStringLiteral("Иванов И.И."));
    const int petrov = fixtures.worker(QStringLiteral("Петров П.П."));
    work(QString::number(ivanov));

    EXPECT_TRUE(refusal(QStringLiteral("delete from accounts_dep.person where id =%1").arg(ivanov))
                    .contains(QStringLiteral("Работника \"Иванов И.И.\" нельзя удалить: за ним записаны хоз. работы")));
    EXPECT_TRUE(refusal(QStringLiteral("update accounts_dep.person set id = 900 where id = %1").arg(ivanov))
                    .contains(QStringLiteral("нельзя изменить: за ним записаны хоз. работы")));
    EXPECT_EQ(table(QStringLiteral("select p.id, r.s_caption from accounts_dep.person p "
                                   "join cmn_contractor.person r on r.id = p.id order by p.id")),
              (QStringList{QStringLiteral("%1|Иванов И.И.").arg(ivanov), QStringLiteral("%1|Петров П.П.").arg(petrov)}));
    EXPECT_EQ(table(QStringLiteral("select id_p from accounts_dep.fatigue")), QStringList{QString::number(ivanov)});

    // A change of name is no renumbering; a worker without works goes; once his works are gone,
    // so does the other.
    EXPECT_EQ(refusal(QStringLiteral("update accounts_dep.person set id = %1, fio = 'Иванов И.С.' where id = %1")
                          .arg(ivanov)), QString());
    EXPECT_EQ(refusal(QStringLiteral("delete from accounts_dep.person where id =%1").arg(petrov)), QString());
    EXPECT_EQ(refusal(QStringLiteral("delete from accounts_dep.fatigue; delete from accounts_dep.person where id =%1")
                          .arg(ivanov)), QString());
    EXPECT_EQ(table(QStringLiteral("select count(*) from accounts_dep.person")), QStringList{QStringLiteral("0")});
}

struct WorkWrite {
    const char* what;
    const char* sql;   // %1: the worker's id, %2: an id no worker has
    bool refused;
};

TEST_F(UtilityWorkerTest, AUtilityWorkMustNameAnExistingWorker) {
    const WorkWrite cases[] = {
        {"insert naming the worker",
         "insert into accounts_dep.fatigue (id_p, id_o, cnt) values (%1, 7777, 1)", false},
        {"insert naming nobody",
         "insert into accounts_dep.fatigue (id_p, id_o, cnt) values (%2, 7777, 1)", true},
        {"insert naming beyond any worker key",
         "insert into accounts_dep.fatigue (id_p, id_o, cnt) values (99999999999999, 7777, 1)", true},
        {"insert naming no one at all (null), as a foreign key lets through",
         "insert into accounts_dep.fatigue (id_p, id_o, cnt) values (null, 7777, 1)", false},
        {"update to nobody",
         "update accounts_dep.fatigue set id_p = %2 where id_p = %1", true},
        {"update of the hours",
         "update accounts_dep.fatigue set cnt = 4, id_p = %1 where id_p = %1", false},
    };
    for (const WorkWrite& c : cases) {
        SCOPED_TRACE(c.what);
        testing_support::resetDatabase(connection);
        const int worker = fixtures.worker(QStringLiteral("Иванов И.И."));
        work(QString::number(worker));
        const QString message = refusal(QString::fromUtf8(c.sql)
                                            .replace(QStringLiteral("%1"), QString::number(worker))
                                            .replace(QStringLiteral("%2"), QString::number(worker + 1000)));
        if (c.refused) {
            EXPECT_TRUE(message.contains(QStringLiteral("Хоз. работа не записана: работника с кодом")))
                << message.toStdString();
            EXPECT_EQ(table(QStringLiteral("select id_p from accounts_dep.fatigue")), QStringList{QString::number(worker)});
        } else {
            EXPECT_EQ(message, QString());
        }
    }
}

}  // namespace
