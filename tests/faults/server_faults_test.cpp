// The database server restarted, or stopped and started again, while the user works in each kind
// of window: one message for an operation that fails, nothing half written, and the same
// operation working once the server is back, without starting the program again.

#include "tests/faults/window_operations.h"

#include <gtest/gtest.h>

namespace {

using faults::FaultsTest;
using faults::WindowOperation;

enum class Fault { Restarted, StoppedThenStarted };

struct ServerCase {
    WindowOperation operation;
    Fault fault;
};

void PrintTo(const ServerCase& c, std::ostream* os) { *os << c.operation.name; }

class ServerFaultsTest : public FaultsTest, public ::testing::WithParamInterface<ServerCase> {
protected:
    // A restart between two operations is noticed before the next statement: the operation
    // runs on a new session as if nothing had happened.
    void afterRestart(const WindowOperation& operation) {
        ASSERT_TRUE(testing_support::restartServer());
        const int before = messages();
        operation.act(*this);
        EXPECT_EQ(messages(), before) << messageTexts().toStdString();
        EXPECT_TRUE(operation.done(*this));
    }

    void whileStopped(const WindowOperation& operation) {
        const QString state = databaseState();
        const QStringList files = exportFolderEntries();
        {
            testing_support::ServerAway away;
            ASSERT_TRUE(away.stopped());
            const int before = messages();
            operation.act(*this);
            EXPECT_EQ(messages(), before + 1) << messageTexts().toStdString();
            // What the failed operation would have done next never happens.
            ui.modal.forgetScript();
            ui.dialogs.forgetAnswers();
            ASSERT_TRUE(away.back());
        }
        EXPECT_FALSE(operation.done(*this));
        EXPECT_EQ(databaseState(), state);
        EXPECT_EQ(exportFolderEntries(), files);

        // The server is back: the same press works, without another message.
        const int before = messages();
        operation.act(*this);
        EXPECT_EQ(messages(), before) << messageTexts().toStdString();
        EXPECT_TRUE(operation.done(*this));
    }
};

TEST_P(ServerFaultsTest, OneMessageNothingHalfWrittenAndTheNextPressWorks) {
    const ServerCase& c = GetParam();
    bool reached = false;
    c.operation.place(*this, [&] {
        reached = true;
        ASSERT_TRUE(ui.dialogs.shown().empty()) << messageTexts().toStdString();
        if (c.fault == Fault::Restarted) afterRestart(c.operation);
        else whileStopped(c.operation);
    });
    EXPECT_TRUE(reached) << "the window of the operation never opened";
    expectScriptPlayed();
}

std::vector<ServerCase> serverCases() {
    std::vector<ServerCase> cases;
    for (const WindowOperation& operation : faults::serverOperations())
        for (const Fault fault : {Fault::Restarted, Fault::StoppedThenStarted}) cases.push_back({operation, fault});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Windows, ServerFaultsTest, ::testing::ValuesIn(serverCases()),
                         [](const ::testing::TestParamInfo<ServerCase>& info) {
                             return std::string(info.param.operation.name) +
                                    (info.param.fault == Fault::Restarted ? "_Restarted" : "_Stopped");
                         });

}  // namespace
