// The product reference book: the list TForm3 in list and picker mode with its delete, and the
// editor TForm7 that writes to the goods register.

#include "data/data_module.h"
#include "data/decimal.h"
#include "journal/journal_window.h"
#include "refbooks/pick_receivers.h"
#include "refbooks/product_editor.h"
#include "refbooks/product_list.h"
#include "tests/refbooks/refbook_test_helpers.h"
#include "tests/support/program_fixture.h"
#include "ui/clock.h"
#include "ui/lookup_box.h"
#include "ui/roster.h"

#include <QAction>
#include <QScopeGuard>
#include <gtest/gtest.h>

namespace {

using namespace refbook_tests;
using testing_support::ScriptedDialogs;
using testing_support::exec;
using testing_support::scalar;

const QString allFields = QStringLiteral("Все поля должны быть заполнены!");
const QString notANumber = QStringLiteral("Расценка должна быть числом!");
const QString duplicate = QStringLiteral("Такая марка изделия уже заведена!");
const QString pricesQuestion = QStringLiteral("По изделию есть расценки они будут удалены!!!");
const QString recordsQuestion = QStringLiteral(
    "По изделию есть операции в текущем, предыдущем месяцах и ранее, они будут удалены. Удалить изделие? ");
const QString productQuestion = QStringLiteral("Удалить изделие? ");
const QString deletePrices = QStringLiteral("delete from accounts_dep.oper o where o.i_id =%1");
const QString deleteRecords = QStringLiteral("delete from accounts_dep.smena s where s.i_id =%1");
const QString deleteProduct = QStringLiteral("delete from cmn_gds_and_srv.gds_and_srv  where id=%1");

struct PickedProduct : ProductPickReceiver {
    void receiveProduct(const QString& marka, qint64 id) override {
        this->marka = marka;
        this->id = id;
        ++calls;
    }
    QString marka;
    qint64 id = -1;
    int calls = 0;
};

ui::LookupBox* groupBox(QWidget& editor) { return control<ui::LookupBox>(editor, "cb_item"); }

class ProductsTest : public testing_support::ProgramTest {
protected:
    // One product of the goods register as "mark;massa;group", massa as the database prints it.
    QString goods(qint64 id) {
        return scalar(dm->ADO_DB, QStringLiteral(
            "select s_caption || ';' || massa::float8 || ';' || coalesce(id_class_item::text, '-') || ';' || "
            "id_msm_bs || ';' || s_description from cmn_gds_and_srv.gds_and_srv where id=%1").arg(id)).toString();
    }
    QString marks() {
        return scalar(dm->ADO_DB, QStringLiteral(
            "select coalesce(string_agg(s_caption, '|' order by id), '') from cmn_gds_and_srv.gds_and_srv")).toString();
    }
    int count(const QString& table) {
        return scalar(dm->ADO_DB, QStringLiteral("select count(*) from %1").arg(table)).toInt();
    }
    QStringList writes(const testing_support::StatementLog& log) {
        QStringList out;
        for (const QString& text : log.texts())
            if (text.startsWith(QLatin1String("INSERT")) || text.startsWith(QLatin1String("UPDATE")) ||
                text.startsWith(QLatin1String("delete")))
                out << text;
        return out;
    }

    // The list in list mode with `row` current, pressing "Добавить" (row 0) or "Изменить".
    void openEditor(int row, const std::function<void(ui::Form&)>& inEditor) {
        ui.modal.expect(QStringLiteral("Form3"), [row](ui::Form& f) {
            if (row == 0) {
                click(f, "Button1");
                return;
            }
            auto& list = static_cast<TForm3&>(f);
            list.DBGrid1->dataset()->setRecNo(row);
            click(f, "Button2");
        });
        ui.modal.expect(QStringLiteral("Form7"), inEditor);
        roster.Form3->showAsList();
    }

