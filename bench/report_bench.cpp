// The four period reports of a 150-worker department with a year of shift records (about 110 000):
// for each report, the time from the button to its first page painted (the rows read, every page
// prepared, page 1 rendered into an image) against its statement run by bare libpq with every
// value read, in the same run. Over the preset period (the previous month) and over the whole
// year. The last line is "report ratio R": the slowest of the four over the preset period. A smoke
// run (--smoke) does the same for 3 workers, each report once.

#include "app/windows.h"
#include "bench/bare_libpq.h"
#include "bench/bench_mode.h"
#include "bench/median_time.h"
#include "data/data_module.h"
#include "data/named_params.h"
#include "reportengine/painter.h"
#include "reportengine/prepared_report.h"
#include "reports/detailed_products_report_layout.h"
#include "reports/detailed_workers_report_layout.h"
#include "reports/period_report_form.h"
#include "reports/products_report_layout.h"
#include "reports/report_queries.h"
#include "reports/workers_report_layout.h"
#include "tests/support/test_database.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <libpq-fe.h>
#include <string>
#include <vector>

namespace {

int workers() { return bench::scaled(150, 3); }
int repetitions() { return bench::scaled(5, 1); }

void loadDepartment(data::Connection& connection) {
    testing_support::resetDatabase(connection);
    testing_support::exec(connection, QStringLiteral(
        "insert into accounts_dep.person (fio, s_staffpos_hl) "
        "select 'Рабочий ' || lpad(w::text, 3, '0') || ' А.А.', 'Цех' from generate_series(1, %1) w;"
        "insert into cmn_classifier.item (id, id_level, s_caption) "
        "select 1000 + g, 2, 'Группа ' || g from generate_series(1, 4) g;"
        "insert into cmn_gds_and_srv.gds_and_srv (s_caption, s_description, id_msm_bs, massa, id_class_item) "
        "select 'Изделие ' || lpad(i::text, 2, '0'), '', 6, 0.5 + i * 0.25, 1001 + i % 4 from generate_series(1, 20) i;"
        "insert into accounts_dep.vid_oper (vid) select 'Операция ' || k from generate_series(1, 5) k;"
        "insert into accounts_dep.oper (vid, naimen, i_id, cena_new) "
        "select v.id, g.id % 2, g.id, 0 from accounts_dep.vid_oper v, cmn_gds_and_srv.gds_and_srv g;"
        "create temp table ops as select id, i_id, (row_number() over (order by id) - 1)::int as rn from accounts_dep.oper;"
        "insert into accounts_dep.smena (data, smena, w_id, i_id, o_id, cena, kol_vo, brak, color, time, ok, vvod, "
        "prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use) "
        "select d, 1 + p.id % 4, p.id, o.i_id, o.id, 1.25 + (o.rn % 7) * 0.5, 40 + r, r, (p.id + r) % 3, 4, 'no', d, "
        "0, 0, 0, 0, 0, 0 "
        "from generate_series(date '2026-01-01', date '2026-12-31', interval '1 day') d, accounts_dep.person p, "
        "generate_series(0, 1) r, ops o where o.rn = (p.id * 7 + r * 13 + extract(doy from d)::int) % 100;"
        "drop table ops").arg(workers()));
    testing_support::exec(connection, QStringLiteral("vacuum analyze"));
}

// The report's statement sent by bare libpq with its period, every value of every row read.
class BareReport {
public:
    BareReport() {
        conn_ = connectBareLibpq();
    }
    ~BareReport() { PQfinish(conn_); }

