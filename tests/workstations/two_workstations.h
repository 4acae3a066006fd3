#pragma once

#include "app/windows.h"
#include "data/data_module.h"
#include "tests/support/fixtures.h"
#include "tests/support/program_fixture.h"

#include <QDate>
#include <functional>
#include <memory>

namespace workstations {

// Two whole programs on the one throwaway database, each with its own data module and its own
// connection, sharing the scripted user: `roster` is workstation A, `rosterB` workstation B.
class TwoWorkstations : public testing_support::ProgramTest {
protected:
    TwoWorkstations();
    ~TwoWorkstations() override;

    std::unique_ptr<TDataModule6> dmB;
    std::unique_ptr<Windows> windowsB;
    Roster& rosterB;

    // A worker, a product and a priced operation, and a record of them on `day`.
    testing_support::Fixtures::Basics basics = fixtures.basics();
    testing_support::Fixtures::Record recordOf(const QDate& day, int hours, int colour, int shift = 1) const;

    // The worker's timesheet row of `day`'s month and `shift` as "d1|...|d31", NULL as "-";
    // one such text per row, so two rows show as two.
    QStringList timesheetRows(const QDate& day, int shift = 1);
};

// The rows of the month's timesheet, ordered, as "smena/w_id: d1|...|d31".
QStringList monthTable(data::Connection& connection, int month, int year);

// Waits until some session waits for a lock it has not been granted; false after `ms`.
bool someoneWaitsForALock(data::Connection& observer, int ms = 10000);

// Runs `work` in a thread of its own with a data module of its own on the throwaway database:
// another workstation's session, whose statements run while this thread's block.
class OtherSession {
public:
    explicit OtherSession(std::function<void(TDataModule6&)> work);
    ~OtherSession();   // joins
    void join();
    // What the thread threw, rethrown here (gtest assertions belong to the main thread).
    void rethrow();

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace workstations
