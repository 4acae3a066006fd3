// The norms window TForm22: the norms of one priced operation in a grid typed into directly, the
// new norm stored with the operation's id, the last norm kept, and the price list read again.

#include "data/data_module.h"
#include "refbooks/norms_window.h"
#include "refbooks/price_list.h"
#include "tests/refbooks/refbook_test_helpers.h"
#include "tests/support/program_fixture.h"
#include "ui/roster.h"

#include <QCheckBox>
#include <QLineEdit>
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

public:
    // The key goes where the user's key goes: to the current cell's editor while one is open, to
    // the grid otherwise.
    QWidget* keyTarget() {
        QTableView* grid = norms().DBGrid1;
        QWidget* editor = grid->indexWidget(grid->currentIndex());
        return editor ? editor : grid;
    }
    void typeKeys(const QString& keys) {
        for (const QChar c : keys)
            QTest::sendKeyEvent(QTest::Click, keyTarget(), Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
    }
    void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(keyTarget(), key, modifiers);
    }
    QModelIndex current() { return norms().DBGrid1->currentIndex(); }
    QModelIndex cell(int row, int column) { return norms().DBGrid1->model()->index(row, column); }
    bool editing() { return norms().DBGrid1->indexWidget(current()) != nullptr; }
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

TEST_F(NormsTest, ANormTypedIntoTheLastLineIsStoredWholeWithTheOperationsIdAndEitherSeparator) {
    fixtures.norm(oper, 9, 100);
    StatementLog log(dm->ADO_DB);
    showNorms(oper, [&](TForm22& f) {
        EXPECT_TRUE(f.typeInto(1, 0, QStringLiteral("50")));   // the new norm's line
        EXPECT_TRUE(f.typeInto(1, 1, QStringLiteral("7,25")));
        EXPECT_EQ(stored(oper), QStringLiteral("100;9;0")) << "nothing stored while a cell is empty";
        EXPECT_EQ(lines(), QStringList({QStringLiteral("100;9.00;0"), QStringLiteral("50;7,25;")}));
        EXPECT_EQ(f.DBGrid1->model()->headerData(1, Qt::Vertical).toString(), QStringLiteral("*"));
        EXPECT_EQ(f.DBGrid1->model()->headerData(0, Qt::Vertical).toString(), QString()) << "a stored row, not edited";
        EXPECT_TRUE(f.typeInto(1, 2, QStringLiteral("10")));
        EXPECT_EQ(stored(oper), QStringLiteral("100;9;0|50;7.25;10"));
        EXPECT_EQ(lines().first(), QStringLiteral("50;7.25;10")) << "read again by norma";
        // A changed cell of a whole row is stored as soon as it is left.
        EXPECT_TRUE(f.typeInto(0, 1, QStringLiteral(" 7.5 ")));
        EXPECT_EQ(stored(oper), QStringLiteral("100;9;0|50;7.5;10"));
        EXPECT_FALSE(f.typeInto(0, 2, QStringLiteral("10"))) << "an unchanged cell stores nothing";
        EXPECT_EQ(lines(), QStringList({QStringLiteral("50;7.50;10"), QStringLiteral("100;9.00;0"), QStringLiteral(";;")}));
        f.close();
    });
    int inserts = 0;
    for (const QString& text : log.texts()) inserts += text.startsWith(QLatin1String("insert"), Qt::CaseInsensitive);
    EXPECT_EQ(inserts, 1) << log.texts().join(u'\n').toStdString();
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
                ui.dialogs.answer(true);
                f.close();   // the close box drops it once the user agrees
                EXPECT_FALSE(f.isVisible());
            });
        }
        const QString closing = c.message + QStringLiteral("\n\nЗакрыть окно, не записывая эту норму?");
        EXPECT_EQ(ui.dialogs.texts(), QStringList({c.message, c.message, c.message, closing,
                                                   c.message, c.message, c.message, closing}));
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
        EXPECT_TRUE(window.typeInto(1, 0, QStringLiteral("20")));
        EXPECT_TRUE(window.typeInto(1, 1, QStringLiteral("6,5")));
        EXPECT_TRUE(window.typeInto(1, 2, QStringLiteral("0")));
        click(f, "Button1");
        EXPECT_EQ(f.result(), QDialog::Accepted);
    });
    roster.Form4->showAsList();
    expectScriptPlayed();
}

