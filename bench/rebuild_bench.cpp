// The timesheet rebuild of a department-scale month: 150 workers, each in one shift a day
// (shift 1 + id mod 4, so all four occur) on all 31 days with 3 records a day, 4 650 cells and
// about 9 300 statements. Compared with the set-based delete and insert that compute the same table;
// the same statement sequence sent by bare libpq shows our own overhead apart from the server's.
// The print preparation of that month is timed too. The last line is "rebuild ratio R". A smoke
// run (--smoke) rebuilds the month of 4 workers, each way once.

#include "bench/bare_libpq.h"
#include "bench/bench_mode.h"
#include "bench/median_time.h"
#include "data/data_module.h"
#include "data/timesheet_queries.h"
#include "data/transaction.h"
#include "reportengine/prepared_report.h"
#include "reportengine/rows.h"
#include "tests/support/test_database.h"
#include "timesheet/timesheet_print_layout.h"
#include "timesheet/timesheet_rebuild.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <libpq-fe.h>
#include <string>
#include <vector>

namespace {

constexpr int month = 3;
constexpr int year = 2026;   // March: 31 days
int workers() { return bench::scaled(150, 4); }
int repetitions() { return bench::scaled(5, 1); }

using testing_support::exec;
using testing_support::scalar;

void loadDepartment(data::Connection& connection) {
    testing_support::resetDatabase(connection);
    exec(connection, QStringLiteral(
        "insert into accounts_dep.person (fio, s_staffpos_hl) "
        "select 'Рабочий ' || lpad(w::text, 3, '0') || ' А.А.', 'Цех' from generate_series(1, %1) w;"
        "insert into cmn_gds_and_srv.gds_and_srv (s_caption, s_description, id_msm_bs, massa, id_class_item) "
        "values ('Изделие', '', 6, 1, null);"
        "insert into accounts_dep.vid_oper (vid) values ('Операция');"
        "insert into accounts_dep.oper (vid, naimen, i_id, cena_new) "
        "select (select min(id) from accounts_dep.vid_oper), 0, (select min(id) from cmn_gds_and_srv.gds_and_srv), 0;"
        "insert into accounts_dep.smena (data, smena, w_id, i_id, o_id, cena, kol_vo, brak, color, time, ok, vvod, "
        "prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use) "
        "select d, 1 + p.id % 4, p.id, o.i_id, o.id, 10, 50, 1, r, 2 + r, 'no', d, 0, 0, 0, 0, 0, 0 "
        "from generate_series(date '2026-03-01', date '2026-03-31', interval '1 day') d, "
        "accounts_dep.person p, generate_series(0, 2) r, accounts_dep.oper o;"
        // The twelve months before, as a department's timesheet holds them.
        "insert into accounts_dep.h_tabel (w_id, smena, month, year, d1, d2, d3, d15, d28) "
        "select p.id, 1 + p.id % 4, extract(month from m)::int, extract(year from m)::int, 8, 8, 9, 8, 7 "
        "from accounts_dep.person p, generate_series(date '2025-03-01', date '2026-02-01', interval '1 month') m;")
        .arg(workers()));
}

// The same table set-based: the month emptied and every (shift, worker) row written with its 31
// day sums by one insert. Two statements in one transaction, the delete first: as one statement
// (a delete in a WITH beside the insert) both would see the same snapshot, and the insert's
// unique check would still find the month's old rows.
void setBasedRebuild(data::Connection& connection) {
    QString days;
    for (int d = 1; d <= 31; ++d) days += QStringLiteral(", d%1").arg(d);
    QString sums;
    for (int d = 1; d <= 31; ++d) sums += QStringLiteral(", sum(time) filter (where extract(day from data) = %1)").arg(d);
    data::Transaction transaction(connection);
    exec(connection, QStringLiteral("delete from accounts_dep.h_tabel where month=%1 and year=%2").arg(month).arg(year));
    exec(connection, QStringLiteral("insert into accounts_dep.h_tabel(smena, w_id, month, year%3) "
                                    "select smena, w_id, %1, %2%4 from accounts_dep.smena "
                                    "where data >= '01.%1.%2' and data < '01.%5.%2' group by smena, w_id")
                         .arg(month).arg(year).arg(days, sums).arg(month + 1));
    transaction.commit();
}

// A fingerprint of the month's table, to check that every way computes the same.
QString tableDigest(data::Connection& connection) {
    return scalar(connection, QStringLiteral(
        "select md5(string_agg(row(smena, w_id, d1, d2, d3, d4, d5, d6, d7, d8, d9, d10, d11, d12, d13, d14, d15, "
        "d16, d17, d18, d19, d20, d21, d22, d23, d24, d25, d26, d27, d28, d29, d30, d31)::text, ';' "
        "order by smena, w_id)) from accounts_dep.h_tabel where month=%1 and year=%2").arg(month).arg(year)).toString();
}

// The rebuild's statements sent by bare libpq: per day the day query, then its checks in one
// pipeline and its writes in another.
class BareRebuild {
public:
    BareRebuild() {
        conn_ = connectBareLibpq();
    }
    ~BareRebuild() { PQfinish(conn_); }