    void expectOneError(const QString& text) { expectOnlyError(ui.dialogs, text); }
};

TEST_F(ProductsTest, JournalMenuOpensTheListOfProductsByMark) {
    const qint64 cabinets = fixtures.group(QStringLiteral("Шкафы"));
    fixtures.product(QStringLiteral("ШК-120"), 12.5, cabinets);
    fixtures.product(QStringLiteral("ВА-1"), 2);

    ui.modal.expect(QStringLiteral("Form3"), [&](ui::Form& f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Изделия (3)"));
        EXPECT_EQ(f.tag(), 0);
        EXPECT_EQ(listed(f, 0), QStringList({QStringLiteral("ВА-1"), QStringLiteral("ШК-120")}));
        EXPECT_EQ(listed(f, 1), QStringList({QString(), QStringLiteral("Шкафы")}));
        EXPECT_EQ(listed(f, 2), QStringList({QStringLiteral("2"), QStringLiteral("12.5")}));
        EXPECT_EQ(button(f, "Button2")->text(), QStringLiteral("Изменить"));
        EXPECT_FALSE(button(f, "Button2")->isDefault());
        EXPECT_FALSE(button(f, "Button1")->isHidden());
        EXPECT_FALSE(button(f, "Button3")->isHidden());
        EXPECT_FALSE(lineEdit(f, "Edit1")->isHidden());   // until the list first serves as a picker
    });
    roster.Form1->N3->trigger();

    EXPECT_FALSE(dm->Izdel.isOpen());
    EXPECT_TRUE(ui.dialogs.shown().empty());
    expectScriptPlayed();
}

TEST_F(ProductsTest, AddWritesTheExactInsertWithTheFactorTypedWithAComma) {
    fixtures.group(QStringLiteral("Двери"));
    const qint64 cabinets = fixtures.group(QStringLiteral("Шкафы"));
    exec(dm->ADO_DB, QStringLiteral("insert into cmn_classifier.item (id, id_level, s_caption) values (1, 1, 'Корень')"));
    lineEdit(*roster.Form7, "Edit1")->setText(QStringLiteral("старое"));
    lineEdit(*roster.Form7, "Edit2")->setText(QStringLiteral("9"));
    testing_support::StatementLog log(dm->ADO_DB);

    openEditor(0, [&](ui::Form& f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Заведение нового изделия"));
        EXPECT_EQ(f.tag(), 1);
        EXPECT_EQ(lineEdit(f, "Edit1")->text(), QString());
        EXPECT_EQ(lineEdit(f, "Edit2")->text(), QString());
        ui::LookupBox* groups = groupBox(f);
        ASSERT_EQ(groups->count(), 2);   // level 2 only, by caption
        EXPECT_EQ(groups->itemText(0), QStringLiteral("Двери"));
        EXPECT_EQ(groups->itemText(1), QStringLiteral("Шкафы"));
        groups->setCurrentIndex(1);
        lineEdit(f, "Edit1")->setText(QStringLiteral("  Шкаф O'Brien "));
        type(f, "Edit2", QStringLiteral("0,5"));
        EXPECT_EQ(lineEdit(f, "Edit2")->text(), QStringLiteral("0.5"));
        click(f, "Button1");
        EXPECT_EQ(f.result(), QDialog::Accepted);
    });

    EXPECT_TRUE(log.texts().contains(QStringLiteral(
        "select count(*) as cnt from accounts_dep.izdel where upper(marka)='ШКАФ O''BRIEN'")));
    EXPECT_EQ(writes(log), QStringList({QStringLiteral(
        "INSERT INTO cmn_gds_and_srv.gds_and_srv(s_caption, s_description, id_msm_bs, massa, id_class_item)"
        "VALUES('Шкаф O''Brien', '', 6, 0.5,%1)").arg(cabinets)}));
    const qint64 id = scalar(dm->ADO_DB, QStringLiteral("select max(id) from cmn_gds_and_srv.gds_and_srv")).toLongLong();
    EXPECT_EQ(goods(id), QStringLiteral("Шкаф O'Brien;0.5;%1;6;").arg(cabinets));
    EXPECT_TRUE(ui.dialogs.shown().empty());
    expectScriptPlayed();
}

TEST_F(ProductsTest, TheFactorBoxTakesDigitsAndOneKindOfSeparator) {
    struct Case {
        QString keys;
        QString text;
    };
    const Case cases[] = {
        {QStringLiteral("12,5"), QStringLiteral("12.5")},
        {QStringLiteral("12.5"), QStringLiteral("12.5")},
        {QStringLiteral("1a2-3 б,4+"), QStringLiteral("123.4")},
        {QStringLiteral(",5"), QStringLiteral(".5")},
    };
    QLineEdit* box = lineEdit(*roster.Form7, "Edit2");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys.toStdString());
        box->clear();
        type(*roster.Form7, "Edit2", c.keys);
        EXPECT_EQ(box->text(), c.text);
    }
    press(*roster.Form7, "Edit2", Qt::Key_Backspace);
    EXPECT_EQ(box->text(), QStringLiteral(".")) << "Backspace passes";

    box->clear();
    box->insert(QStringLiteral("2,5"));   // pasted
    EXPECT_EQ(box->text(), QStringLiteral("2.5"));
    box->insert(QStringLiteral("x7"));
    EXPECT_EQ(box->text(), QStringLiteral("2.5"));
}

