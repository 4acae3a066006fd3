// Every refusal the schema makes for a reference, as the user reads it: Russian words saying what
// keeps the row or what the row names that is not there; never the server's English key text,
// its severity ("ERROR:", "ОШИБКА:") or its context lines, whichever language the server speaks.
// The server's whole text goes to the program's log.

#include "data/db_error.h"
#include "data/server_refusal.h"
#include "data/transaction.h"
#include "tests/support/program_fixture.h"

#include <QMutex>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <memory>

namespace {

using testing_support::DatabaseTest;
using testing_support::Fixtures;

// What the program's log received under the server's category while it lived.
class ServerLogCapture {
public:
    ServerLogCapture() {
        current = this;
        previous_ = qInstallMessageHandler(&ServerLogCapture::handle);
    }
    ~ServerLogCapture() {
        qInstallMessageHandler(previous_);
        current = nullptr;
    }
    QStringList lines() const { return lines_; }

private:
    static void handle(QtMsgType, const QMessageLogContext& context, const QString& message) {
        if (current && context.category && qstrcmp(context.category, data::serverLog().categoryName()) == 0)
            current->lines_ << message;
    }
    static inline ServerLogCapture* current = nullptr;
    QtMessageHandler previous_ = nullptr;
    QStringList lines_;
};

// A small department in which every rule has something to keep: Иванов has shift records of the
// welding of ШК-120, Петров a utility work.
struct Department {
    Department(data::Connection& connection, Fixtures& fixtures) {
        ivanov = fixtures.worker(QStringLiteral("Иванов И.И."));
        petrov = fixtures.worker(QStringLiteral("Петров П.П."));
        product = fixtures.product(QStringLiteral("ШК-120"));
        kind = fixtures.kind(QStringLiteral("Сварка"));
        oper = fixtures.oper(kind, product, 0);
        fixtures.norm(oper, 12.5);
        fixtures.record({.worker = ivanov, .product = product, .oper = oper, .day = QDate(2024, 3, 5)});
        testing_support::exec(connection, QStringLiteral(
            "insert into accounts_dep.fatigue (id_nom, id_o, id_p, d_date, i_mnth, i_year, i_smena, cnt, price) "
            "values (2, 7777, %1, '05.03.2024', 3, 2024, 1, 8, 150)").arg(petrov));
    }
    // The statement of a case with the department's ids in place of its names.
    QString statement(const char* sql) const {
        return QString::fromUtf8(sql)
            .replace(QStringLiteral("{ivanov}"), QString::number(ivanov))
            .replace(QStringLiteral("{petrov}"), QString::number(petrov))
            .replace(QStringLiteral("{product}"), QString::number(product))
            .replace(QStringLiteral("{kind}"), QString::number(kind))
            .replace(QStringLiteral("{oper}"), QString::number(oper));
    }
    int ivanov = 0, petrov = 0, kind = 0, oper = 0;
    qint64 product = 0;
};

struct Refusal {
    const char* what;
    const char* rule;      // the key or the trigger of db/schema.sql that refuses
    const char* sql;       // {ivanov}, {oper}, ... stand for the department's ids; 999999 is nobody's
    const char* message;   // what the user reads
};

const Refusal refusals[] = {
    {"a worker with shift records deleted", "smena_w_id_fkey",
     "delete from accounts_dep.person where id ={ivanov}",
     "Работника нельзя удалить: за ним записаны смены"},
    {"a shift record saved for a worker deleted meanwhile", "smena_w_id_fkey",
     "insert into accounts_dep.smena (data, smena, w_id, i_id, o_id, kol_vo, brak, time, ok) "
     "values ('06.03.2024', 1, 999999, {product}, {oper}, 5, 0, 8, 'no')",
     "Смена не записана: работника нет в списке рабочих; возможно, его удалили с другого рабочего места"},
    {"a shift record moved to a worker deleted meanwhile", "smena_w_id_fkey",
     "update accounts_dep.smena set w_id=999999 where w_id={ivanov}",
     "Смена не записана: работника нет в списке рабочих; возможно, его удалили с другого рабочего места"},
    {"an operation kind with priced operations deleted", "oper_vid_fkey",
     "delete from accounts_dep.vid_oper where id={kind}",
     "Вид операции нельзя удалить: по нему заведены цены операций"},
    {"a priced operation saved with a kind deleted meanwhile", "oper_vid_fkey",
     "insert into accounts_dep.oper(vid, naimen, i_id, cena_new)values (999999, 1, {product}, 0)",
     "Цена операции не записана: вида операции нет в списке; возможно, его удалили с другого рабочего места"},
    {"a priced operation changed to a kind deleted meanwhile", "oper_vid_fkey",
     "update accounts_dep.oper set vid=999999, naimen=0,  i_id={product} where id={oper}",
     "Цена операции не записана: вида операции нет в списке; возможно, его удалили с другого рабочего места"},
    {"a worker with utility works deleted", "person_keep_fatigue",
     "delete from accounts_dep.person where id ={petrov}",
     "Работника \"Петров П.П.\" нельзя удалить: за ним записаны хоз. работы"},
    {"a worker with utility works renumbered", "person_keep_fatigue",
     "update accounts_dep.person set id=999999 where id={petrov}",
     "Код работника \"Петров П.П.\" нельзя изменить: за ним записаны хоз. работы"},
    {"a utility work for nobody", "fatigue_person_exists",
     "insert into accounts_dep.fatigue (id_nom, id_o, id_p, d_date, i_mnth, i_year, i_smena, cnt, price) "
     "values (2, 7777, 999999, '05.03.2024', 3, 2024, 1, 8, 150)",
     "Хоз. работа не записана: работника с кодом 999999 нет в списке рабочих"},
    {"a priced operation with shift records deleted", "oper_keep_smena",
     "delete from accounts_dep.oper where id={oper}",
     "Операцию \"ШК-120; Сварка; Готовая продукция\" нельзя удалить: по ней записаны смены"},
    {"a product's priced operations deleted while its records stay", "oper_keep_smena",
     "delete from accounts_dep.oper o where o.i_id ={product}",
     "Операцию \"ШК-120; Сварка; Готовая продукция\" нельзя удалить: по ней записаны смены"},
    {"a priced operation with shift records renumbered", "oper_keep_smena",
     "update accounts_dep.oper set id=999999 where id={oper}",
     "Код операции \"ШК-120; Сварка; Готовая продукция\" нельзя изменить: по ней записаны смены"},
};

void PrintTo(const Refusal& r, std::ostream* os) { *os << r.what; }

// Everything the department holds, table by table: a refused write changes none of it.
QString contents(data::Connection& connection) {
    return testing_support::scalar(connection, QStringLiteral(
        "select concat_ws(' | ', "
        "(select string_agg(id || ':' || fio, ',' order by id) from accounts_dep.person), "
        "(select string_agg(id || ':' || vid, ',' order by id) from accounts_dep.vid_oper), "
        "(select string_agg(id || ':' || vid || ':' || i_id || ':' || naimen, ',' order by id) from accounts_dep.oper), "
        "(select string_agg(id || ':' || o_id, ',' order by id) from accounts_dep.norm), "
        "(select string_agg(id || ':' || w_id || ':' || o_id, ',' order by id) from accounts_dep.smena), "
        "(select string_agg(id || ':' || id_p, ',' order by id) from accounts_dep.fatigue))")).toString();
}

// A session of the test database as the server's owner, who may choose the language the server
// answers in.
std::unique_ptr<data::Connection> ownerSession() {
    data::ConnectionSettings settings = testing_support::testSettings();
    settings.user = QStringLiteral("postgres");
    auto session = std::make_unique<data::Connection>(settings);
    session->open();
    return session;
}

// The message the user would read for `sql`, or an empty text when it went through.
struct Outcome {
    QString message;
    QString serverText;
};
Outcome attempt(data::Connection& connection, const QString& sql) {
    try {
        testing_support::exec(connection, sql);
    } catch (const data::DbError& e) {
        return {e.message(), e.serverText()};
    }
    return {};
}

class RefusalMessagesTest : public DatabaseTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusalMessagesTest, TheUserReadsWhatKeepsTheRowInRussianAndTheLogTheServersText) {
    const Refusal& r = GetParam();
    const Department department(connection, fixtures);
    const QString sql = department.statement(r.sql);
    const QString before = contents(connection);