    // The number of rows, every value read; -1 when the statement failed.
    int run(const QString& sql, const QDate& from, const QDate& to) {
        const data::PositionalSql positional = data::toPositional(sql);
        std::vector<std::string> values;
        for (const QString& name : positional.names)
            values.push_back((name.compare(QStringLiteral("data1"), Qt::CaseInsensitive) == 0 ? from : to)
                                 .toString(Qt::ISODate).toStdString());
        std::vector<const char*> pointers;
        for (const std::string& value : values) pointers.push_back(value.c_str());
        const QByteArray text = positional.text.toUtf8();
        PGresult* result = PQexecParams(conn_, text.constData(), int(pointers.size()), nullptr, pointers.data(),
                                        nullptr, nullptr, 0);
        if (PQresultStatus(result) != PGRES_TUPLES_OK) {
            std::fprintf(stderr, "bare libpq: %s", PQresultErrorMessage(result));
            PQclear(result);
            return -1;
        }
        size_t bytes = 0;
        for (int row = 0; row < PQntuples(result); ++row)
            for (int column = 0; column < PQnfields(result); ++column) bytes += std::strlen(PQgetvalue(result, row, column));
        bytesRead_ += bytes;
        const int rows = PQntuples(result);
        PQclear(result);
        return rows;
    }

private:
    PGconn* conn_;
    size_t bytesRead_ = 0;   // keeps the reading of every value from being optimised away
};

// The button's work up to the first page on screen: every page prepared, page 1 painted.
size_t firstPageShown(PeriodReportForm& report, const reports::ReportRequest& request) {
    const reportengine::PreparedReport prepared = report.preparePeriod(request);
    QImage image(794, 1123, QImage::Format_RGB32);   // an A4 sheet at 96 dpi
    image.fill(Qt::white);
    QPainter painter(&image);
    reportengine::paintPage(prepared, 0, painter, QRectF(0, 0, image.width(), image.height()));
    return prepared.pages.size();
}

long peakMemoryKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    bench::readSmokeSwitch(argc, argv);
    QApplication application(argc, argv);   // the report engine's fonts
    TDataModule6 dm(testing_support::testSettings());
    dm.ADO_DB.open();
    loadDepartment(dm.ADO_DB);
    Windows windows(dm);
    const Roster& roster = windows.roster;
    const struct { const char* name; PeriodReportForm* form; QString sql; } reportsToRun[] = {
        {"by workers", roster.Form16, reports::workersReportQuery()},
        {"by products", roster.Form17, reports::productsReportQuery()},
        {"detailed by workers", roster.Form20, reports::detailedWorkersReportQuery()},
        {"detailed by products", roster.Form21, reports::detailedProductsReportQuery()},
    };
    const struct { const char* name; QDate from; QDate to; } periods[] = {
        {"previous month", QDate(2026, 11, 1), QDate(2026, 12, 1)},
        {"whole year", QDate(2026, 1, 1), QDate(2027, 1, 1)},
    };
    BareReport bare;
    double slowestPreset = 0;
    bool allShown = true;
    for (const auto& period : periods) {
        std::printf("%s (%s to %s, end excluded)\n", period.name, qPrintable(period.from.toString(Qt::ISODate)),
                    qPrintable(period.to.toString(Qt::ISODate)));
        for (const auto& report : reportsToRun) {
            reports::ReportRequest request;
            request.from = period.from;
            request.to = period.to;
            request.title = QStringLiteral("   Отчет");
            size_t pages = 0;
            int rows = 0;
            const double ours = medianMs([&] { pages = firstPageShown(*report.form, request); }, repetitions());
            const double floor = medianMs([&] { rows = bare.run(report.sql, period.from, period.to); }, repetitions());
            const double ratio = ours / floor;
            // Every period holds records: a report without pages, or a statement without rows, has failed.
            const bool shown = pages > 0 && rows > 0;
            std::printf("  %-22s %4zu pages %6d rows  first page shown %8.1f ms  bare libpq %8.1f ms  ratio %.2f%s\n",
                        report.name, pages, rows, ours, floor, ratio, shown ? "" : "  NOTHING SHOWN");
            allShown = allShown && shown;
            if (&period == &periods[0]) slowestPreset = std::max(slowestPreset, ratio);
        }
    }
    std::printf("peak memory %ld kB\n", peakMemoryKb());
    std::printf("report ratio %.2f\n", slowestPreset);
    return allShown ? 0 : 1;
}
