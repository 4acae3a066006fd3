// The journal's hot paths at department scale: what every activation, refresh and acceptance
// toggle costs, and the client-side search over a long worker list.

#include "data/data_module.h"
#include "data/sql_text.h"
#include "tests/support/test_database.h"
#include "ui/prefix_search.h"

#include <QFile>
#include <benchmark/benchmark.h>

namespace {

TDataModule6& department() {
    static TDataModule6* dm = [] {
        auto* module = new TDataModule6(testing_support::testSettings());
        module->ADO_DB.open();
        testing_support::resetDatabase(module->ADO_DB);
        QFile script(QStringLiteral(TABEL_BENCH_DIR "/department.sql"));
        script.open(QIODevice::ReadOnly);
        testing_support::exec(module->ADO_DB, QString::fromUtf8(script.readAll()));
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
            dataset.setParam(QStringLiteral("data"), QDate::currentDate().addDays(-1 - (QDate::currentDate().dayOfWeek() > 5 ? 2 : 0)));
            dataset.open();
            rows += dataset.recordCount();
        }
    }
    state.counters["rows"] = rows;
}
BENCHMARK(OpenFourShifts)->Unit(benchmark::kMillisecond);

// One acceptance toggle: the update and the re-read of the shift list.
void ToggleAcceptance(benchmark::State& state) {
    TDataModule6& dm = department();
    data::Dataset& shift1 = dm.Smena1;
    shift1.close();
    shift1.setParam(QStringLiteral("data"), QDate::currentDate().addDays(-1 - (QDate::currentDate().dayOfWeek() > 5 ? 2 : 0)));
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

BENCHMARK_MAIN();
