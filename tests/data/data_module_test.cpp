// The data module's count check and decimal-separator conversion.

#include "data/data_module.h"
#include "data/db_error.h"
#include "tests/support/program_fixture.h"

#include <gtest/gtest.h>

namespace {

using testing_support::ProgramTest;

struct SeparatorCase {
    QString delim;
    QString typed;
    QString written;
};

TEST(ConvertDecimalSeparator, ReplacesTheFirstSeparatorWithDelim) {
    const SeparatorCase cases[] = {
        {QStringLiteral("."), QStringLiteral("12,5"), QStringLiteral("12.5")},
        {QStringLiteral("."), QStringLiteral("12.5"), QStringLiteral("12.5")},
        {QStringLiteral("."), QStringLiteral("1,5,7"), QStringLiteral("1.5,7")},
        {QStringLiteral("."), QStringLiteral("12"), QStringLiteral("12")},
        {QStringLiteral(","), QStringLiteral("12.5"), QStringLiteral("12,5")},
        {QStringLiteral("."), QStringLiteral("1.5,7"), QStringLiteral("1.5.7")},   // a comma is looked for first
        {QString(), QStringLiteral("12,5"), QStringLiteral("125")},
    };
    TDataModule6 dm;
    for (const SeparatorCase& c : cases) {
        dm.Delim = c.delim;
        EXPECT_EQ(dm.ConvertDecimalSeparator(c.typed), c.written)
            << c.typed.toStdString() << " with '" << c.delim.toStdString() << "'";
    }
}

TEST_F(ProgramTest, CountCheckShowsTheMessageOnlyWhenTheCountIsAboveZero) {
    EXPECT_EQ(dm->CountCheck(QStringLiteral("select 0 as cnt"), QStringLiteral("Дубль!")), 0);
    EXPECT_TRUE(ui.dialogs.shown().empty());

    EXPECT_EQ(dm->CountCheck(QStringLiteral("select 3 as cnt"), QStringLiteral("Дубль!")), 1);
    ASSERT_EQ(ui.dialogs.shown().size(), 1u);
    EXPECT_EQ(ui.dialogs.shown()[0].text, QStringLiteral("Дубль!"));
    EXPECT_EQ(ui.dialogs.shown()[0].caption, QStringLiteral("Ошибка"));
    EXPECT_EQ(ui.dialogs.shown()[0].icon, ui::Icon::Error);
    EXPECT_FALSE(dm->Control.isOpen());

    EXPECT_EQ(dm->CountCheck(QStringLiteral("select 1 as cnt"), QString()), 1);
    EXPECT_EQ(ui.dialogs.shown().back().text, QString());
}

TEST_F(ProgramTest, CountCheckLetsADatabaseErrorReachTheCaller) {
    EXPECT_THROW(dm->CountCheck(QStringLiteral("select count(*) as cnt from nowhere"), QStringLiteral("x")),
                 data::DbError);
    EXPECT_TRUE(ui.dialogs.shown().empty());
    // The next check replaces the text and works.
    EXPECT_EQ(dm->CountCheck(QStringLiteral("select 0 as cnt"), QStringLiteral("x")), 0);
}

}  // namespace
