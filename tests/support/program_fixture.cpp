#include "tests/support/program_fixture.h"

namespace testing_support {

DatabaseTest::DatabaseTest() : connection(testSettings()) {
    connection.open();
    resetDatabase(connection);
}

ProgramTest::ProgramTest()
    : dm(std::make_unique<TDataModule6>(testSettings())),
      windows((dm->ADO_DB.open(), resetDatabase(dm->ADO_DB), std::make_unique<Windows>(*dm))),
      roster(windows->roster) {}

ProgramTest::~ProgramTest() {
    windows.reset();
    dm.reset();
}

void ProgramTest::expectScriptPlayed() {
    EXPECT_TRUE(ui.modal.allPlayed()) << "a scripted window was never shown";
    EXPECT_TRUE(ui.modal.mismatches().isEmpty())
        << "shown without a script: " << ui.modal.mismatches().join(u',').toStdString();
    EXPECT_FALSE(ui.dialogs.unexpectedQuestion()) << "a question had no scripted answer";
    EXPECT_TRUE(ui.dialogs.allAnswered()) << "a scripted answer was never asked for";
}

}  // namespace testing_support