TEST_F(ProductsTest, SaveRefusesMissingFieldsBrokenNumbersAndDuplicateMarks) {
    struct Case {
        const char* mark;
        const char* massaKeys;
        bool group;
        QString message;
    };
    const Case cases[] = {
        {"", "1", true, allFields},
        {"   ", "1", true, allFields},
        {"ШК-200", "", true, allFields},
        {"ШК-200", "1", false, allFields},
        {"ШК-200", ".", true, notANumber},
        {"ШК-200", "1.2.3", true, notANumber},
        {"шк-120", "1", true, duplicate},      // another letter case
        {"  Шк-120 ", "1", true, duplicate},   // and blanks around
    };
    const qint64 cabinets = fixtures.group(QStringLiteral("Шкафы"));
    fixtures.product(QStringLiteral("ШК-120"), 1, cabinets);
    testing_support::StatementLog log(dm->ADO_DB);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.mark) + " / " + c.massaKeys);
        ui.dialogs.clear();
        openEditor(0, [&](ui::Form& f) {
            groupBox(f)->setKeyValue(c.group ? QVariant(cabinets) : QVariant());
            lineEdit(f, "Edit1")->setText(QString::fromUtf8(c.mark));
            type(f, "Edit2", QString::fromUtf8(c.massaKeys));
            click(f, "Button1");
            EXPECT_NE(f.result(), QDialog::Accepted);
            EXPECT_TRUE(f.isVisible());
            EXPECT_EQ(lineEdit(f, "Edit1")->text(), QString::fromUtf8(c.mark));
        });
        expectOneError(c.message);
    }
    EXPECT_TRUE(writes(log).isEmpty()) << writes(log).join(u'\n').toStdString();
    EXPECT_EQ(marks(), QStringLiteral("ШК-120"));
    expectScriptPlayed();
}

TEST_F(ProductsTest, ChangeMayKeepItsOwnMarkInAnotherCaseButNotTakeAnother) {
    dm->Delim = QStringLiteral(".");
    const qint64 doors = fixtures.group(QStringLiteral("Двери"));
    const qint64 cabinets = fixtures.group(QStringLiteral("Шкафы"));
    fixtures.product(QStringLiteral("ВА-1"), 2, doors);
    const qint64 id = fixtures.product(QStringLiteral("ШК-120"), 12.5, cabinets);
    fixtures.product(QStringLiteral("ЯЯ-7"), 3, doors);
    testing_support::StatementLog log(dm->ADO_DB);

    ui.modal.expect(QStringLiteral("Form3"), [&](ui::Form& f) {
        dm->Izdel.setRecNo(2);
        doubleClickGrid(f);   // acts as "Изменить"
        EXPECT_EQ(dm->Izdel.recNo(), 2);   // back on the row it was on
        click(f, "Button2");
    });
    ui.modal.expect(QStringLiteral("Form7"), [&](ui::Form& f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Изменение данных изделия"));
        EXPECT_EQ(f.tag(), 2);
        EXPECT_EQ(lineEdit(f, "Edit1")->text(), QStringLiteral("ШК-120"));
        EXPECT_EQ(lineEdit(f, "Edit2")->text(), QStringLiteral("12.5"));
        EXPECT_EQ(groupBox(f)->currentText(), QStringLiteral("Шкафы"));
        lineEdit(f, "Edit1")->setText(QStringLiteral("шк-120"));
        click(f, "Button1");
        EXPECT_EQ(f.result(), QDialog::Accepted);
    });
    ui.modal.expect(QStringLiteral("Form7"), [&](ui::Form& f) {
        lineEdit(f, "Edit1")->setText(QStringLiteral("ва-1"));
        click(f, "Button1");
        EXPECT_TRUE(f.isVisible());
        click(f, "Button2");
    });
    roster.Form3->showAsList();

    EXPECT_TRUE(log.texts().contains(QStringLiteral(
        "select count(*) as cnt from accounts_dep.izdel where upper(marka)='ШК-120'and id<>%1").arg(id)));
    EXPECT_EQ(writes(log), QStringList({QStringLiteral(
        "UPDATE cmn_gds_and_srv.gds_and_srv SET s_caption='шк-120', s_description='', id_msm_bs=6, "
        "massa=12.5, id_class_item=%1 where id=%2").arg(cabinets).arg(id)}));
    EXPECT_EQ(goods(id), QStringLiteral("шк-120;12.5;%1;6;").arg(cabinets));
    expectOneError(duplicate);
    expectScriptPlayed();
}

TEST_F(ProductsTest, AChangedFactorKeepsItsMagnitudeWhateverTheDatabaseSeparator) {
    const qint64 cabinets = fixtures.group(QStringLiteral("Шкафы"));
    const qint64 id = fixtures.product(QStringLiteral("ШК-120"), 1, cabinets);
    for (const QString& delim : {QString(), QStringLiteral("."), QStringLiteral(",")}) {
        SCOPED_TRACE("Delim '" + delim.toStdString() + "'");
        dm->Delim = delim;
        testing_support::StatementLog log(dm->ADO_DB);
        openEditor(1, [&](ui::Form& f) {
            lineEdit(f, "Edit2")->clear();
            type(f, "Edit2", QStringLiteral("12,5"));
            click(f, "Button1");
        });
        ASSERT_EQ(writes(log).size(), 1);
        EXPECT_TRUE(writes(log)[0].contains(QStringLiteral(", massa=12.5, "))) << writes(log)[0].toStdString();
        EXPECT_EQ(goods(id), QStringLiteral("ШК-120;12.5;%1;6;").arg(cabinets));
        exec(dm->ADO_DB, QStringLiteral("update cmn_gds_and_srv.gds_and_srv set massa=1"));
    }
    expectScriptPlayed();
}

