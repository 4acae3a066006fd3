// The norms window TForm22: the norms of one priced operation in a grid typed into directly, the
// new norm stored with the operation's id, the last norm kept, and the price list read again.

#include "data/data_module.h"
#include "refbooks/norms_window.h"
#include "refbooks/price_list.h"
#include "tests/refbooks/refbook_test_helpers.h"
#include "tests/support/program_fixture.h"
#include "ui/roster.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLocale>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace refbook_tests;
using testing_support::ScriptedDialogs;
using testing_support::StatementLog;
using testing_support::scalar;

class NormsTest : public testing_support::ProgramTest {
protected:
    NormsTest() {
        const int kind = fixtures.kind(QStringLiteral("Сварка"));
        oper = fixtures.oper(kind, fixtures.product(QStringLiteral("ШК-120")));
        other = fixtures.oper(kind, fixtures.product(QStringLiteral("ВА-1")));
        fixtures.norm(other, 1, 999);
    }
    ~NormsTest() override { QLocale::setDefault(QLocale::c()); }

    TForm22& norms() { return *roster.Form22; }

    // The grid's lines as "norma;price;prize", the new norm's line last.
    QStringList lines() {
        const QAbstractItemModel* model = norms().DBGrid1->model();
        QStringList out;
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < 3; ++column) cells << model->data(model->index(row, column)).toString();
            out << cells.join(u';');
        }
        return out;
    }
    // The operation's norms in the database, by id, as "norma;price;prize".
    QString stored(int operation) {
        return scalar(dm->ADO_DB, QStringLiteral(
            "select coalesce(string_agg(concat_ws(';', coalesce(norma::text, '-'), coalesce(price::text, '-'), "
            "coalesce(prize::text, '-')), '|' order by id), '') from accounts_dep.norm where o_id=%1").arg(operation)).toString();
    }
    // Shows the norms of `operation` with `inWindow` played in them.
    void showNorms(int operation, const std::function<void(TForm22&)>& inWindow) {
        ui.modal.expect(QStringLiteral("Form22"), [inWindow](ui::Form& f) { inWindow(static_cast<TForm22&>(f)); });
        norms().showNormsOf(operation);
    }

    int oper = 0;
    int other = 0;
};

TEST_F(NormsTest, TheNormsOfTheOperationShowByNormaWithPricesAsHashZeroPointZeroZeroHash) {
    fixtures.norm(oper, 15, 200);
    fixtures.norm(oper, 15.5, 100);
    fixtures.norm(oper, 15.1234, 300);
    fixtures.norm(oper, 15.125, 50);
    QLocale::setDefault(QLocale(QLocale::Russian));
    showNorms(oper, [&](TForm22& f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Норматив"));
        EXPECT_EQ(lines(), QStringList({QStringLiteral("50;15,125;0"), QStringLiteral("100;15,50;0"),
                                        QStringLiteral("200;15,00;0"), QStringLiteral("300;15,123;0"),
                                        QStringLiteral(";;")}));
        const QAbstractItemModel* model = f.DBGrid1->model();
        EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Норматив"));
        EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Цена"));
        EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Премия, %"));
        EXPECT_EQ(model->headerData(4, Qt::Vertical).toString(), QStringLiteral("*"));
        EXPECT_EQ(f.DBGrid1->columnWidth(0), 133);
        EXPECT_TRUE(button(f, "Button1")->isDefault());
        EXPECT_EQ(button(f, "Button1")->text(), QStringLiteral("Сохранить"));
        EXPECT_EQ(button(f, "Button2")->text(), QStringLiteral("Удалить"));
        f.close();
    });
    expectScriptPlayed();
}

TEST_F(NormsTest, ANormTypedIntoTheLastLineIsStoredWithTheOperationsIdAndEitherSeparator) {
    fixtures.norm(oper, 9, 100);
    showNorms(oper, [&](TForm22& f) {
        EXPECT_TRUE(f.typeInto(1, 0, QStringLiteral("50")));   // the new norm's line
        EXPECT_EQ(stored(oper), QStringLiteral("100;9;0|50;-;-"));
        EXPECT_EQ(lines().first(), QStringLiteral("50;;")) << "read again by norma";
        EXPECT_TRUE(f.typeInto(0, 1, QStringLiteral("7,25")));
        EXPECT_EQ(stored(oper), QStringLiteral("100;9;0|50;7.25;-"));
        EXPECT_TRUE(f.typeInto(0, 1, QStringLiteral(" 7.5 ")));
        EXPECT_TRUE(f.typeInto(0, 2, QStringLiteral("10")));
        EXPECT_EQ(stored(oper), QStringLiteral("100;9;0|50;7.5;10"));
        EXPECT_FALSE(f.typeInto(0, 2, QStringLiteral("10"))) << "an unchanged cell stores nothing";
        EXPECT_EQ(lines(), QStringList({QStringLiteral("50;7.50;10"), QStringLiteral("100;9.00;0"), QStringLiteral(";;")}));
        f.close();
    });
    EXPECT_EQ(stored(other), QStringLiteral("999;1;0")) << "another operation's norms are untouched";
    EXPECT_TRUE(ui.dialogs.shown().empty()) << ui.dialogs.texts().join(u'|').toStdString();
    expectScriptPlayed();
}

