// The journal's hot paths at department scale, inside an enterprise-sized person register: what
// every activation, refresh and acceptance toggle costs, and the client-side search over a long
// worker list. The four shift lists are also read by bare libpq, the floor they are compared
// with; the last line printed is "journal ratio R", ours over the floor.

#include "bench/bare_libpq.h"
#include "bench/ratio_reporter.h"
#include "data/data_module.h"
#include "data/named_params.h"
#include "data/shift_queries.h"
#include "data/sql_text.h"
#include "tests/support/test_database.h"
#include "ui/prefix_search.h"

#include <QFile>
#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include <cstdio>
#include <iostream>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The day the shift lists show: the last working day before today, which has records.
QDate benchDay() {
    const QDate today = QDate::currentDate();
    return today.addDays(-1 - (today.dayOfWeek() > 5 ? 2 : 0));
}

TDataModule6& department() {
    static TDataModule6* dm = [] {
        auto* module = new TDataModule6(testing_support::testSettings());
        module->ADO_DB.open();
        testing_support::resetDatabase(module->ADO_DB);
        for (const char* name : {"department.sql", "contractors.sql"}) {
            QFile script(QStringLiteral(TABEL_BENCH_DIR "/") + QLatin1String(name));
            script.open(QIODevice::ReadOnly);
            testing_support::exec(module->ADO_DB, QString::fromUtf8(script.readAll()));
        }
        for (int shift = 1; shift <= 4; ++shift) module->smena(shift).setParam(QStringLiteral("ok"), QStringLiteral("ta"));
        return module;
    }();
    return *dm;
}

// The four shift lists of one day, as every activation of the journal reads them.
void OpenFourShifts(benchmark::State& state) {
    TDataModule6& dm = department();
    int rows = 0;
    for (auto _ : state) {
        rows = 0;
        for (int shift = 1; shift <= 4; ++shift) {
            data::Dataset& dataset = dm.smena(shift);
            dataset.close();
            dataset.setParam(QStringLiteral("data"), benchDay());
            dataset.open();
            rows += dataset.recordCount();
        }
    }
    state.counters["rows"] = rows;
}
BENCHMARK(OpenFourShifts)->Unit(benchmark::kMillisecond);

// The floor of OpenFourShifts: the same four statements, sent by bare libpq with the same values
// as positional parameters, every value of every row read.
void OpenFourShiftsBareLibpq(benchmark::State& state) {
    department();
    PGconn* conn = connectBareLibpq();
    if (PQstatus(conn) != CONNECTION_OK) {
        state.SkipWithError(PQerrorMessage(conn));
        PQfinish(conn);
        return;
    }
    const std::string day = benchDay().toString(Qt::ISODate).toStdString();
    const std::string ok = "ta";
    struct Statement {
        std::string text;
        std::vector<const char*> values;
    };
    std::vector<Statement> statements;
    for (int shift = 1; shift <= 4; ++shift) {
        const data::PositionalSql sql = data::toPositional(data::shiftQuery(shift));
        Statement statement{sql.text.toStdString(), {}};
        for (const QString& name : sql.names)
            statement.values.push_back(name.compare(QStringLiteral("data"), Qt::CaseInsensitive) == 0
                                           ? day.c_str() : ok.c_str());
        statements.push_back(std::move(statement));
    }
    int rows = 0;
    for (auto _ : state) {
        rows = 0;
        for (const Statement& statement : statements) {
            PGresult* result = PQexecParams(conn, statement.text.c_str(), int(statement.values.size()), nullptr,
                                            statement.values.data(), nullptr, nullptr, 0);
            if (PQresultStatus(result) != PGRES_TUPLES_OK) {
                state.SkipWithError(PQresultErrorMessage(result));
                PQclear(result);
                break;
            }
            const int n = PQntuples(result), columns = PQnfields(result);
            for (int row = 0; row < n; ++row)
                for (int column = 0; column < columns; ++column) {
                    const char* value = PQgetvalue(result, row, column);
                    benchmark::DoNotOptimize(value);
                }
            rows += n;
            PQclear(result);
        }
    }
    state.counters["rows"] = rows;
    PQfinish(conn);
}
BENCHMARK(OpenFourShiftsBareLibpq)->Unit(benchmark::kMillisecond);

// One acceptance toggle: the update and the re-read of the shift list.
void ToggleAcceptance(benchmark::State& state) {
    TDataModule6& dm = department();
    data::Dataset& shift1 = dm.Smena1;
    shift1.close();
    shift1.setParam(QStringLiteral("data"), benchDay());
    shift1.open();
    data::Command updtOK(dm.ADO_DB, QStringLiteral("update accounts_dep.smena set ok=:ok where id=:id"));
    for (auto _ : state) {
        updtOK.setParam(QStringLiteral("id"), shift1.field(QStringLiteral("id")).asInteger());
        updtOK.setParam(QStringLiteral("ok"), QStringLiteral("ok"));
        updtOK.execute();
        shift1.reopen();
    }
}
BENCHMARK(ToggleAcceptance)->Unit(benchmark::kMillisecond);

// Typing into a list's search box: each keystroke filters the rows already read.
void SearchTwoThousandWorkers(benchmark::State& state) {
    TDataModule6& dm = department();
    data::Dataset list(dm.ADO_DB, QStringLiteral(
        "select g as id, 'Рабочий ' || lpad(g::text, 4, '0') as fio from generate_series(1, 2000) g"));
    list.open();
    for (auto _ : state) {
        for (const char* typed : {"Р", "Раб", "Рабочий 01", "Рабочий 019"}) {
            list.setFilter(ui::PrefixSearch::filterFor(QStringLiteral("fio"), QString::fromUtf8(typed)));
            list.setFiltered(true);
        }
        list.setFiltered(false);
    }
}
BENCHMARK(SearchTwoThousandWorkers)->Unit(benchmark::kMicrosecond);


}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const double ours = reporter.perIteration("OpenFourShifts");
    const double floor = reporter.perIteration("OpenFourShiftsBareLibpq");
    std::cout.flush();
    if (ours <= 0 || floor <= 0) {
        std::cerr << "journal: no ratio, it needs both OpenFourShifts and OpenFourShiftsBareLibpq\n";
        return 0;
    }
    std::printf("journal ratio %.2f\n", ours / floor);
    return 0;
}