    void run() {
        const std::string m = std::to_string(month), y = std::to_string(year);
        command("begin");
        command("delete from accounts_dep.h_tabel where month=" + m + " and year=" + y);
        for (int day = 1; day <= 31; ++day) {
            const std::string date = QDate(year, month, day).toString(Qt::ISODate).toStdString();
            const char* values[] = {date.c_str()};
            PGresult* dt = PQexecParams(conn_, dayQuery_.c_str(), 1, nullptr, values, nullptr, nullptr, 0);
            if (PQresultStatus(dt) != PGRES_TUPLES_OK) std::fprintf(stderr, "bare libpq: %s", PQresultErrorMessage(dt));
            struct Row { std::string s, w, t; };
            std::vector<Row> rows;
            for (int r = 0; r < PQntuples(dt); ++r)
                rows.push_back({PQgetvalue(dt, r, 0), PQgetvalue(dt, r, 1), PQgetvalue(dt, r, 2)});
            PQclear(dt);
            auto where = [&](const Row& r) { return " where w_id=" + r.w + " and smena=" + r.s + " and month=" + m + " and year=" + y; };
            std::vector<std::string> counts, writes;
            for (const Row& r : rows)
                counts.push_back("select count(w_id) as cnt from accounts_dep.h_tabel h_tabel" + where(r));
            const std::vector<std::string> found = pipeline(counts);
            for (size_t i = 0; i < rows.size(); ++i) {
                const Row& r = rows[i];
                writes.push_back(found[i] != "0"
                    ? "update accounts_dep.h_tabel set d" + std::to_string(day) + "='" + r.t + "'" + where(r)
                    : "insert into accounts_dep.h_tabel(smena, w_id, month, year, d" + std::to_string(day) + ") values(" +
                          r.s + ", " + r.w + ", " + m + ", " + y + ", " + r.t + ")");
            }
            pipeline(writes);
        }
        command("commit");
    }

private:
    void command(const std::string& sql) { check(PQexec(conn_, sql.c_str())); }

    void check(PGresult* r) {
        const ExecStatusType status = PQresultStatus(r);
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
            std::fprintf(stderr, "bare libpq: %s", PQresultErrorMessage(r));
        PQclear(r);
    }

    // The first value of each statement's result, in order.
    std::vector<std::string> pipeline(const std::vector<std::string>& statements) {
        std::vector<std::string> firsts;
        if (statements.empty()) return firsts;
        PQenterPipelineMode(conn_);
        for (const std::string& s : statements) PQsendQueryParams(conn_, s.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0);
        PQpipelineSync(conn_);
        for (;;) {
            PGresult* r = PQgetResult(conn_);
            if (!r) continue;
            const ExecStatusType status = PQresultStatus(r);
            if (status == PGRES_PIPELINE_SYNC) { PQclear(r); break; }
            if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
                std::fprintf(stderr, "bare libpq: %s", PQresultErrorMessage(r));
            firsts.push_back(PQntuples(r) > 0 ? PQgetvalue(r, 0, 0) : "");
            PQclear(r);
        }
        PQexitPipelineMode(conn_);
        return firsts;
    }

    PGconn* conn_;
    const std::string dayQuery_ = data::timesheetDayQuery().replace(QStringLiteral(":data"), QStringLiteral("$1")).toStdString();
};

}  // namespace

int main(int argc, char** argv) {
    bench::readSmokeSwitch(argc, argv);
    QApplication application(argc, argv);   // the report engine's fonts
    TDataModule6 dm(testing_support::testSettings());
    dm.ADO_DB.open();
    loadDepartment(dm.ADO_DB);
    data::Dataset dt(dm.ADO_DB, data::timesheetDayQuery());
    int statements = 0;
    dm.ADO_DB.setListener([&](const data::Statement&) { ++statements; });
    timesheet::rebuildMonth(dm, dt, month, QString::number(year));
    dm.ADO_DB.setListener({});
    exec(dm.ADO_DB, QStringLiteral("vacuum analyze accounts_dep.smena, accounts_dep.h_tabel"));
    const QString ours = tableDigest(dm.ADO_DB);

    const double rebuild = medianMs([&] { timesheet::rebuildMonth(dm, dt, month, QString::number(year)); }, repetitions());
    const double setBased = medianMs([&] { setBasedRebuild(dm.ADO_DB); }, repetitions());
    const bool sameTable = tableDigest(dm.ADO_DB) == ours;
    BareRebuild bare;
    const double bareMs = medianMs([&] { bare.run(); }, repetitions());
    const bool bareSame = tableDigest(dm.ADO_DB) == ours;

    data::Dataset print(dm.ADO_DB, data::timesheetPrintQuery());
    print.setParam(QStringLiteral("mnth"), month);
    print.setParam(QStringLiteral("yea"), year);
    const reportengine::Layout layout = timesheet::printLayout();
    size_t pages = 0;
    const double printMs = medianMs([&] {
        print.reopen();
        pages = reportengine::prepare(layout, reportengine::DatasetRows(print)).pages.size();
        print.close();
    }, repetitions());

    // Each worker works one shift all month: one row each, or the rebuild has lost or split some.
    const int rows = scalar(dm.ADO_DB, QStringLiteral("select count(*) from accounts_dep.h_tabel where month=%1 and year=%2")
                                           .arg(month).arg(year)).toInt();
    const bool rowPerWorker = rows == workers();
    std::printf("month: %d rows of h_tabel for %d workers%s, %d statements per rebuild\n", rows, workers(),
                rowPerWorker ? "" : "  NOT ONE ROW PER WORKER", statements);
    std::printf("rebuild (ours, one transaction, pipelined per day) %10.1f ms\n", rebuild);
    std::printf("set-based delete and insert (the floor)            %10.1f ms%s\n", setBased, sameTable ? "" : "  DIFFERENT TABLE");
    std::printf("same statements by bare libpq, pipelined per day   %10.1f ms%s\n", bareMs, bareSame ? "" : "  DIFFERENT TABLE");
    std::printf("print preparation (%zu pages)                      %10.1f ms%s\n", pages, printMs, pages > 0 ? "" : "  NO PAGE");
    std::printf("rebuild ratio %.1f\n", rebuild / setBased);
    return sameTable && bareSame && rowPerWorker && pages > 0 ? 0 : 1;
}