// Values at the edges of their columns open in the editor as stored and are saved back unchanged:
// a 15-digit id, a group id that a double would show as 1e+05, six decimals, a negative factor.
TEST_F(ProductsTest, EdgeValuesOpenAsStoredAndSaveBackUnchanged) {
    dm->Delim = QStringLiteral(",");
    exec(dm->ADO_DB, QStringLiteral("insert into cmn_classifier.item (id, id_level, s_caption) values (100000, 2, 'Стеллажи')"));
    const struct { qint64 id; const char* massa; } cases[] = {
        {123456789012345LL, "-0.5"}, {100000, "12.345678"}, {7, "100000"}, {8, "0.000001"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.massa);
        exec(dm->ADO_DB, QStringLiteral("delete from cmn_gds_and_srv.gds_and_srv; "
                                        "insert into cmn_gds_and_srv.gds_and_srv (id, s_caption, s_description, "
                                        "id_msm_bs, massa, id_class_item) values (%1, 'СТ-1', '', 6, %2, 100000)")
                                        .arg(c.id).arg(QString::fromLatin1(c.massa)));
        testing_support::StatementLog log(dm->ADO_DB);
        openEditor(1, [&](ui::Form& f) {
            EXPECT_EQ(lineEdit(f, "Edit2")->text(), QString::fromLatin1(c.massa));
            EXPECT_EQ(groupBox(f)->currentText(), QStringLiteral("Стеллажи"));
            click(f, "Button1");
            EXPECT_EQ(f.result(), QDialog::Accepted);
        });
        EXPECT_EQ(writes(log), QStringList({QStringLiteral(
            "UPDATE cmn_gds_and_srv.gds_and_srv SET s_caption='СТ-1', s_description='', id_msm_bs=6, "
            "massa=%1, id_class_item=100000 where id=%2").arg(QString::fromLatin1(c.massa)).arg(c.id)}));
        EXPECT_EQ(scalar(dm->ADO_DB, QStringLiteral(
            "select massa::text || ';' || id_class_item::text from cmn_gds_and_srv.gds_and_srv where id=%1").arg(c.id)).toString(),
            QStringLiteral("%1;100000").arg(data::Decimal::parse(QString::fromLatin1(c.massa))->toFixed(6)));
        EXPECT_TRUE(ui.dialogs.shown().empty());
    }
    expectScriptPlayed();
}

// A typed minus is still refused; the sign of a factor shown for change stays while it is edited.
TEST_F(ProductsTest, TheFactorBoxRefusesATypedMinusButKeepsAShownSign) {
    const qint64 cabinets = fixtures.group(QStringLiteral("Шкафы"));
    fixtures.product(QStringLiteral("ШК-120"), -0.5, cabinets);
    openEditor(1, [&](ui::Form& f) {
        type(f, "Edit2", QStringLiteral("5-"));
        EXPECT_EQ(lineEdit(f, "Edit2")->text(), QStringLiteral("-0.55"));
        lineEdit(f, "Edit2")->clear();
        type(f, "Edit2", QStringLiteral("-1,5"));
        EXPECT_EQ(lineEdit(f, "Edit2")->text(), QStringLiteral("1.5"));
        click(f, "Button2");
    });
    expectScriptPlayed();
}

TEST_F(ProductsTest, ANewProductStartsWithTheGroupOfThePreviousUse) {
    fixtures.group(QStringLiteral("Двери"));   // first in the box: a reset would choose it
    const qint64 cabinets = fixtures.group(QStringLiteral("Шкафы"));
    fixtures.product(QStringLiteral("ШК-120"), 1, cabinets);

    openEditor(1, [&](ui::Form& f) {
        EXPECT_EQ(groupBox(f)->currentText(), QStringLiteral("Шкафы"));
        click(f, "Button2");
    });
    openEditor(0, [&](ui::Form& f) {
        EXPECT_EQ(groupBox(f)->currentText(), QStringLiteral("Шкафы"));
        lineEdit(f, "Edit1")->setText(QStringLiteral("ШК-200"));
        type(f, "Edit2", QStringLiteral("3"));
        click(f, "Button1");
    });

    const qint64 added = scalar(dm->ADO_DB, QStringLiteral(
        "select id from cmn_gds_and_srv.gds_and_srv where s_caption='ШК-200'")).toLongLong();
    EXPECT_EQ(goods(added), QStringLiteral("ШК-200;3;%1;6;").arg(cabinets));
    expectScriptPlayed();
}

TEST_F(ProductsTest, AProductWithoutAGroupIsSavedOnlyOnceAGroupIsChosen) {
    const qint64 doors = fixtures.group(QStringLiteral("Двери"));
    const qint64 id = fixtures.product(QStringLiteral("ДВ-1"), 4);
    openEditor(1, [&](ui::Form& f) {
        EXPECT_EQ(groupBox(f)->keyValue(), QVariant());
        click(f, "Button1");
        EXPECT_TRUE(f.isVisible());
        groupBox(f)->setKeyValue(doors);
        click(f, "Button1");
        EXPECT_EQ(f.result(), QDialog::Accepted);
    });
    expectOneError(allFields);
    EXPECT_EQ(goods(id), QStringLiteral("ДВ-1;4;%1;6;").arg(doors));
    expectScriptPlayed();
}

