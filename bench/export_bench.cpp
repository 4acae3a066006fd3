// The spreadsheet exports at department scale: the price list of 5,000 priced operations through the
// price list window's "Excel" (its query, the basic writer, the .xlsx on disk), and a 500 × 33
// workbook through the formatting writer with auto-fit and bold on every cell, as the timesheet
// export calls it. Each is compared with its floor in the same run: the same cells written by
// libxlsxwriter straight to a file, after the price list's statement sent by bare libpq (the
// server's sort of 5,000 rows by Russian rules is a good part of that export). The figures are
// milliseconds per 1,000 cells; the last line printed is "export ratio R", ours over the floor for
// the two workloads together. A smoke run (--smoke) writes the price list of 20 operations and a
// 5 × 33 workbook, each way once.

#include "app/windows.h"
#include "bench/bare_libpq.h"
#include "bench/bench_mode.h"
#include "bench/ratio_reporter.h"
#include "data/data_module.h"
#include "refbooks/price_list.h"
#include "spreadsheet/program.h"
#include "spreadsheet/writers.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/test_database.h"
#include "tests/support/test_desktop.h"
#include "ui/roster.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLocale>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <xlsxwriter.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

constexpr int operationKinds = 5;
int products() { return bench::scaled(1000, 4); }
int priceListOperations() { return products() * operationKinds; }
int sheetRows() { return bench::scaled(500, 5); }
constexpr int sheetColumns = 33;   // the name, 31 days and the total

// The program on a department of 1,000 products with 5 priced operations each.
struct Program {
    Program() : dm(testing_support::testSettings()) {
        dm.ADO_DB.open();
        testing_support::resetDatabase(dm.ADO_DB);
        testing_support::exec(dm.ADO_DB, QStringLiteral(
            "insert into accounts_dep.vid_oper (vid) select 'Операция ' || k from generate_series(1, %1) k;"
            "insert into cmn_gds_and_srv.gds_and_srv (s_caption, s_description, id_msm_bs, massa) "
            "  select 'Изделие ШК-' || lpad(p::text, 4, '0'), '', 6, 1 from generate_series(1, %2) p;"
            "insert into accounts_dep.oper (vid, naimen, i_id, cena_new) "
            "  select v.id, (g.id % 2)::smallint, g.id, round((random() * 1000)::numeric, 4) "
            "  from cmn_gds_and_srv.gds_and_srv g cross join accounts_dep.vid_oper v").arg(operationKinds).arg(products()));
        windows = std::make_unique<Windows>(dm);
    }

    testing_support::ScriptedUi ui;
    TDataModule6 dm;
    std::unique_ptr<Windows> windows;
};

Program& program() {
    static Program* instance = new Program;
    return *instance;
}

void removeWorkbooks(const QString& folder) {
    QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("*.xlsx")}, QDir::Files)) dir.remove(name);
}

void ExportPriceList(benchmark::State& state) {
    Program& p = program();
    testing_support::TestDesktop desktop;
    for (auto _ : state) {
        p.windows->roster.Form4->Button5Click();
        state.PauseTiming();
        if (desktop.opened.size() != 1) state.SkipWithError("no workbook was written");
        desktop.opened.clear();
        removeWorkbooks(desktop.folder());
        state.ResumeTiming();
    }
    state.counters["cells"] = 4.0 * (priceListOperations() + 1);
}

// The floor of the price list: the same statement sent by bare libpq, and the same cells, strings
// and numbers, written by libxlsxwriter straight to a file.
void ExportPriceListFloor(benchmark::State& state) {
    program();
    PGconn* conn = connectBareLibpq();
    if (PQstatus(conn) != CONNECTION_OK) {
        state.SkipWithError(PQerrorMessage(conn));
        PQfinish(conn);
        return;
    }
    const QByteArray sql = program().windows->roster.Form4->XLS_Rep.sql().toUtf8();
    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("floor.xlsx")).toStdString();
    int rows = 0;
    for (auto _ : state) {
        PGresult* result = PQexec(conn, sql.constData());
        if (PQresultStatus(result) != PGRES_TUPLES_OK) {
            state.SkipWithError(PQresultErrorMessage(result));
            PQclear(result);
            break;
        }
        const int marka = PQfnumber(result, "marka"), vid = PQfnumber(result, "vid"),
                  cena = PQfnumber(result, "cena"), naimen = PQfnumber(result, "naimen");
        lxw_workbook* book = workbook_new(path.c_str());
        lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
        const char* header[] = {"Марка", "Операция", "Цена", "Вид"};
        for (int c = 0; c < 4; ++c) worksheet_write_string(sheet, 0, lxw_col_t(c), header[c], nullptr);
        rows = PQntuples(result);
        for (int r = 0; r < rows; ++r) {
            const lxw_row_t row = lxw_row_t(r + 1);
            worksheet_write_string(sheet, row, 0, PQgetvalue(result, r, marka), nullptr);
            worksheet_write_string(sheet, row, 1, PQgetvalue(result, r, vid), nullptr);
            worksheet_write_number(sheet, row, 2, std::strtod(PQgetvalue(result, r, cena), nullptr), nullptr);
            worksheet_write_string(sheet, row, 3,
                                   std::strcmp(PQgetvalue(result, r, naimen), "0") == 0 ? "Готовая продукция" : "Заготовки",
                                   nullptr);
        }
        PQclear(result);
        if (workbook_close(book) != LXW_NO_ERROR) state.SkipWithError("libxlsxwriter failed");
    }
    state.counters["cells"] = 4.0 * (rows + 1);
    state.counters["rows"] = rows;
    PQfinish(conn);
}