TEST_F(NormsTest, EscapeSavesLikeEnterAndTheCloseBoxDropsAPendingRowOnceAgreed) {
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
    ui.dialogs.answer(true);
    showNorms(oper, [&](TForm22& f) {
        f.typeInto(1, 0, QStringLiteral("сто"));
        f.close();
        EXPECT_NE(f.result(), QDialog::Accepted);
    });
    showNorms(oper, [&](TForm22& f) {
        EXPECT_EQ(lines(), QStringList({QStringLiteral("100;4.00;0"), QStringLiteral(";;")})) << "nothing left pending";
        f.close();
    });
    EXPECT_EQ(stored(oper), QStringLiteral("100;4;0"));
    EXPECT_EQ(ui.dialogs.texts(), QStringList({QStringLiteral("Норматив должен быть целым числом"),
                                               QStringLiteral("Норматив должен быть целым числом\n\n"
                                                              "Закрыть окно, не записывая эту норму?")}));
    expectScriptPlayed();
}

// By keys alone, as a user enters norms: a key starts a cell's editor, Tab and Shift+Tab end the
// cell and open the next one, Enter ends the cell and moves on. A row is stored once it is whole,
// and only Enter outside a cell's editor is "Сохранить".
TEST_F(NormsTest, KeyboardOnlyEntryStoresEachNormWholeAndKeepsTheKeysInTheGrid) {
    fixtures.norm(oper, 9, 100);
    StatementLog log(dm->ADO_DB);
    showNorms(oper, [&](TForm22& f) {
        EXPECT_EQ(current(), cell(0, 0));
        pressKey(Qt::Key_Down);   // the new norm's line
        typeKeys(QStringLiteral("50"));
        ASSERT_TRUE(editing());
        pressKey(Qt::Key_Tab);
        EXPECT_EQ(stored(oper), QStringLiteral("100;9;0")) << "half a norm is not stored";
        EXPECT_EQ(current(), cell(1, 1));
        EXPECT_TRUE(editing()) << "the next digits go into the price";
        typeKeys(QStringLiteral("7,5"));
        pressKey(Qt::Key_Tab);
        EXPECT_EQ(current(), cell(1, 2));
        typeKeys(QStringLiteral("10"));
        pressKey(Qt::Key_Return);
        EXPECT_TRUE(f.isVisible()) << "Enter in a cell ends the cell, not the window";
        EXPECT_EQ(stored(oper), QStringLiteral("100;9;0|50;7.5;10"));
        EXPECT_EQ(lines(), QStringList({QStringLiteral("50;7.50;10"), QStringLiteral("100;9.00;0"), QStringLiteral(";;")}));
        EXPECT_EQ(current(), cell(2, 0)) << "on the line of the next new norm";
        EXPECT_FALSE(editing());

        // The next norm, Shift+Tab going back to mend its quantity.
        typeKeys(QStringLiteral("200"));
        pressKey(Qt::Key_Tab);
        typeKeys(QStringLiteral("6"));
        pressKey(Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(current(), cell(2, 0));
        ASSERT_TRUE(editing());
        typeKeys(QStringLiteral("300"));   // over the quantity typed before
        pressKey(Qt::Key_Tab);
        typeKeys(QStringLiteral("6.25"));   // over the price typed before
        pressKey(Qt::Key_Tab);
        typeKeys(QStringLiteral("0"));
        pressKey(Qt::Key_Tab);
        EXPECT_EQ(stored(oper), QStringLiteral("100;9;0|50;7.5;10|300;6.25;0"));
        EXPECT_EQ(current(), cell(3, 0));
        EXPECT_TRUE(editing());
        pressKey(Qt::Key_Escape);   // leaves the empty cell
        EXPECT_TRUE(f.isVisible());
        EXPECT_FALSE(editing());

        // A cell of a stored norm is stored as soon as Tab leaves it.
        pressKey(Qt::Key_Up);
        pressKey(Qt::Key_Right);
        typeKeys(QStringLiteral("5"));
        pressKey(Qt::Key_Tab);
        EXPECT_EQ(stored(oper), QStringLiteral("100;9;0|50;7.5;10|300;5;0"));
        EXPECT_EQ(current(), cell(2, 2));
        pressKey(Qt::Key_Escape);

        // Outside a cell's editor Enter is "Сохранить", as ever.
        pressKey(Qt::Key_Return);
        EXPECT_FALSE(f.isVisible());
        EXPECT_EQ(f.result(), QDialog::Accepted);
    });
    int inserts = 0;
    for (const QString& text : log.texts()) inserts += text.startsWith(QLatin1String("insert"), Qt::CaseInsensitive);
    EXPECT_EQ(inserts, 2) << log.texts().join(u'\n').toStdString();
    EXPECT_TRUE(ui.dialogs.shown().empty()) << ui.dialogs.texts().join(u'|').toStdString();
    expectScriptPlayed();
}

// A row with a cell left empty cannot be left, by key or by mouse, nor saved: the user is told what
// is missing, the cursor goes to that cell, and what was typed stays there to be completed.
TEST_F(NormsTest, AnIncompleteRowIsNotStoredAndTheUserIsToldWhatIsMissing) {
    const QString noBonus = QStringLiteral("Норма не записана: заполните «Премия, %»");
    const QString noPriceNoBonus = QStringLiteral("Норма не записана: заполните «Цена» и «Премия, %»");
    struct Case {
        const char* name;
        const char* price;   // typed before the user tries to leave the row from its last cell
        std::function<void(NormsTest&, TForm22&)> leave;
        QString message;
    };
    const Case cases[] = {
        {"Tab past the last cell", "7,5", [](NormsTest& t, TForm22&) { t.pressKey(Qt::Key_Tab); }, noBonus},
        {"Enter past the last cell", "7,5", [](NormsTest& t, TForm22&) { t.pressKey(Qt::Key_Return); }, noBonus},
        {"Enter past the last cell, no price", "",
         [](NormsTest& t, TForm22&) { t.pressKey(Qt::Key_Return); }, noPriceNoBonus},
        {"Up to the row above", "7,5",
         [](NormsTest& t, TForm22&) {
             t.pressKey(Qt::Key_Escape);   // the empty cell's editor closes
             t.pressKey(Qt::Key_Up);
         },
         noBonus},
        {"a click on the row above", "7,5",
         [](NormsTest&, TForm22& f) {
             QTest::mouseClick(f.DBGrid1->viewport(), Qt::LeftButton, {},
                               f.DBGrid1->visualRect(f.DBGrid1->model()->index(0, 1)).center());
         },
         noBonus},
        {"Enter outside the cell's editor: Сохранить", "7,5",
         [](NormsTest& t, TForm22&) {
             t.pressKey(Qt::Key_Escape);
             t.pressKey(Qt::Key_Return);
         },
         noBonus},
        {"Escape outside the cell's editor: Сохранить", "7,5",
         [](NormsTest& t, TForm22&) {
             t.pressKey(Qt::Key_Escape);
             t.pressKey(Qt::Key_Escape);
         },
         noBonus},
    };
    fixtures.norm(oper, 9, 100);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.dialogs.clear();
        showNorms(oper, [&](TForm22& f) {
            pressKey(Qt::Key_Down);
            typeKeys(QStringLiteral("50"));
            pressKey(Qt::Key_Tab);
            if (*c.price) typeKeys(QString::fromUtf8(c.price));
            pressKey(Qt::Key_Tab);
            ASSERT_EQ(current(), cell(1, 2));

            c.leave(*this, f);
            EXPECT_TRUE(f.isVisible());
            expectOnlyError(ui.dialogs, c.message);
            EXPECT_EQ(stored(oper), QStringLiteral("100;9;0"));
            const int missing = *c.price ? 2 : 1;
            EXPECT_EQ(current(), cell(1, missing));
            EXPECT_EQ(lines()[1], QStringLiteral("50;%1;").arg(QString::fromUtf8(c.price)));

            if (!*c.price) {
                typeKeys(QStringLiteral("7,5"));
                pressKey(Qt::Key_Tab);
            }
            typeKeys(QStringLiteral("3"));
            pressKey(Qt::Key_Return);
            EXPECT_EQ(stored(oper), QStringLiteral("100;9;0|50;7.5;3"));
            EXPECT_TRUE(f.isVisible());
            pressKey(Qt::Key_Return);   // "Сохранить"
            EXPECT_FALSE(f.isVisible());
        });
        EXPECT_EQ(ui.dialogs.shown().size(), 1u) << ui.dialogs.texts().join(u'|').toStdString();
        testing_support::exec(dm->ADO_DB, QStringLiteral("delete from accounts_dep.norm where norma=50"));
    }
    expectScriptPlayed();
}