TEST_F(ProductsTest, AMarkLongerThanTheColumnIsRefusedWithAMessageAndTheEditorStaysOpen) {
    const qint64 cabinets = fixtures.group(QStringLiteral("Шкафы"));
    const qint64 id = fixtures.product(QStringLiteral("ШК-120"), 1, cabinets);
    const QString tooLong(255, QChar(u'Ш'));
    for (int row : {0, 1}) {   // new, then changed
        SCOPED_TRACE(row);
        ui.dialogs.clear();
        openEditor(row, [&](ui::Form& f) {
            groupBox(f)->setKeyValue(cabinets);
            lineEdit(f, "Edit1")->setText(tooLong);
            lineEdit(f, "Edit2")->setText(QStringLiteral("2"));
            click(f, "Button1");
            EXPECT_TRUE(f.isVisible());
            EXPECT_EQ(lineEdit(f, "Edit1")->text(), tooLong);
        });
        expectOnlyError(ui.dialogs, QStringLiteral("Поле «Марка»: не больше 254 знаков!"));
    }
    EXPECT_EQ(marks(), QStringLiteral("ШК-120"));
    EXPECT_EQ(goods(id), QStringLiteral("ШК-120;1;%1;6;").arg(cabinets));
    expectScriptPlayed();
}

// Deleting a product: which questions come, in which order, and what each answer removes. Every
// question is asked before anything goes, and what goes goes in one transaction: a No to the last
// question removes nothing, whatever came before.
struct DeleteCase {
    const char* name;
    bool prices;
    bool records;
    std::vector<bool> answers;
    QStringList questions;
    QStringList deletes;   // %1 is the product id
};

void PrintTo(const DeleteCase& c, std::ostream* os) { *os << c.name; }

class ProductDeleteTest : public ProductsTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(ProductDeleteTest, AsksEverythingFirstAndRemovesWhatWasAgreedInOneTransaction) {
    const DeleteCase& c = GetParam();
    ui::setToday(QDate(2024, 5, 10));
    const int worker = fixtures.worker(QStringLiteral("Иванов И.И."));
    const int kind = fixtures.kind(QStringLiteral("Сборка"));
    const qint64 product = fixtures.product(QStringLiteral("ШК-120"));
    // Another product with a price and a record: nothing of it may go.
    const qint64 other = fixtures.product(QStringLiteral("ЯЯ-1"));
    const int otherOper = fixtures.oper(kind, other);
    fixtures.record({.worker = worker, .product = other, .oper = otherOper, .day = QDate(2024, 5, 3)});
    if (c.prices || c.records) {
        const int oper = fixtures.oper(kind, product);
        if (!c.prices) exec(dm->ADO_DB, QStringLiteral("delete from accounts_dep.oper where id=%1").arg(oper));
        if (c.records)
            fixtures.record({.worker = worker, .product = product, .oper = oper, .day = QDate(2024, 5, 2)});
    }
    for (bool answer : c.answers) ui.dialogs.answer(answer);
    testing_support::StatementLog log(dm->ADO_DB);

    ui.modal.expect(QStringLiteral("Form3"), [&](ui::Form& f) {
        click(f, "Button3");   // the first row: ШК-120
        EXPECT_EQ(dm->Izdel.recNo(), 1);
    });
    roster.Form3->showAsList();

    EXPECT_EQ(ui.dialogs.texts(), c.questions);
    for (const ScriptedDialogs::Shown& box : ui.dialogs.shown())
        if (box.kind == ScriptedDialogs::Kind::Question) EXPECT_EQ(box.caption, QStringLiteral("Удаление"));
    QStringList expected;
    for (const QString& statement : c.deletes) expected << statement.arg(product);
    EXPECT_EQ(writes(log), expected);
    if (!expected.isEmpty()) {
        expected.prepend(QStringLiteral("begin"));
        expected.append(QStringLiteral("commit"));
        const QStringList sent = log.texts();
        const qsizetype begin = sent.indexOf(QStringLiteral("begin"));
        ASSERT_GE(begin, 0) << sent.join(u'\n').toStdString();
        EXPECT_EQ(sent.mid(begin, expected.size()), expected);
    }