// The timesheet's sheet: a name, 31 days of hours and the total in each of 500 rows.
QString sheetText(int row, int column) {
    if (column == 1) return QStringLiteral("Работник %1 И.О.").arg(row, 4, 10, QLatin1Char('0'));
    return QString::number((row * 7 + column) % 12);
}

void ExportFormattedSheet(benchmark::State& state) {
    program();
    testing_support::TestDesktop desktop;
    spreadsheet::FormattingWriter& writer = spreadsheet::formattingWriter();
    std::vector<spreadsheet::CellValue> values;   // the name as text, the hours as numbers
    for (int row = 1; row <= sheetRows(); ++row)
        for (int column = 1; column <= sheetColumns; ++column)
            values.push_back(column == 1 ? spreadsheet::CellValue(sheetText(row, column))
                                         : spreadsheet::CellValue::number(sheetText(row, column).toLongLong()));
    for (auto _ : state) {
        if (writer.OpenWorkbook(QString()) != 1) state.SkipWithError("no workbook");
        writer.SetExcelVisible(false);
        std::size_t i = 0;
        for (int row = 1; row <= sheetRows(); ++row)
            for (int column = 1; column <= sheetColumns; ++column)
                writer.WriteCell(1, column, row, values[i++], column == 1, true, true);
        writer.SetExcelVisible(true);
        state.PauseTiming();
        if (desktop.opened.size() != 1) state.SkipWithError("no workbook was written");
        desktop.opened.clear();
        removeWorkbooks(desktop.folder());
        state.ResumeTiming();
    }
    state.counters["cells"] = double(sheetRows() * sheetColumns);
}

void ExportFormattedSheetFloor(benchmark::State& state) {
    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("floor.xlsx")).toStdString();
    std::vector<std::string> texts;
    for (int row = 1; row <= sheetRows(); ++row)
        for (int column = 1; column <= sheetColumns; ++column) texts.push_back(sheetText(row, column).toStdString());
    for (auto _ : state) {
        lxw_workbook* book = workbook_new(path.c_str());
        lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
        lxw_format* boldText = workbook_add_format(book);
        format_set_bold(boldText);
        format_set_num_format(boldText, "@");
        lxw_format* bold = workbook_add_format(book);
        format_set_bold(bold);
        std::size_t i = 0;
        std::vector<double> widths(sheetColumns, 0);
        for (int row = 0; row < sheetRows(); ++row)
            for (int column = 0; column < sheetColumns; ++column) {
                const std::string& text = texts[i++];
                widths[column] = std::max(widths[column], double(text.size()));
                if (column == 0) worksheet_write_string(sheet, lxw_row_t(row), 0, text.c_str(), boldText);
                else worksheet_write_number(sheet, lxw_row_t(row), lxw_col_t(column), std::strtod(text.c_str(), nullptr), bold);
            }
        for (int column = 0; column < sheetColumns; ++column)
            worksheet_set_column(sheet, lxw_col_t(column), lxw_col_t(column), widths[column], nullptr);
        if (workbook_close(book) != LXW_NO_ERROR) state.SkipWithError("libxlsxwriter failed");
    }
    state.counters["cells"] = double(sheetRows() * sheetColumns);
}

// Full scale: each benchmark for at least two seconds. Smoke: one iteration each.
void registerBenchmarks() {
    const struct { const char* name; void (*run)(benchmark::State&); } all[] = {
        {"ExportPriceList", ExportPriceList},
        {"ExportPriceListFloor", ExportPriceListFloor},
        {"ExportFormattedSheet", ExportFormattedSheet},
        {"ExportFormattedSheetFloor", ExportFormattedSheetFloor},
    };
    for (const auto& b : all) {
        benchmark::internal::Benchmark* registered = benchmark::RegisterBenchmark(b.name, b.run)->Unit(benchmark::kMillisecond);
        if (bench::smoke()) registered->Iterations(1);
        else registered->MinTime(2.0);
    }
}

}  // namespace

int main(int argc, char** argv) {
    bench::readSmokeSwitch(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Russian));
    registerBenchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::cout.flush();
    if (reporter.anyFailed()) return 1;
    // The floor's statement read every priced operation of the department.
    const double floorRows = reporter.counter("ExportPriceListFloor", "rows");
    if (floorRows >= 0 && floorRows != priceListOperations()) {
        std::fprintf(stderr, "export: the price list's statement read %g of %d operations\n", floorRows,
                     priceListOperations());
        return 1;
    }

    struct Workload {
        std::string name;
        const char* ours;
        const char* floor;
        double cells;
    };
    const Workload workloads[] = {
        {"price list, " + std::to_string(priceListOperations()) + " operations", "ExportPriceList", "ExportPriceListFloor",
         4.0 * (priceListOperations() + 1)},
        {std::to_string(sheetRows()) + " x " + std::to_string(sheetColumns) + " formatted cells", "ExportFormattedSheet",
         "ExportFormattedSheetFloor", double(sheetRows() * sheetColumns)},
    };
    double oursTotal = 0, floorTotal = 0;
    for (const Workload& w : workloads) {
        const double ours = reporter.perIteration(w.ours);
        const double floor = reporter.perIteration(w.floor);
        if (ours <= 0 || floor <= 0) continue;
        std::printf("%-28s ours %7.2f ms per 1000 cells, floor %7.2f, ratio %.2f; the workbook in %.0f ms\n", w.name.c_str(),
                    1000.0 * ours / (w.cells / 1000.0), 1000.0 * floor / (w.cells / 1000.0), ours / floor,
                    1000.0 * ours);
        oursTotal += ours;
        floorTotal += floor;
    }
    if (oursTotal <= 0 || floorTotal <= 0) {
        std::cerr << "export: no ratio, it needs each export and its floor\n";
        return bench::smoke() ? 1 : 0;
    }
    std::printf("export ratio %.2f\n", oursTotal / floorTotal);
    return 0;
}
