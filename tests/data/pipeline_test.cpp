// Statements sent together in libpq's pipeline mode: results in order, the first failure
// reported with the server's message, and the connection fit for the next statement.

#include "data/connection.h"
#include "data/db_error.h"
#include "data/transaction.h"
#include "tests/support/program_fixture.h"

#include <gtest/gtest.h>

namespace {

using testing_support::DatabaseTest;
using testing_support::scalar;
using testing_support::StatementLog;

data::Statement text(const QString& sql) { return {sql, {}, {}}; }

TEST_F(DatabaseTest, APipelineAnswersEveryStatementInOrder) {
    StatementLog log(connection);
    const std::vector<data::Result> results = connection.execPipeline(
        {text(QStringLiteral("select 11")), {QStringLiteral("select :v::integer + 1"), {QStringLiteral("v")}, {41}},
         text(QStringLiteral("insert into accounts_dep.h_tabel(smena, w_id, month, year) values(1, 7, 1, 2026)")),
         text(QStringLiteral("select count(*) from accounts_dep.h_tabel where w_id=7"))});
    ASSERT_EQ(results.size(), 4u);
    EXPECT_EQ(data::integerAt(results[0], 0, 0), 11);
    EXPECT_EQ(data::integerAt(results[1], 0, 0), 42);
    EXPECT_EQ(data::integerAt(results[3], 0, 0), 1);   // sees the insert before it
    EXPECT_EQ(log.texts().size(), 4);
    EXPECT_TRUE(connection.execPipeline({}).empty());
}

TEST_F(DatabaseTest, APipelineStopsAtItsFirstFailureAndTheTransactionAppliesNothing) {
    try {
        data::Transaction transaction(connection);
        connection.execPipeline(
            {text(QStringLiteral("insert into accounts_dep.h_tabel(smena, w_id, month, year) values(1, 7, 1, 2026)")),
             text(QStringLiteral("insert into accounts_dep.h_tabel(smena, w_id, month, year, d1) values(1, 8, 1, 2026, 4000000000)")),
             text(QStringLiteral("select no_such_column from accounts_dep.h_tabel"))});
        transaction.commit();
        FAIL() << "the pipeline reported success";
    } catch (const data::DbError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("integer out of range"));
        EXPECT_EQ(error.serverText(), QStringLiteral("ERROR:  integer out of range"));
    }
    EXPECT_EQ(scalar(connection, QStringLiteral("select count(*) from accounts_dep.h_tabel")).toInt(), 0);
    EXPECT_EQ(data::integerAt(connection.execPipeline({text(QStringLiteral("select 5"))})[0], 0, 0), 5);
}

}  // namespace