    const auto left = [&](const char* table, const char* column, qint64 id) {
        return scalar(dm->ADO_DB, QStringLiteral("select count(*) from %1 where %2=%3")
                                      .arg(QLatin1String(table), QLatin1String(column)).arg(id)).toInt();
    };
    const auto gone = [&](const QString& statement) { return c.deletes.contains(statement); };
    EXPECT_EQ(left("cmn_gds_and_srv.gds_and_srv", "id", product), gone(deleteProduct) ? 0 : 1);
    EXPECT_EQ(left("accounts_dep.oper", "i_id", product), c.prices && !gone(deletePrices) ? 1 : 0);
    EXPECT_EQ(left("accounts_dep.smena", "i_id", product), c.records && !gone(deleteRecords) ? 1 : 0);
    EXPECT_EQ(left("cmn_gds_and_srv.gds_and_srv", "id", other), 1);
    EXPECT_EQ(left("accounts_dep.oper", "i_id", other), 1);
    EXPECT_EQ(left("accounts_dep.smena", "i_id", other), 1);
    EXPECT_FALSE(dm->ADO_DB.inTransaction());
    expectScriptPlayed();
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ProductDeleteTest,
    ::testing::Values(
        DeleteCase{"PricesAndRecordsYesYes", true, true, {true, true}, {pricesQuestion, recordsQuestion},
                   {deleteRecords, deletePrices, deleteProduct}},
        DeleteCase{"PricesAndRecordsNoYes", true, true, {false, true}, {pricesQuestion, recordsQuestion},
                   {deleteRecords, deleteProduct}},
        DeleteCase{"PricesAndRecordsYesNo", true, true, {true, false}, {pricesQuestion, recordsQuestion}, {}},
        DeleteCase{"PricesAndRecordsNoNo", true, true, {false, false}, {pricesQuestion, recordsQuestion}, {}},
        DeleteCase{"PricesOnlyYesYes", true, false, {true, true}, {pricesQuestion, productQuestion},
                   {deletePrices, deleteProduct}},
        DeleteCase{"PricesOnlyYesNo", true, false, {true, false}, {pricesQuestion, productQuestion}, {}},
        DeleteCase{"PricesOnlyNoYes", true, false, {false, true}, {pricesQuestion, productQuestion},
                   {deleteProduct}},
        DeleteCase{"RecordsOnlyYes", false, true, {true}, {recordsQuestion}, {deleteRecords, deleteProduct}},
        DeleteCase{"RecordsOnlyNo", false, true, {false}, {recordsQuestion}, {}},
        DeleteCase{"NeitherYes", false, false, {true}, {productQuestion}, {deleteProduct}},
        DeleteCase{"NeitherNo", false, false, {false}, {productQuestion}, {}}),
    [](const ::testing::TestParamInfo<DeleteCase>& info) { return std::string(info.param.name); });

// A statement of the delete that fails, the second or the last, takes back the ones before it: the
// product, its prices, their norms and its shift records all stay, and the list still shows it.
TEST_F(ProductsTest, ADeleteThatFailsHalfwayLeavesEverythingAsItWas) {
    ui::setToday(QDate(2024, 5, 10));
    const testing_support::Fixtures::Basics basics = fixtures.basics();
    fixtures.norm(basics.oper, 10);
    fixtures.record({.worker = basics.worker, .product = basics.product, .oper = basics.oper, .day = QDate(2024, 5, 2)});
    exec(dm->ADO_DB, QStringLiteral(
        "create function public.refuse_delete_for_test() returns trigger language plpgsql as "
        "$$begin raise exception 'удаление отклонено'; end$$"));
    const auto dropTrigger = qScopeGuard([&] {
        exec(dm->ADO_DB, QStringLiteral("drop function public.refuse_delete_for_test() cascade"));
    });
    for (const char* refusing : {"accounts_dep.oper", "cmn_gds_and_srv.gds_and_srv"}) {
        SCOPED_TRACE(refusing);
        exec(dm->ADO_DB, QStringLiteral("create trigger refuse before delete on %1 for each row "
                                        "execute function public.refuse_delete_for_test()").arg(QLatin1String(refusing)));
        ui.dialogs.clear();
        ui.dialogs.answer(true);
        ui.dialogs.answer(true);
        ui.modal.expect(QStringLiteral("Form3"), [&](ui::Form& f) {
            click(f, "Button3");
            EXPECT_TRUE(f.isVisible());
            EXPECT_EQ(listed(f), QStringList({QStringLiteral("ШК-120")}));
        });
        roster.Form3->showAsList();

        ASSERT_EQ(ui.dialogs.shown().size(), 3u) << ui.dialogs.texts().join(u'|').toStdString();
        EXPECT_EQ(ui.dialogs.texts().mid(0, 2), QStringList({pricesQuestion, recordsQuestion}));
        EXPECT_EQ(ui.dialogs.shown()[2].kind, ScriptedDialogs::Kind::StandardError);
        EXPECT_TRUE(ui.dialogs.shown()[2].text.contains(QStringLiteral("удаление отклонено")))
            << ui.dialogs.shown()[2].text.toStdString();
        EXPECT_EQ(count(QStringLiteral("cmn_gds_and_srv.gds_and_srv")), 1);
        EXPECT_EQ(count(QStringLiteral("accounts_dep.oper")), 1);
        EXPECT_EQ(count(QStringLiteral("accounts_dep.norm")), 1);
        EXPECT_EQ(count(QStringLiteral("accounts_dep.smena")), 1);
        EXPECT_FALSE(dm->ADO_DB.inTransaction());
        exec(dm->ADO_DB, QStringLiteral("drop trigger refuse on %1").arg(QLatin1String(refusing)));
    }
    expectScriptPlayed();
}