    ServerLogCapture log;
    const Outcome english = attempt(connection, sql);
    EXPECT_EQ(english.message, QString::fromUtf8(r.message));
    EXPECT_EQ(contents(connection), before) << "a refused write changed the database";
    // The whole text, with its severity and the rule's name, is in the log and nowhere else.
    EXPECT_TRUE(english.serverText.startsWith(QLatin1String("ERROR:"))) << english.serverText.toStdString();
    EXPECT_TRUE(english.serverText.contains(QLatin1String(r.rule))) << english.serverText.toStdString();
    EXPECT_EQ(log.lines(), QStringList{english.serverText});

    // A server that speaks Russian: its "ОШИБКА:" and "КОНТЕКСТ:" stay in the log too.
    const auto russian = ownerSession();
    if (!attempt(*russian, QStringLiteral("set lc_messages to 'ru_RU.UTF-8'")).message.isEmpty())
        GTEST_SKIP() << "the server's machine has no ru_RU.UTF-8 locale: the Russian half is not checked";
    const Outcome inRussian = attempt(*russian, sql);
    ASSERT_TRUE(inRussian.serverText.startsWith(QStringLiteral("ОШИБКА:")))
        << "the server did not answer in Russian: " << inRussian.serverText.toStdString();
    EXPECT_EQ(inRussian.message, QString::fromUtf8(r.message));
    EXPECT_EQ(contents(connection), before);
}

