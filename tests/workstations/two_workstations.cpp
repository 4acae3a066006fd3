#include "tests/workstations/two_workstations.h"

#include "tests/support/test_database.h"

#include <QThread>
#include <exception>
#include <thread>

namespace workstations {

using testing_support::scalar;

TwoWorkstations::TwoWorkstations()
    : dmB(std::make_unique<TDataModule6>(testing_support::testSettings())),
      windowsB((dmB->ADO_DB.open(), std::make_unique<Windows>(*dmB))),
      rosterB(windowsB->roster) {}

TwoWorkstations::~TwoWorkstations() {
    windowsB.reset();
    dmB.reset();
}

testing_support::Fixtures::Record TwoWorkstations::recordOf(const QDate& day, int hours, int colour,
                                                            int shift) const {
    return {.worker = basics.worker, .product = basics.product, .oper = basics.oper, .day = day,
            .shift = shift, .color = colour, .time = hours};
}

namespace {
QString dayColumns() {
    QStringList columns;
    for (int d = 1; d <= 31; ++d) columns << QStringLiteral("coalesce(d%1::text, '-')").arg(d);
    return QStringLiteral("concat_ws('|', ") + columns.join(u',') + u')';
}
}  // namespace

QStringList TwoWorkstations::timesheetRows(const QDate& day, int shift) {
    return scalar(dm->ADO_DB, QStringLiteral("select coalesce(string_agg(%1, ';' order by id), '') from accounts_dep.h_tabel "
                                             "where w_id=%2 and smena=%3 and month=%4 and year=%5")
                                  .arg(dayColumns()).arg(basics.worker).arg(shift).arg(day.month()).arg(day.year()))
        .toString()
        .split(u';', Qt::SkipEmptyParts);
}

QStringList monthTable(data::Connection& connection, int month, int year) {
    return scalar(connection, QStringLiteral("select coalesce(string_agg(smena || '/' || w_id || ': ' || %1, ';' "
                                             "order by smena, w_id, id), '') from accounts_dep.h_tabel "
                                             "where month=%2 and year=%3")
                                  .arg(dayColumns()).arg(month).arg(year))
        .toString()
        .split(u';', Qt::SkipEmptyParts);
}

bool someoneWaitsForALock(data::Connection& observer, int ms) {
    for (int waited = 0; waited < ms; waited += 10) {
        if (scalar(observer, QStringLiteral("select count(*)::int from pg_locks where not granted")).toInt() > 0)
            return true;
        QThread::msleep(10);
    }
    return false;
}

struct OtherSession::State {
    std::exception_ptr failure;
    std::thread thread;
};

OtherSession::OtherSession(std::function<void(TDataModule6&)> work) : state_(std::make_unique<State>()) {
    State* state = state_.get();
    state->thread = std::thread([state, work = std::move(work)] {
        try {
            TDataModule6 module(testing_support::testSettings());
            module.ADO_DB.open();
            work(module);
        } catch (...) {
            state->failure = std::current_exception();
        }
    });
}

OtherSession::~OtherSession() { join(); }

void OtherSession::join() {
    if (state_->thread.joinable()) state_->thread.join();
}

void OtherSession::rethrow() {
    join();
    if (state_->failure) std::rethrow_exception(state_->failure);
}

}  // namespace workstations
