#pragma once

#include "app/windows.h"
#include "data/data_module.h"
#include "tests/support/fixtures.h"
#include "tests/support/qt_printers.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/test_database.h"

#include <gtest/gtest.h>
#include <memory>

namespace testing_support {

// A test that talks to the throwaway database through its own connection, clean at the start.
class DatabaseTest : public ::testing::Test {
protected:
    DatabaseTest();

    data::Connection connection;
    Fixtures fixtures{connection};
};

// The whole program on the throwaway database: the data module, every window, the scripted
// user. The database is clean at the start; the login has not happened.
class ProgramTest : public ::testing::Test {
protected:
    ProgramTest();
    ~ProgramTest() override;

    // Every modal window played its script and no question went unanswered.
    void expectScriptPlayed();

    ScriptedUi ui;
    std::unique_ptr<TDataModule6> dm;
    Fixtures fixtures{dm->ADO_DB};
    std::unique_ptr<Windows> windows;
    Roster& roster;
};

}  // namespace testing_support
