// The nomenclature picker: the level-2 groups by name, the prefix search that stays between uses,
// Up and Down from the search box, choosing and leaving.

#include "tests/utility/utility_test_helpers.h"

#include <gtest/gtest.h>

namespace {

using refbook_tests::listed;
using refbook_tests::press;
using refbook_tests::type;
using utility_tests::UtilityTest;

struct PickedGroup : NomenclaturePickReceiver {
    QString caption = QStringLiteral("прежняя");
    qint64 id = -1;
    int calls = 0;
    void receiveNomenclature(const QString& c, qint64 i) override {
        caption = c;
        id = i;
        ++calls;
    }
};

class NomenclaturePickerTest : public UtilityTest {
protected:
    void SetUp() override {
        for (const char* caption : {"Болты", "Болванки", "Гайки", "Д'Артаньян", "5% скидка", "50 штук"})
            ids[QString::fromUtf8(caption)] = fixtures.group(QString::fromUtf8(caption));
        // Not a nomenclature group: another level of the classifier.
        exec(QStringLiteral("insert into cmn_classifier.item (id, id_level, s_caption) values (9001, 1, 'Болтовня')"));
    }

    // Opens the picker; `user` plays it.
    void pick(std::function<void()> user) {
        expectWindow("Form26", std::move(user));
        picker().pick(picked);
    }

    QString current() { return picker().item.field(QStringLiteral("s_caption")).asString(); }

    QHash<QString, qint64> ids;
    PickedGroup picked;
};

TEST_F(NomenclaturePickerTest, ListsTheGroupsByNameAndNarrowsThemByTheBeginningOfTheName) {
    pick([&] {
        EXPECT_EQ(picker().windowTitle(), QStringLiteral("Номенклатура (26)"));
        EXPECT_EQ(picker().DBGrid1->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Наименование"));
        const QStringList all = listed(picker());
        EXPECT_EQ(all.size(), 6) << all.join(u'|').toStdString();
        EXPECT_FALSE(all.contains(QStringLiteral("Болтовня")));
        EXPECT_LT(all.indexOf(QStringLiteral("Болванки")), all.indexOf(QStringLiteral("Болты")));
        EXPECT_LT(all.indexOf(QStringLiteral("Болты")), all.indexOf(QStringLiteral("Гайки")));
        type(picker(), "Edit1", QStringLiteral("бол"));
        EXPECT_EQ(listed(picker()), (QStringList{QStringLiteral("Болванки"), QStringLiteral("Болты")}));
        picker().Edit1->clear();
        EXPECT_EQ(listed(picker()).size(), 6);
        picker().Button4->click();
    });
    EXPECT_EQ(picked.calls, 0);
    EXPECT_FALSE(picker().item.isOpen());
    expectScriptPlayed();
}

TEST_F(NomenclaturePickerTest, QuotesAndWildcardsInTheSearchTextStandForThemselves) {
    struct Case {
        QString text;
        QStringList found;
    };
    const Case cases[] = {
        {QStringLiteral("Д'"), {QStringLiteral("Д'Артаньян")}},
        {QStringLiteral("5%"), {QStringLiteral("5% скидка")}},
        {QStringLiteral("%"), {}},
        {QStringLiteral("_"), {}},
        {QStringLiteral("'; drop table accounts_dep.fatigue; --"), {}},
    };
    pick([&] {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.text.toStdString());
            picker().Edit1->setText(c.text);
            EXPECT_EQ(listed(picker()), c.found);
        }
        picker().Button4->click();
    });
    EXPECT_TRUE(ui.dialogs.shown().empty()) << ui.dialogs.texts().join(u'|').toStdString();
    expectScriptPlayed();
}

TEST_F(NomenclaturePickerTest, UpAndDownMoveTheListWhileTheTextStays) {
    pick([&] {
        type(picker(), "Edit1", QStringLiteral("Бол"));
        EXPECT_EQ(current(), QStringLiteral("Болванки"));
        press(picker(), "Edit1", Qt::Key_Down);
        EXPECT_EQ(current(), QStringLiteral("Болты"));
        press(picker(), "Edit1", Qt::Key_Down);   // the last row stays
        EXPECT_EQ(current(), QStringLiteral("Болты"));
        press(picker(), "Edit1", Qt::Key_Up);
        EXPECT_EQ(current(), QStringLiteral("Болванки"));
        // Keys that type nothing are consumed: the cursor stays at the end, Delete deletes nothing.
        press(picker(), "Edit1", Qt::Key_Home);
        press(picker(), "Edit1", Qt::Key_Delete);
        EXPECT_EQ(picker().Edit1->text(), QStringLiteral("Бол"));
        EXPECT_EQ(picker().Edit1->cursorPosition(), 3);
        press(picker(), "Edit1", Qt::Key_Backspace);
        EXPECT_EQ(picker().Edit1->text(), QStringLiteral("Бо"));
        picker().Button1->click();
    });
    EXPECT_EQ(picked.caption, QStringLiteral("Болванки"));
    EXPECT_EQ(picked.id, ids[QStringLiteral("Болванки")]);
    expectScriptPlayed();
}

TEST_F(NomenclaturePickerTest, ADoubleClickChoosesAndTheSearchStaysForTheNextUse) {
    pick([&] {
        picker().Edit1->setText(QStringLiteral("Гай"));
        refbook_tests::doubleClickGrid(picker());
        EXPECT_EQ(picker().result(), QDialog::Accepted);
    });
    EXPECT_EQ(picked.caption, QStringLiteral("Гайки"));
    EXPECT_EQ(picked.id, ids[QStringLiteral("Гайки")]);

    pick([&] {
        EXPECT_EQ(picker().Edit1->text(), QStringLiteral("Гай"));
        EXPECT_EQ(listed(picker()), QStringList{QStringLiteral("Гайки")});
        picker().Button4->click();
    });
    EXPECT_EQ(picked.calls, 1);
    expectScriptPlayed();
}

TEST_F(NomenclaturePickerTest, ChoosingFromAListNarrowedToNothingHandsBackNoGroup) {
    pick([&] {
        picker().Edit1->setText(QStringLiteral("Щ"));
        picker().Button1->click();
    });
    EXPECT_EQ(picked.caption, QString());
    EXPECT_EQ(picked.id, 0);
    expectScriptPlayed();
}

}  // namespace