TEST_F(ProductsTest, NoThenYesRemovesTheRecordsAndTheProductButKeepsItsPrices) {
    ui::setToday(QDate(2024, 5, 10));
    const testing_support::Fixtures::Basics basics = fixtures.basics();
    fixtures.norm(basics.oper, 10);
    fixtures.record({.worker = basics.worker, .product = basics.product, .oper = basics.oper, .day = QDate(2024, 4, 20)});
    fixtures.record({.worker = basics.worker, .product = basics.product, .oper = basics.oper, .day = QDate(1999, 1, 4)});
    ui.dialogs.answer(false);
    ui.dialogs.answer(true);
    ui.modal.expect(QStringLiteral("Form3"), [&](ui::Form& f) {
        click(f, "Button3");
        EXPECT_TRUE(listed(f).isEmpty());
    });
    roster.Form3->showAsList();

    EXPECT_EQ(count(QStringLiteral("cmn_gds_and_srv.gds_and_srv")), 0);
    EXPECT_EQ(count(QStringLiteral("accounts_dep.smena")), 0);   // whatever their date
    EXPECT_EQ(count(QStringLiteral("accounts_dep.oper")), 1);
    EXPECT_EQ(count(QStringLiteral("accounts_dep.norm")), 1);
    expectScriptPlayed();
}

TEST_F(ProductsTest, RecordsAreCountedFromTheFirstOfThePreviousMonthOfTheYear2000) {
    struct Case {
        QDate today;
        QDate cutOff;
        QDate recordDay;
        QString question;
    };
    const Case cases[] = {
        {QDate(2024, 1, 15), QDate(2000, 12, 1), QDate(2000, 11, 30), productQuestion},
        {QDate(2024, 1, 15), QDate(2000, 12, 1), QDate(2000, 12, 1), recordsQuestion},
        {QDate(2024, 5, 10), QDate(2000, 4, 1), QDate(2000, 11, 30), recordsQuestion},
        {QDate(2024, 5, 10), QDate(2000, 4, 1), QDate(2000, 3, 31), productQuestion},
        {QDate(2023, 12, 31), QDate(2000, 11, 1), QDate(2000, 10, 31), productQuestion},
    };
    const testing_support::Fixtures::Basics basics = fixtures.basics();
    exec(dm->ADO_DB, QStringLiteral("delete from accounts_dep.oper"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.today.toString(Qt::ISODate).toStdString() + " " + c.recordDay.toString(Qt::ISODate).toStdString());
        exec(dm->ADO_DB, QStringLiteral("delete from accounts_dep.smena"));
        fixtures.record({.worker = basics.worker, .product = basics.product, .oper = basics.oper, .day = c.recordDay});
        ui::setToday(c.today);
        ui.dialogs.clear();
        ui.dialogs.answer(false);
        testing_support::StatementLog log(dm->ADO_DB);
        ui.modal.expect(QStringLiteral("Form3"), [&](ui::Form& f) { click(f, "Button3"); });
        roster.Form3->showAsList();

        EXPECT_EQ(ui.dialogs.texts(), QStringList({c.question}));
        const auto counting = std::find_if(log.statements().begin(), log.statements().end(),
                                           [](const data::Statement& s) { return s.text.contains(u'"'); });
        ASSERT_NE(counting, log.statements().end());
        EXPECT_EQ(counting->text, QStringLiteral(
            "select count(*) as cnt from accounts_dep.smena s where s.i_id =:id_ii and s.\"data\">=:dt"));
        EXPECT_EQ(counting->param(QStringLiteral("dt")).toDate(), c.cutOff);
        EXPECT_EQ(counting->param(QStringLiteral("id_ii")).toLongLong(), basics.product);
    }
    EXPECT_EQ(count(QStringLiteral("cmn_gds_and_srv.gds_and_srv")), 1);
    expectScriptPlayed();
}

TEST_F(ProductsTest, ChangeAndDeleteOnAnEmptyListDoNothing) {
    testing_support::StatementLog log(dm->ADO_DB);
    ui.modal.expect(QStringLiteral("Form3"), [&](ui::Form& f) {
        log.clear();
        click(f, "Button2");
        click(f, "Button3");
        EXPECT_TRUE(log.texts().isEmpty()) << log.texts().join(u'\n').toStdString();
    });
    roster.Form3->showAsList();
    EXPECT_TRUE(ui.dialogs.shown().empty());
    expectScriptPlayed();
}

