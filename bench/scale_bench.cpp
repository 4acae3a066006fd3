// Every statement that joins the person register, at enterprise scale: a department of 150 workers
// with two years of shift records and their timesheet, first with the register holding the
// department's workers alone, then beside 50 000 other contractors. Each statement is the
// program's own text with its values sent as the program sends them (text, types left to the
// server); each is timed in both states and the two medians compared. The register is filled and
// emptied several times, so a slow spell of the machine does not land on one state only. The last
// line is "scale ratio R": the worst statement's time beside the contractors over its time
// without them. Every statement must read the same rows beside the contractors as without them.
// A smoke run (--smoke) does it for 4 workers beside 50 contractors, each statement once.

#include "bench/bare_libpq.h"
#include "bench/bench_mode.h"
#include "data/data_module.h"
#include "data/named_params.h"
#include "data/shift_queries.h"
#include "data/timesheet_queries.h"
#include "reports/report_queries.h"
#include "tests/support/test_database.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <libpq-fe.h>
#include <map>
#include <string>
#include <vector>

namespace {

// The register is filled and emptied this many times; in each state every statement runs at
// least `minRuns` times and for at least `minMs`, so the fast ones (a millisecond or less, where
// a busy machine's scheduling is most of the time) get enough runs for a steady median.
int rounds() { return bench::scaled(3, 1); }
int minRuns() { return bench::scaled(5, 1); }
double minMs() { return bench::scaled(400, 0); }
int workers() { return bench::scaled(150, 4); }
int contractors() { return bench::scaled(50000, 50); }

using testing_support::exec;

// The values the windows bind: the journal's day (a Monday) and acceptance mark, the timesheet's
// month, the reports' preset period (that month, its end excluded).
const std::map<QString, std::string> values = {
    {QStringLiteral("data"), "2026-11-16"}, {QStringLiteral("ok"), "ta"},
    {QStringLiteral("mnth"), "11"},         {QStringLiteral("yea"), "2026"},
    {QStringLiteral("date1"), "2026-11-01"}, {QStringLiteral("date2"), "2026-12-01"},
    {QStringLiteral("data1"), "2026-11-01"}, {QStringLiteral("data2"), "2026-12-01"},
};

struct Statement {
    const char* name;
    QString sql;
    std::vector<double> alone, beside;   // every run's time, ms
    int rows = -1;                       // the rows read alone
    QByteArray digest;                   // of the rows read alone
    bool sameRowsBeside = true;
};

std::vector<Statement> statements() {
    return {
        {"journal shift 1", data::shiftQuery(1)},
        {"journal shift 2", data::shiftQuery(2)},
        {"journal shift 3", data::shiftQuery(3)},
        {"journal overtime", data::shiftQuery(4)},
        {"timesheet shift 1", data::timesheetGridQuery(1)},
        {"timesheet shift 2", data::timesheetGridQuery(2)},
        {"timesheet shift 3", data::timesheetGridQuery(3)},
        {"timesheet print", data::timesheetPrintQuery()},
        {"report by workers", reports::workersReportQuery()},
        {"report by products", reports::productsReportQuery()},
        {"detailed by workers", reports::detailedWorkersReportQuery()},
        {"detailed by products", reports::detailedProductsReportQuery()},
    };
}

// One statement sent by bare libpq, every value of every row read; the number of rows. With
// `digest`, the rows go into it in sorted order: a statement that orders by the worker alone may
// return one worker's rows in another order under another plan.
int run(PGconn* conn, const QString& sql, QCryptographicHash* digest = nullptr) {
    const data::PositionalSql positional = data::toPositional(sql);
    std::vector<const char*> pointers;
    for (const QString& name : positional.names) pointers.push_back(values.at(name.toLower()).c_str());
    const QByteArray text = positional.text.toUtf8();
    PGresult* result = PQexecParams(conn, text.constData(), int(pointers.size()), nullptr, pointers.data(),
                                    nullptr, nullptr, 0);
    if (PQresultStatus(result) != PGRES_TUPLES_OK) {
        std::fprintf(stderr, "scale: %s", PQresultErrorMessage(result));
        std::exit(1);
    }
    const int rows = PQntuples(result);
    std::vector<QByteArray> rowTexts;
    for (int row = 0; row < rows; ++row) {
        QByteArray rowText;
        for (int column = 0; column < PQnfields(result); ++column) {
            volatile const char* value = PQgetvalue(result, row, column);
            (void)value;
            // Each value with its ending zero, so that no two run together; a null apart from ''.
            if (digest) {
                rowText += PQgetisnull(result, row, column) ? '\1' : '\0';
                rowText += QByteArrayView(PQgetvalue(result, row, column), PQgetlength(result, row, column) + 1);
            }
        }
        if (digest) rowTexts.push_back(rowText);
    }
    PQclear(result);
    std::sort(rowTexts.begin(), rowTexts.end());
    if (digest)
        for (const QByteArray& rowText : rowTexts) digest->addData(rowText);
    return rows;
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The first run of a statement in each state warms its plan's pages and reads its rows: beside the
// contractors they must be the rows it read alone.
void checkRows(PGconn* conn, Statement& statement, bool beside) {
    QCryptographicHash digest(QCryptographicHash::Sha256);
    const int rows = run(conn, statement.sql, &digest);
    if (!beside && statement.rows < 0) {
        statement.rows = rows;
        statement.digest = digest.result();
    } else if (rows != statement.rows || digest.result() != statement.digest) {
        statement.sameRowsBeside = false;
    }
}

}  // namespace

int main(int argc, char** argv) {
    bench::readSmokeSwitch(argc, argv);
    TDataModule6 dm(testing_support::testSettings());
    dm.ADO_DB.open();
    testing_support::resetDatabase(dm.ADO_DB);
    bench::runScript(dm.ADO_DB, "scale_department.sql", {{QStringLiteral("workers"), workers()}});
    exec(dm.ADO_DB, QStringLiteral("vacuum analyze"));

    PGconn* conn = connectBareLibpq();
    if (PQstatus(conn) != CONNECTION_OK) return 1;
    std::vector<Statement> all = statements();
    const auto measure = [&](bool beside) {
        for (Statement& statement : all) {
            checkRows(conn, statement, beside);
            std::vector<double>& times = beside ? statement.beside : statement.alone;
            double spent = 0;
            for (int i = 0; i < minRuns() || spent < minMs(); ++i) {
                QElapsedTimer timer;
                timer.start();
                run(conn, statement.sql);
                times.push_back(timer.nsecsElapsed() / 1e6);
                spent += times.back();
            }
        }
    };
    for (int round = 0; round < rounds(); ++round) {
        measure(false);
        bench::runScript(dm.ADO_DB, "contractors.sql", {{QStringLiteral("contractors"), contractors()}});
        measure(true);
        exec(dm.ADO_DB, QStringLiteral("delete from cmn_contractor.person where id >= 1000000000"));
        exec(dm.ADO_DB, QStringLiteral("vacuum analyze cmn_contractor.person"));
    }
    PQfinish(conn);

    std::printf("%-22s %6s %12s %12s %7s\n", "statement", "rows", "alone ms", "beside ms", "ratio");
    double worst = 0;
    bool allSame = true;
    for (const Statement& statement : all) {
        const double alone = median(statement.alone), beside = median(statement.beside);
        const double ratio = beside / alone;
        std::printf("%-22s %6d %12.2f %12.2f %7.2f%s\n", statement.name, statement.rows, alone, beside, ratio,
                    statement.sameRowsBeside ? "" : "  OTHER ROWS BESIDE THE CONTRACTORS");
        worst = std::max(worst, ratio);
        allSame = allSame && statement.sameRowsBeside;
    }
    std::printf("scale ratio %.2f\n", worst);
    return allSame ? 0 : 1;
}