// The close box drops a row that is not whole only when the user agrees; otherwise the window
// stays on the missing cell.
TEST_F(NormsTest, TheCloseBoxAsksBeforeDroppingARowThatIsNotWhole) {
    fixtures.norm(oper, 9, 100);
    const QString question = QStringLiteral("Норма не записана: заполните «Цена» и «Премия, %»\n\n"
                                            "Закрыть окно, не записывая эту норму?");
    ui.dialogs.answer(false);
    ui.dialogs.answer(true);
    showNorms(oper, [&](TForm22& f) {
        pressKey(Qt::Key_Down);
        typeKeys(QStringLiteral("50"));
        pressKey(Qt::Key_Tab);
        typeKeys(QStringLiteral("12"));   // left in the price's editor: the close box drops it
        f.close();
        EXPECT_TRUE(f.isVisible());
        EXPECT_EQ(current(), cell(1, 1));
        EXPECT_EQ(lines()[1], QStringLiteral("50;;"));
        f.close();
        EXPECT_FALSE(f.isVisible());
        EXPECT_NE(f.result(), QDialog::Accepted);
    });
    ASSERT_EQ(ui.dialogs.shown().size(), 2u);
    for (const ScriptedDialogs::Shown& box : ui.dialogs.shown()) {
        EXPECT_EQ(box.kind, ScriptedDialogs::Kind::Question);
        EXPECT_EQ(box.text, question);
        EXPECT_EQ(box.caption, QStringLiteral("Норматив"));
    }
    EXPECT_EQ(stored(oper), QStringLiteral("100;9;0"));
    showNorms(oper, [&](TForm22& f) {
        EXPECT_EQ(lines(), QStringList({QStringLiteral("100;9.00;0"), QStringLiteral(";;")})) << "nothing left pending";
        f.close();
    });
    EXPECT_EQ(ui.dialogs.shown().size(), 2u);
    expectScriptPlayed();
}

