#pragma once

// The operations a user starts in the program's windows, each reached the way the user reaches it
// from the journal, for the tests that take the database or the export folder away meanwhile.

#include "tests/support/program_fixture.h"
#include "tests/support/test_desktop.h"

#include <QDate>
#include <functional>
#include <vector>

namespace faults {

// The whole program logged in with every right, over a small department: a worker with a priced
// operation, a record of today and one of last month, a utility work of today.
class FaultsTest : public testing_support::ProgramTest {
public:
    FaultsTest();

    // The operations of the table play the user through these.
    using ProgramTest::dm;
    using ProgramTest::expectScriptPlayed;
    using ProgramTest::roster;
    using ProgramTest::ui;

    // The window from which an operation starts; `there` is called once the user is in it.
    using Place = std::function<void(FaultsTest&, const std::function<void()>& there)>;

    static const QDate today;

    void inJournal(const std::function<void()>& there);

    // Boxes that told the user something (questions he answers are not counted).
    int messages() const;
    QString messageTexts() const;

    // Every row of the program's tables, read through a session of the test's own.
    QString databaseState();
    // Every file in the export folder, whatever its name.
    QStringList exportFolderEntries() const;

    QVariant watch(const QString& sql) { return testing_support::scalar(watcher, sql); }

    // Set by the scripted windows when they came up with what they should show.
    bool shown = false;

    testing_support::TestDesktop desktop;
    data::Connection watcher{testing_support::testSettings()};
    testing_support::Fixtures::Basics basics;
    int todaysRecord = 0;
};

struct WindowOperation {
    const char* name;
    FaultsTest::Place place;
    std::function<void(FaultsTest&)> act;    // one press of the user
    std::function<bool(FaultsTest&)> done;   // its effect is there
};

std::vector<WindowOperation> serverOperations();
std::vector<WindowOperation> exportOperations();

}  // namespace faults