TEST_F(NormsTest, ATypedValueThatIsNoNumberIsRefusedAndTheRowKeepsWhatWasTyped) {
    struct Case {
        int column;
        const char* typed;
        QString message;
    };
    const Case cases[] = {
        {1, "двенадцать", QStringLiteral("Цена должна быть числом, например 12,5")},
        {1, "12,5,1", QStringLiteral("Цена должна быть числом, например 12,5")},
        {0, "12,5", QStringLiteral("Норматив должен быть целым числом")},
        {0, "99999999999", QStringLiteral("Норматив должен быть целым числом")},
        {2, "5%", QStringLiteral("Премия должна быть целым числом процентов")},
    };
    fixtures.norm(oper, 9, 100);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        ui.dialogs.clear();
        for (const int row : {0, 1}) {   // a stored norm, and the new norm's line
            showNorms(oper, [&](TForm22& f) {
                EXPECT_FALSE(f.typeInto(row, c.column, QString::fromUtf8(c.typed)));
                EXPECT_EQ(f.DBGrid1->model()->data(f.DBGrid1->model()->index(row, c.column)).toString(),
                          QString::fromUtf8(c.typed));
                EXPECT_EQ(f.DBGrid1->model()->headerData(row, Qt::Vertical).toString(),
                          row == 1 ? QStringLiteral("*") : QStringLiteral("I"));
                // Saving stores nothing either: the window stays open with the row as typed.
                click(f, "Button1");
                EXPECT_TRUE(f.isVisible());
                EXPECT_EQ(f.DBGrid1->model()->data(f.DBGrid1->model()->index(row, c.column)).toString(),
                          QString::fromUtf8(c.typed));
                // Another row is not entered while this one cannot be stored.
                EXPECT_FALSE(f.typeInto(row == 0 ? 1 : 0, 2, QStringLiteral("3")));
                f.close();   // the close box drops it
            });
        }
        EXPECT_EQ(ui.dialogs.texts(), QStringList(6, c.message));
        EXPECT_EQ(stored(oper), QStringLiteral("100;9;0"));
    }
    // Corrected, it is stored.
    showNorms(oper, [&](TForm22& f) {
        EXPECT_FALSE(f.typeInto(0, 1, QStringLiteral("x")));
        EXPECT_TRUE(f.typeInto(0, 1, QStringLiteral("8,5")));
        EXPECT_TRUE(f.typeInto(1, 0, QStringLiteral("")) == false) << "an empty new line starts nothing";
        f.close();
    });
    EXPECT_EQ(stored(oper), QStringLiteral("100;8.5;0"));
    expectScriptPlayed();
}

TEST_F(NormsTest, DeleteRemovesTheCurrentNormButNeverTheLastOne) {
    fixtures.norm(oper, 9, 100);
    fixtures.norm(oper, 8, 200);
    fixtures.norm(oper, 7, 300);
    StatementLog log(dm->ADO_DB);
    showNorms(oper, [&](TForm22& f) {
        f.DBGrid1->setCurrentIndex(f.DBGrid1->model()->index(1, 1));
        click(f, "Button2");
        EXPECT_EQ(stored(oper), QStringLiteral("100;9;0|300;7;0"));
        f.DBGrid1->setCurrentIndex(f.DBGrid1->model()->index(0, 0));
        click(f, "Button2");
        EXPECT_EQ(stored(oper), QStringLiteral("300;7;0"));
        log.clear();
        click(f, "Button2");   // the last one stays; the grid is only read again
        EXPECT_EQ(stored(oper), QStringLiteral("300;7;0"));
        for (const QString& text : log.texts()) EXPECT_FALSE(text.startsWith(QLatin1String("delete"))) << text.toStdString();
        EXPECT_EQ(lines(), QStringList({QStringLiteral("300;7.00;0"), QStringLiteral(";;")}));
        f.close();
    });
    EXPECT_TRUE(ui.dialogs.shown().empty()) << "no question before a norm goes";
    expectScriptPlayed();
}