TEST_F(ProductsTest, PickerHandsBackTheTrimmedMarkAndIdOfTheRowFound) {
    fixtures.product(QStringLiteral("ВА-1"));
    fixtures.product(QStringLiteral("ШК-120"));
    const qint64 wanted = fixtures.product(QStringLiteral("ШК-200 "));
    lineEdit(*roster.Form3, "Edit1")->setText(QStringLiteral("ВА"));   // a list-mode search
    PickedProduct picked;

    ui.modal.expect(QStringLiteral("Form3"), [&](ui::Form& f) {
        EXPECT_EQ(f.tag(), 1);
        EXPECT_EQ(button(f, "Button2")->text(), QStringLiteral("Выбрать"));
        EXPECT_TRUE(button(f, "Button2")->isDefault());
        EXPECT_TRUE(button(f, "Button1")->isHidden());
        EXPECT_TRUE(button(f, "Button3")->isHidden());
        EXPECT_FALSE(lineEdit(f, "Edit1")->isHidden());
        EXPECT_EQ(lineEdit(f, "Edit1")->text(), QString());
        EXPECT_EQ(listed(f).size(), 3);
        type(f, "Edit1", QStringLiteral("шк"));
        EXPECT_EQ(listed(f), QStringList({QStringLiteral("ШК-120"), QStringLiteral("ШК-200")}));
        press(f, "Edit1", Qt::Key_Down);
        doubleClickGrid(f);   // chooses, as "Выбрать" does
        EXPECT_EQ(f.result(), QDialog::Accepted);
    });
    roster.Form3->showAsPicker(picked);

    EXPECT_EQ(picked.calls, 1);
    EXPECT_EQ(picked.marka, QStringLiteral("ШК-200"));
    EXPECT_EQ(picked.id, wanted);
    EXPECT_FALSE(button(*roster.Form3, "Button2")->isDefault());
    EXPECT_TRUE(lineEdit(*roster.Form3, "Edit1")->isHidden());
    EXPECT_FALSE(dm->Izdel.isOpen());

    // From now on the search box stays hidden, and no search left in it narrows the list.
    ui.modal.expect(QStringLiteral("Form3"), [&](ui::Form& f) {
        EXPECT_TRUE(lineEdit(f, "Edit1")->isHidden());
        EXPECT_EQ(listed(f).size(), 3);
    });
    roster.Form1->N3->trigger();
    expectScriptPlayed();
}

TEST_F(ProductsTest, PickerOnAnEmptyOrFullyFilteredListHandsBackAnEmptyMarkAndIdZero) {
    struct Case {
        const char* name;
        bool withProduct;
        const char* search;
    };
    const Case cases[] = {{"empty table", false, ""}, {"nothing found", true, "Я"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.withProduct) fixtures.product(QStringLiteral("ШК-120"));
        PickedProduct picked;
        ui.modal.expect(QStringLiteral("Form3"), [&](ui::Form& f) {
            type(f, "Edit1", QString::fromUtf8(c.search));
            EXPECT_TRUE(listed(f).isEmpty());
            click(f, "Button2");
            EXPECT_EQ(f.result(), QDialog::Accepted);
        });
        roster.Form3->showAsPicker(picked);
        EXPECT_EQ(picked.calls, 1);
        EXPECT_EQ(picked.marka, QString());
        EXPECT_EQ(picked.id, 0);
    }
    expectScriptPlayed();
}

TEST_F(ProductsTest, ListSearchNarrowsWidensAndSurvivesTheNextOpening) {
    for (const char* mark : {"O'Brien-1", "OB-2", "ШК-120", "ШК-200", "ШТ-1"}) fixtures.product(QString::fromUtf8(mark));
    ui.modal.expect(QStringLiteral("Form3"), [&](ui::Form& f) {
        type(f, "Edit1", QStringLiteral("Ш"));
        EXPECT_EQ(listed(f).size(), 3);
        type(f, "Edit1", QStringLiteral("К"));
        EXPECT_EQ(listed(f), QStringList({QStringLiteral("ШК-120"), QStringLiteral("ШК-200")}));
        press(f, "Edit1", Qt::Key_Down);
        EXPECT_EQ(dm->Izdel.field(QStringLiteral("marka")).asString(), QStringLiteral("ШК-200"));
        press(f, "Edit1", Qt::Key_Up);
        EXPECT_EQ(dm->Izdel.field(QStringLiteral("marka")).asString(), QStringLiteral("ШК-120"));
        // Every other key reaches the box: Home puts the cursor first, where Backspace erases nothing.
        press(f, "Edit1", Qt::Key_Home);
        press(f, "Edit1", Qt::Key_Backspace);
        EXPECT_EQ(lineEdit(f, "Edit1")->text(), QStringLiteral("ШК"));
        press(f, "Edit1", Qt::Key_End);
        press(f, "Edit1", Qt::Key_Backspace);
        press(f, "Edit1", Qt::Key_Backspace);
        EXPECT_EQ(listed(f).size(), 5);
        type(f, "Edit1", QStringLiteral("O'"));
        EXPECT_EQ(listed(f), QStringList({QStringLiteral("O'Brien-1")}));
    });
    ui.modal.expect(QStringLiteral("Form3"), [&](ui::Form& f) {
        EXPECT_EQ(lineEdit(f, "Edit1")->text(), QStringLiteral("O'"));
        EXPECT_EQ(listed(f), QStringList({QStringLiteral("O'Brien-1")}));
    });
    roster.Form3->showAsList();
    roster.Form3->showAsList();
    EXPECT_TRUE(ui.dialogs.shown().empty());
    expectScriptPlayed();
}

}  // namespace