INSTANTIATE_TEST_SUITE_P(EveryRule, RefusalMessagesTest, ::testing::ValuesIn(refusals),
                         [](const ::testing::TestParamInfo<Refusal>& info) {
                             QString name = QString::fromUtf8(info.param.what);
                             name.replace(QRegularExpression(QStringLiteral("[^A-Za-z]+")), QStringLiteral("_"));
                             return QStringLiteral("%1_%2").arg(info.index).arg(name).toStdString();
                         });

// Every key of the database and every trigger that refuses a write has its rows in the table
// above: a new one cannot reach the user in the server's words unnoticed.
TEST_F(DatabaseTest, EveryKeyAndRefusingTriggerOfTheSchemaHasItsMessage) {
    QStringList covered;
    for (const Refusal& r : refusals) covered << QString::fromUtf8(r.rule);
    const QString rules = testing_support::scalar(connection, QStringLiteral(
        "select string_agg(name, ',' order by name) from ("
        " select conname::text as name from pg_constraint where contype = 'f'"
        " union select t.tgname::text from pg_trigger t join pg_proc p on p.oid = t.tgfoid"
        "  where not t.tgisinternal and p.prosrc ilike '%raise exception%') as rules")).toString();
    ASSERT_FALSE(rules.isEmpty());
    for (const QString& rule : rules.split(u','))
        EXPECT_TRUE(covered.contains(rule)) << rule.toStdString() << " has no message in the table";
}

// A key the program does not know (another application's table naming a worker, say) is still
// told in Russian, naming the key and its table for the administrator.
TEST_F(DatabaseTest, AKeyTheProgramDoesNotKnowIsToldByItsNameAndTable) {
    const int worker = fixtures.worker(QStringLiteral("Сидоров С.С."));
    data::Transaction scratch(connection);   // rolled back: the table never outlives the test
    testing_support::exec(connection, QStringLiteral(
        "create table accounts_dep.badges (w_id integer constraint badges_w_id_fkey "
        "references accounts_dep.person (id)); insert into accounts_dep.badges values (%1)").arg(worker));
    const Outcome outcome = attempt(connection, QStringLiteral("delete from accounts_dep.person where id =%1").arg(worker));
    EXPECT_EQ(outcome.message, QStringLiteral("Запись связана с другими данными, изменение невозможно "
                                              "(ключ badges_w_id_fkey таблицы accounts_dep.badges)"));
}

// The operation's records keep it; a transaction that deletes both together, in either order,
// goes through, and an operation without records goes as before, its norms left in place.
TEST_F(DatabaseTest, APricedOperationGoesOnlyWithoutShiftRecords) {
    const Department department(connection, fixtures);
    const int spare = fixtures.oper(department.kind, department.product, 1);
    fixtures.norm(spare, 4.2);
    const auto count = [&](const QString& sql) { return testing_support::scalar(connection, sql).toInt(); };

    EXPECT_EQ(attempt(connection, QStringLiteral("delete from accounts_dep.oper where id=%1").arg(spare)).message, QString());
    EXPECT_EQ(count(QStringLiteral("select count(*) from accounts_dep.oper where id=%1").arg(spare)), 0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from accounts_dep.norm where o_id=%1").arg(spare)), 1);

    // A change of the operation that keeps its id is no renumbering.
    EXPECT_EQ(attempt(connection, QStringLiteral("update accounts_dep.oper set naimen=1 where id=%1").arg(department.oper))
                  .message, QString());

    const QString operThenRecords = QStringLiteral(
        "begin; delete from accounts_dep.oper where id=%1; delete from accounts_dep.smena where o_id=%1; commit")
        .arg(department.oper);
    EXPECT_EQ(attempt(connection, operThenRecords).message, QString());
    EXPECT_EQ(count(QStringLiteral("select count(*) from accounts_dep.oper where id=%1").arg(department.oper)), 0);

    const int other = fixtures.oper(department.kind, department.product, 0);
    fixtures.record({.worker = department.ivanov, .product = department.product, .oper = other, .day = QDate(2024, 3, 6)});
    const QString recordsThenOper = QStringLiteral(
        "begin; delete from accounts_dep.smena where o_id=%1; delete from accounts_dep.oper where id=%1; commit").arg(other);
    EXPECT_EQ(attempt(connection, recordsThenOper).message, QString());
    EXPECT_EQ(count(QStringLiteral("select count(*) from accounts_dep.oper")), 0);

    // Records of an operation deleted long ago (an older database holds such) stop nothing.
    fixtures.record({.worker = department.ivanov, .product = department.product, .oper = 424242, .day = QDate(2024, 3, 7)});
    const int fresh = fixtures.oper(department.kind, department.product, 0);
    EXPECT_EQ(attempt(connection, QStringLiteral("delete from accounts_dep.oper where id=%1").arg(fresh)).message, QString());
}

}  // namespace
