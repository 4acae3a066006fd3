// Start-up without a database.

#include "app/startup.h"
#include "tests/support/scripted_ui.h"

#include <gtest/gtest.h>

namespace {

TEST(Startup, AnUnreachableServerEndsTheRunWithOneMessage) {
    testing_support::ScriptedUi ui;
    // Nothing answers there, and no server has that database.
    const int code = runProgram({QStringLiteral("tabel_no_such_database"), QStringLiteral("127.0.0.2")});
    EXPECT_NE(code, 0);
    ASSERT_EQ(ui.dialogs.shown().size(), 1u);
    EXPECT_EQ(ui.dialogs.shown()[0].text, QStringLiteral("Подключение к БД отсутсвует!!!"));
    EXPECT_EQ(ui.dialogs.shown()[0].caption, QStringLiteral("Ошибка!"));
    EXPECT_EQ(ui.dialogs.shown()[0].icon, ui::Icon::Error);
    EXPECT_TRUE(ui.modal.shownWindows().isEmpty());
}

}  // namespace
