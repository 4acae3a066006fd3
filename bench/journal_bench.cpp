// The journal's hot paths at department scale, inside an enterprise-sized person register: what
// every activation, refresh and acceptance toggle costs, and the client-side search over a long
// worker list. The four shift lists are also read by bare libpq, the floor they are compared
// with; the last line printed is "journal ratio R", ours over the floor. Both must read the same
// rows. A smoke run (--smoke) takes 4 workers over two weeks beside 50 contractors, each
// benchmark one iteration.

#include "bench/bare_libpq.h"
#include "bench/bench_mode.h"
#include "bench/ratio_reporter.h"
#include "data/data_module.h"
#include "data/named_params.h"
#include "data/shift_queries.h"
#include "data/sql_text.h"
#include "tests/support/test_database.h"
#include "ui/prefix_search.h"

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
    QDate day = QDate::currentDate().addDays(-1);
    while (day.dayOfWeek() > 5) day = day.addDays(-1);
    return day;
}

TDataModule6& department() {
    static TDataModule6* dm = [] {
        auto* module = new TDataModule6(testing_support::testSettings());
        module->ADO_DB.open();
        testing_support::resetDatabase(module->ADO_DB);
        bench::runScript(module->ADO_DB, "department.sql",
                         {{QStringLiteral("workers"), bench::scaled(60, 4)}, {QStringLiteral("days"), bench::scaled(730, 14)}});
        bench::runScript(module->ADO_DB, "contractors.sql", {{QStringLiteral("contractors"), bench::scaled(50000, 50)}});
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


// Full scale: each benchmark as long as the library decides. Smoke: one iteration each.
void registerBenchmarks() {
    const struct { const char* name; void (*run)(benchmark::State&); benchmark::TimeUnit unit; } all[] = {
        {"OpenFourShifts", OpenFourShifts, benchmark::kMillisecond},
        {"OpenFourShiftsBareLibpq", OpenFourShiftsBareLibpq, benchmark::kMillisecond},
        {"ToggleAcceptance", ToggleAcceptance, benchmark::kMillisecond},
        {"SearchTwoThousandWorkers", SearchTwoThousandWorkers, benchmark::kMicrosecond},
    };
    for (const auto& b : all) {
        benchmark::internal::Benchmark* registered = benchmark::RegisterBenchmark(b.name, b.run)->Unit(b.unit);
        if (bench::smoke()) registered->Iterations(1);
    }
}

}  // namespace

int main(int argc, char** argv) {
    bench::readSmokeSwitch(argc, argv);
    registerBenchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const double ours = reporter.perIteration("OpenFourShifts");
    const double floor = reporter.perIteration("OpenFourShiftsBareLibpq");
    std::cout.flush();
    if (reporter.anyFailed()) return 1;
    if (ours <= 0 || floor <= 0) {
        std::cerr << "journal: no ratio, it needs both OpenFourShifts and OpenFourShiftsBareLibpq\n";
        return bench::smoke() ? 1 : 0;
    }
    // The day has records, and the program reads every one the bare statements read.
    const double rows = reporter.counter("OpenFourShifts", "rows");
    if (rows <= 0 || rows != reporter.counter("OpenFourShiftsBareLibpq", "rows")) {
        std::fprintf(stderr, "journal: the shift lists read %g rows, the bare statements %g\n", rows,
                     reporter.counter("OpenFourShiftsBareLibpq", "rows"));
        return 1;
    }
    std::printf("journal ratio %.2f\n", ours / floor);
    return 0;
}