// A norm an older database holds without a price or a bonus stays as it is until it is mended
// whole; a change to one of its cells alone is not stored.
TEST_F(NormsTest, AnIncompleteNormOfAnOlderDatabaseIsStoredOnlyOnceMendedWhole) {
    fixtures.norm(oper, 9, 100);
    testing_support::exec(dm->ADO_DB, QStringLiteral(
        "insert into accounts_dep.norm (o_id, norma, price, prize) values (%1, 50, null, null)").arg(oper));
    showNorms(oper, [&](TForm22& f) {
        EXPECT_EQ(lines(), QStringList({QStringLiteral("50;;"), QStringLiteral("100;9.00;0"), QStringLiteral(";;")}));
        EXPECT_TRUE(f.typeInto(0, 2, QStringLiteral("5")));
        EXPECT_EQ(stored(oper), QStringLiteral("100;9;0|50;-;-"));
        click(f, "Button1");
        EXPECT_TRUE(f.isVisible());
        expectOnlyError(ui.dialogs, QStringLiteral("Норма не записана: заполните «Цена»"));
        EXPECT_EQ(current(), cell(0, 1));
        EXPECT_TRUE(f.typeInto(0, 1, QStringLiteral("3")));
        EXPECT_EQ(stored(oper), QStringLiteral("100;9;0|50;3;5"));
        click(f, "Button1");
        EXPECT_FALSE(f.isVisible());
    });
    expectScriptPlayed();
}

}  // namespace