TEST_F(NormsTest, SaveReadsThePriceListAgainOnTheSameRowWithTheNewCountAndLowestPrice) {
    fixtures.norm(oper, 9, 100);
    const int kind = fixtures.kind(QStringLiteral("Сборка"));
    const int third = fixtures.oper(kind, fixtures.product(QStringLiteral("ЯЯ-1")));
    fixtures.norm(third, 3);
    ui.modal.expect(QStringLiteral("Form4"), [&](ui::Form& f) {
        control<QCheckBox>(f, "CheckBox1")->setChecked(true);
        dm->Oper.setRecNo(2);   // ШК-120, between ВА-1 and ЯЯ-1
        doubleClickGrid(f);
        EXPECT_EQ(dm->Oper.recNo(), 2);
        EXPECT_EQ(dm->Oper.field(QStringLiteral("id")).asInteger(), oper);
        EXPECT_EQ(dm->Oper.field(QStringLiteral("norma")).asInteger(), 2);
        EXPECT_EQ(dm->Oper.field(QStringLiteral("cena")).asString(), QStringLiteral("6.5"));
        EXPECT_EQ(listed(f, 4), QStringList({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("1")}));
    });
    ui.modal.expect(QStringLiteral("Form22"), [&](ui::Form& f) {
        auto& window = static_cast<TForm22&>(f);
        EXPECT_TRUE(window.typeInto(1, 1, QStringLiteral("6,5")));
        click(f, "Button1");
        EXPECT_EQ(f.result(), QDialog::Accepted);
    });
    roster.Form4->showAsList();
    expectScriptPlayed();
}

TEST_F(NormsTest, EscapeSavesLikeEnterAndTheCloseBoxDropsAPendingRow) {
    fixtures.norm(oper, 9, 100);
    showNorms(oper, [&](TForm22& f) {
        f.typeInto(0, 1, QStringLiteral("x"));
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&f, &escape);
        EXPECT_TRUE(f.isVisible()) << "Escape saves, and the row cannot be stored";
        f.typeInto(0, 1, QStringLiteral("4"));
        QApplication::sendEvent(&f, &escape);
        EXPECT_FALSE(f.isVisible());
        EXPECT_EQ(f.result(), QDialog::Accepted);
    });
    EXPECT_EQ(stored(oper), QStringLiteral("100;4;0"));
    // Once when the cell was left, once more when Escape tried to save.
    EXPECT_EQ(ui.dialogs.texts(), QStringList(2, QStringLiteral("Цена должна быть числом, например 12,5")));

    ui.dialogs.clear();
    showNorms(oper, [&](TForm22& f) {
        f.typeInto(1, 0, QStringLiteral("сто"));
        f.close();
        EXPECT_NE(f.result(), QDialog::Accepted);
    });
    showNorms(oper, [&](TForm22& f) {
        EXPECT_EQ(lines(), QStringList({QStringLiteral("100;4.00;0"), QStringLiteral(";;")})) << "nothing left pending";
        EXPECT_TRUE(f.typeInto(1, 0, QStringLiteral("50")));
        f.close();
    });
    EXPECT_EQ(stored(oper), QStringLiteral("100;4;0|50;-;-"));
    expectScriptPlayed();
}

// The grid's own editing: a key starts the cell's editor, Tab commits it and stores the row.
TEST_F(NormsTest, TypingIntoTheGridStoresTheCellWhenItIsLeft) {
    fixtures.norm(oper, 9, 100);
    showNorms(oper, [&](TForm22& f) {
        QTableView* grid = f.DBGrid1;
        const QModelIndex price = grid->model()->index(0, 1);
        grid->setCurrentIndex(price);
        grid->edit(price);
        QWidget* editor = grid->indexWidget(price);
        ASSERT_NE(editor, nullptr);
        auto* box = qobject_cast<QLineEdit*>(editor);
        ASSERT_NE(box, nullptr);
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("11,75"));
        QTest::keyClick(box, Qt::Key_Tab);
        EXPECT_EQ(stored(oper), QStringLiteral("100;11.75;0"));
        EXPECT_EQ(grid->currentIndex().row(), 0);

        const QModelIndex newNorm = grid->model()->index(1, 0);
        grid->setCurrentIndex(newNorm);
        grid->edit(newNorm);
        auto* line = qobject_cast<QLineEdit*>(grid->indexWidget(newNorm));
        ASSERT_NE(line, nullptr);
        QTest::keyClicks(line, QStringLiteral("40"));
        QTest::keyClick(line, Qt::Key_Return);
        QCoreApplication::processEvents();   // the grid commits on Enter once the box has done
        EXPECT_EQ(stored(oper), QStringLiteral("100;11.75;0|40;-;-"));
        EXPECT_EQ(grid->model()->data(grid->currentIndex()).toString(), QStringLiteral("40")) << "on the row stored";
        f.close();
    });
    EXPECT_TRUE(ui.dialogs.shown().empty()) << ui.dialogs.texts().join(u'|').toStdString();
    expectScriptPlayed();
}

}  // namespace
