// The operation prices: the list TForm4 in list and picker mode with its search, delete and
// price-list export, and the editor TForm10 with its pickers, duplicate checks and statements.

#include "data/data_module.h"
#include "journal/journal_window.h"
#include "refbooks/norms_window.h"
#include "refbooks/pick_receivers.h"
#include "refbooks/price_editor.h"
#include "refbooks/price_list.h"
#include "spreadsheet/desktop.h"
#include "spreadsheet/program.h"
#include "tests/refbooks/refbook_test_helpers.h"
#include "tests/support/process_locale.h"
#include "tests/support/program_fixture.h"
#include "tests/support/test_desktop.h"
#include "tests/support/xlsx_reader.h"
#include "ui/roster.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTableView>
#include <gtest/gtest.h>

namespace {

using namespace refbook_tests;
using testing_support::ScriptedDialogs;
using testing_support::StatementLog;
using testing_support::exec;
using testing_support::scalar;

const QString allFields = QStringLiteral("Все поля должны быть заполнены!");
const QString duplicate = QStringLiteral("Операция с такими параметрами уже заведена!");

const QString operSql = QStringLiteral(
    "select izdel.MARKA, vid_oper.VID, oper.NAIMEN, (SELECT (CASE naimen WHEN 0 THEN 'Готовая продукция' ELSE "
    "'Заготовки' END)) as nmn,\n"
    "count(o_id) norma, min(price)::numeric cena,\n"
    "oper.id, oper.i_id, oper.VID as oper_vid from accounts_dep.norm,accounts_dep.OPER,accounts_dep.IZDEL,"
    "accounts_dep.VID_OPER where OPER.i_id=IZDEL.id and norm.o_id=oper.id\n"
    "and oper.vid=vid_oper.id group by izdel.MARKA, vid_oper.VID, oper.NAIMEN, oper.id, oper.i_id, oper.VID "
    "order by izdel.marka, vid_oper.vid, oper.naimen");

const QString xlsRepSql = QStringLiteral(
    "select izdel.MARKA, vid_oper.VID, oper.NAIMEN,(SELECT (CASE naimen WHEN 0 THEN 'Готовая продукция' ELSE "
    "'Заготовки' END)) as nmn, oper.CENA_new as cena, oper.id, oper.i_id,\n"
    " oper.VID as oper_vid from accounts_dep.OPER,accounts_dep.IZDEL,accounts_dep.VID_OPER where OPER.i_id=IZDEL.id \n"
    "and oper.vid=vid_oper.id order by izdel.marka, vid_oper.vid, oper.naimen");

struct PickedOperation : OperationPickReceiver {
    void receiveOperation(qint64 productId, qint64 operationId, const data::Decimal& finalPrice,
                          const QString& text) override {
        this->productId = productId;
        this->operationId = operationId;
        price = finalPrice;
        this->text = text;
        ++calls;
    }
    qint64 productId = -1;
    qint64 operationId = -1;
    data::Decimal price;
    QString text;
    int calls = 0;
};

// The texts of one column of the norms grid, top to bottom: the last line is the new norm's.
QStringList gridTexts(TForm22& norms, int column) {
    const QAbstractItemModel* model = norms.DBGrid1->model();
    QStringList out;
    for (int row = 0; row < model->rowCount(); ++row) out << model->data(model->index(row, column)).toString();
    return out;
}

QComboBox* typeBox(QWidget& editor) { return control<QComboBox>(editor, "ComboBox1"); }
QCheckBox* pricesBox(QWidget& list) { return control<QCheckBox>(list, "CheckBox1"); }

class PricesTest : public testing_support::ProgramTest {
protected:
    ~PricesTest() override { QLocale::setDefault(QLocale::c()); }

    // A small price list: ШК-120 with welding (three norms) and cutting as a blank (one norm), ВА-1
    // with assembly (one norm), and ВА-1 painting without a norm.
    void priceList() {
        shk = fixtures.product(QStringLiteral("ШК-120"));
        va = fixtures.product(QStringLiteral("ВА-1"));
        welding = fixtures.kind(QStringLiteral("Сварка"));
        cutting = fixtures.kind(QStringLiteral("Резка"));
        assembly = fixtures.kind(QStringLiteral("Сборка"));
        painting = fixtures.kind(QStringLiteral("Покраска"));
        shkWelding = fixtures.oper(welding, shk, 0);
        fixtures.norm(shkWelding, 18, 100);
        fixtures.norm(shkWelding, 15.15, 200);
        fixtures.norm(shkWelding, 16.5, 150);
        shkCutting = fixtures.oper(cutting, shk, 1);
        fixtures.norm(shkCutting, 4.2);
        vaAssembly = fixtures.oper(assembly, va, 0);
        fixtures.norm(vaAssembly, 10);
        vaPainting = fixtures.oper(painting, va, 0);
    }

    QString operations() {
        return scalar(dm->ADO_DB, QStringLiteral(
            "select coalesce(string_agg(i_id || '/' || vid || '/' || naimen, '|' order by id), '') "
            "from accounts_dep.oper")).toString();
    }
    int count(const QString& sql) { return scalar(dm->ADO_DB, sql).toInt(); }

    // The list's next showing runs `inList` in it.
    void expectList(const std::function<void(TForm4&)>& inList) {
        ui.modal.expect(QStringLiteral("Form4"), [inList](ui::Form& f) { inList(static_cast<TForm4&>(f)); });
    }

    qint64 shk = 0, va = 0;
    int welding = 0, cutting = 0, assembly = 0, painting = 0;
    int shkWelding = 0, shkCutting = 0, vaAssembly = 0, vaPainting = 0;
};

TEST_F(PricesTest, JournalMenuListsTheOperationsWithNormsWithTheirLowestPriceAndCount) {
    priceList();
    StatementLog log(dm->ADO_DB);
    ui.modal.expect(QStringLiteral("Form4"), [&](ui::Form& f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Операции"));
        EXPECT_EQ(f.tag(), 0);
        // Ordered by mark, kind and type; the painting of ВА-1 has no norm and is not listed.
        EXPECT_EQ(listed(f, 0), QStringList({QStringLiteral("ВА-1"), QStringLiteral("ШК-120"), QStringLiteral("ШК-120")}));
        EXPECT_EQ(listed(f, 1), QStringList({QStringLiteral("Сборка"), QStringLiteral("Резка"), QStringLiteral("Сварка")}));
        EXPECT_EQ(listed(f, 2), QStringList({QStringLiteral("10"), QStringLiteral("4.2"), QStringLiteral("15.15")}));
        EXPECT_EQ(listed(f, 3), QStringList({QStringLiteral("Готовая продукция"), QStringLiteral("Заготовки"),
                                             QStringLiteral("Готовая продукция")}));
        EXPECT_EQ(listed(f, 4), QStringList({QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("3")}));

        auto* grid = control<ui::DataGrid>(f, "DBGrid1");
        QStringList titles;
        for (int c = 0; c < grid->model()->columnCount(); ++c)
            if (!grid->isColumnHidden(c)) titles << grid->model()->headerData(c, Qt::Horizontal).toString();
        EXPECT_EQ(titles, QStringList({QStringLiteral("Марка"), QStringLiteral("Опреция"), QStringLiteral("Цена (min)"),
                                       QStringLiteral("Вид"), QStringLiteral("Нормы (шт.)")}));
        EXPECT_EQ(grid->model()->columnCount(), 8) << "id, i_id and oper_vid are there, hidden";
        EXPECT_EQ(grid->columnWidth(1), 243);

        EXPECT_EQ(button(f, "Button2")->text(), QStringLiteral("Изменить"));
        EXPECT_FALSE(button(f, "Button2")->isDefault());
        EXPECT_TRUE(button(f, "Button1")->isDefault());
        EXPECT_FALSE(button(f, "Button1")->isHidden());
        EXPECT_FALSE(button(f, "Button3")->isHidden());
        EXPECT_EQ(button(f, "Button5")->text(), QStringLiteral("Excel"));
        EXPECT_EQ(pricesBox(f)->text(), QStringLiteral("Цены"));
        EXPECT_FALSE(pricesBox(f)->isChecked());
        EXPECT_FALSE(lineEdit(f, "Edit1")->isHidden()) << "until the list first serves as a picker";
    });
    roster.Form1->N4->trigger();

    EXPECT_EQ(log.texts(), QStringList({operSql}));
    EXPECT_FALSE(dm->Oper.isOpen());
    EXPECT_TRUE(ui.dialogs.shown().empty());
    expectScriptPlayed();
}

TEST_F(PricesTest, SearchFindsTheMarksThatContainTheTextAnywhere) {
    const int kind = fixtures.kind(QStringLiteral("Сборка"));
    for (const char* mark : {"ШК-120", "А120Б", "ВА-1", "O'Brien 12", "50%-ный"}) {
        const int oper = fixtures.oper(kind, fixtures.product(QString::fromUtf8(mark)));
        fixtures.norm(oper, 1);
    }
    expectList([&](TForm4& f) {
        type(f, "Edit1", QStringLiteral("12"));
        // Cyrillic marks sort before Latin ones (the database collates by Russian rules).
        EXPECT_EQ(listed(f), QStringList({QStringLiteral("А120Б"), QStringLiteral("ШК-120"), QStringLiteral("O'Brien 12")}));
        press(f, "Edit1", Qt::Key_Down);
        EXPECT_EQ(dm->Oper.recNo(), 2);
        press(f, "Edit1", Qt::Key_Up);
        EXPECT_EQ(dm->Oper.recNo(), 1);
        // Keys that type nothing are discarded: Home leaves the cursor at the end.
        press(f, "Edit1", Qt::Key_Home);
        press(f, "Edit1", Qt::Key_Backspace);
        EXPECT_EQ(lineEdit(f, "Edit1")->text(), QStringLiteral("1"));
        EXPECT_EQ(listed(f).size(), 4);
        lineEdit(f, "Edit1")->setText(QStringLiteral("   "));
        EXPECT_EQ(listed(f).size(), 5) << "blanks alone search nothing";
        lineEdit(f, "Edit1")->setText(QStringLiteral("n 1"));
        EXPECT_EQ(listed(f), QStringList({QStringLiteral("O'Brien 12")})) << "the text as typed, blank included";
        lineEdit(f, "Edit1")->setText(QStringLiteral("'b"));
        EXPECT_EQ(listed(f), QStringList({QStringLiteral("O'Brien 12")}));
        lineEdit(f, "Edit1")->setText(QStringLiteral("%"));
        EXPECT_EQ(listed(f), QStringList({QStringLiteral("50%-ный")}));
        lineEdit(f, "Edit1")->setText(QStringLiteral("ва"));
        EXPECT_EQ(listed(f), QStringList({QStringLiteral("ВА-1")})) << "letter case ignored";
    });
    roster.Form4->showAsList();
    EXPECT_TRUE(ui.dialogs.shown().empty());
    expectScriptPlayed();
}

TEST_F(PricesTest, AddJoinsThePickedProductKindAndTypeAndOpensTheNormsOfTheNewOperation) {
    priceList();
    const qint64 cabinet = fixtures.product(QStringLiteral("ШК-180"));
    StatementLog log(dm->ADO_DB);
    qint64 created = 0;
    ui.modal.expect(QStringLiteral("Form4"), [&](ui::Form& f) {
        click(f, "Button1");
        // The new operation shows once its first norm is stored, and the list stands on it.
        EXPECT_EQ(dm->Oper.field(QStringLiteral("id")).asInteger(), created);
        EXPECT_EQ(dm->Oper.field(QStringLiteral("marka")).asString(), QStringLiteral("ШК-180"));
        EXPECT_EQ(dm->Oper.field(QStringLiteral("cena")).asString(), QStringLiteral("7.25"));
    });
    ui.modal.expect(QStringLiteral("Form10"), [&](ui::Form& f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Заведение новой цены за операцию"));
        EXPECT_EQ(f.tag(), 1);
        EXPECT_EQ(lineEdit(f, "Edit1")->text(), QString());
        EXPECT_EQ(lineEdit(f, "Edit2")->text(), QString());
        EXPECT_EQ(typeBox(f)->currentIndex(), 0);
        EXPECT_TRUE(lineEdit(f, "Edit1")->isReadOnly());
        EXPECT_EQ(f.focusWidget(), button(f, "Button3"));
        click(f, "Button3");
        EXPECT_EQ(lineEdit(f, "Edit1")->text(), QStringLiteral("ШК-180"));
        click(f, "Button4");
        EXPECT_EQ(lineEdit(f, "Edit2")->text(), QStringLiteral("Сварка"));
        typeBox(f)->setCurrentIndex(1);
        click(f, "Button1");
        EXPECT_EQ(f.result(), QDialog::Accepted);
    });
    ui.modal.expect(QStringLiteral("Form3"), [&](ui::Form& f) {
        EXPECT_EQ(f.tag(), 1);
        ASSERT_TRUE(dm->Izdel.locate(QStringLiteral("id"), cabinet));
        click(f, "Button2");
    });
    ui.modal.expect(QStringLiteral("Form8"), [&](ui::Form& f) {
        ASSERT_TRUE(dm->Vid_oper.locate(QStringLiteral("id"), welding));
        doubleClickGrid(f);
    });
    ui.modal.expect(QStringLiteral("Form22"), [&](ui::Form& f) {
        auto& norms = static_cast<TForm22&>(f);
        created = norms.operationId();
        EXPECT_EQ(norms.norm.recordCount(), 0);
        EXPECT_TRUE(norms.typeInto(0, 0, QStringLiteral("100")));
        EXPECT_TRUE(norms.typeInto(0, 1, QStringLiteral("7,25")));
        EXPECT_TRUE(norms.typeInto(0, 2, QStringLiteral("0")));
        click(f, "Button1");
        EXPECT_EQ(f.result(), QDialog::Accepted);
    });
    roster.Form4->showAsList();

    // Read in the session that inserted it, never as the largest id.
    const qint64 newest = scalar(dm->ADO_DB, QStringLiteral(
        "select id from accounts_dep.oper where i_id=%1 and vid=%2 and naimen=1").arg(cabinet).arg(welding)).toLongLong();
    EXPECT_EQ(created, newest);
    const QStringList texts = log.texts();
    const QString check = QStringLiteral("select count(ID) as cnt from accounts_dep.OPER where vid=%1 and naimen=1 and i_id=%2")
                              .arg(welding).arg(cabinet);
    const QString insert = QStringLiteral("insert into accounts_dep.oper(vid, naimen, i_id, cena_new)values (%1, 1, %2, 0)")
                               .arg(welding).arg(cabinet);
    const qsizetype at = texts.indexOf(insert);
    ASSERT_GT(at, 0) << texts.join(u'\n').toStdString();
    EXPECT_EQ(texts[at - 1], check);
    EXPECT_EQ(texts[at + 1], QStringLiteral("select lastval() as id"));
    EXPECT_EQ(scalar(dm->ADO_DB, QStringLiteral("select cena_new from accounts_dep.oper where id=%1").arg(created)).toString(),
              QStringLiteral("0"));
    EXPECT_EQ(scalar(dm->ADO_DB, QStringLiteral("select o_id || '/' || norma || '/' || price || '/' || prize "
                                                "from accounts_dep.norm where o_id=%1").arg(created)).toString(),
              QStringLiteral("%1/100/7.25/0").arg(created));
    EXPECT_TRUE(ui.dialogs.shown().empty()) << ui.dialogs.texts().join(u'|').toStdString();
    expectScriptPlayed();
}

TEST_F(PricesTest, ANewOperationLeftWithoutANormIsTakenBackAndTheUserIsTold) {
    priceList();
    const QString before = operations();
    ui.modal.expect(QStringLiteral("Form4"), [&](ui::Form& f) {
        click(f, "Button1");
        EXPECT_EQ(listed(f).size(), 3);
    });
    ui.modal.expect(QStringLiteral("Form10"), [&](ui::Form& f) {
        auto& editor = static_cast<TForm10&>(f);
        editor.receiveProduct(QStringLiteral("ВА-1"), va);
        editor.receiveOperationKind(QStringLiteral("Резка"), cutting);
        click(f, "Button1");
    });
    ui.modal.expect(QStringLiteral("Form22"), [&](ui::Form& f) { f.close(); });   // the close box
    roster.Form4->showAsList();

    EXPECT_EQ(operations(), before);
    ASSERT_EQ(ui.dialogs.shown().size(), 1u);
    EXPECT_EQ(ui.dialogs.shown()[0].kind, ScriptedDialogs::Kind::Message);
    EXPECT_TRUE(ui.dialogs.shown()[0].text.contains(QStringLiteral("нет ни одной нормы")));
    expectScriptPlayed();
}

TEST_F(PricesTest, SaveRefusesMissingFieldsAndACombinationAlreadyEntered) {
    priceList();
    struct Case {
        const char* name;
        bool product;
        bool kind;
        int type;
        QString message;   // empty: accepted
    };
    const Case cases[] = {
        {"no product", false, true, 0, allFields},
        {"no kind", true, false, 0, allFields},
        {"same product, kind and type", true, true, 0, duplicate},
        {"the same as a blank", true, true, 1, QString()},
        {"and again as a blank", true, true, 1, duplicate},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.dialogs.clear();
        const QString before = operations();
        ui.modal.expect(QStringLiteral("Form4"), [&](ui::Form& f) { click(f, "Button1"); });
        ui.modal.expect(QStringLiteral("Form10"), [&](ui::Form& f) {
            auto& editor = static_cast<TForm10&>(f);
            if (c.product) editor.receiveProduct(QStringLiteral("ВА-1"), va);
            if (c.kind) editor.receiveOperationKind(QStringLiteral("Сборка"), assembly);
            typeBox(f)->setCurrentIndex(c.type);
            click(f, "Button1");
            EXPECT_EQ(f.isVisible(), !c.message.isEmpty());
        });
        if (c.message.isEmpty()) {
            ui.modal.expect(QStringLiteral("Form22"), [&](ui::Form& f) {
                auto& norms = static_cast<TForm22&>(f);
                norms.typeInto(0, 0, QStringLiteral("100"));
                norms.typeInto(0, 1, QStringLiteral("3"));
                norms.typeInto(0, 2, QStringLiteral("0"));
                click(f, "Button1");
            });
        }
        roster.Form4->showAsList();
        if (c.message.isEmpty()) {
            EXPECT_TRUE(ui.dialogs.shown().empty());
            EXPECT_EQ(count(QStringLiteral("select count(*) from accounts_dep.oper where i_id=%1 and vid=%2")
                                .arg(va).arg(assembly)), 2);
        } else {
            expectOnlyError(ui.dialogs, c.message);
            EXPECT_EQ(operations(), before);
        }
    }
    expectScriptPlayed();
}

TEST_F(PricesTest, ChangeShowsTheRowAndMayKeepItsOwnCombinationButNotTakeAnother) {
    priceList();
    StatementLog log(dm->ADO_DB);
    // Row 3 is the welding of ШК-120; it becomes a blank, then tries to take the cutting's place.
    const auto changeThirdRow = [&](const std::function<void(TForm10&)>& inEditor) {
        expectList([&](TForm4& f) {
            dm->Oper.setRecNo(3);
            click(f, "Button2");
        });
        ui.modal.expect(QStringLiteral("Form10"), [inEditor](ui::Form& f) { inEditor(static_cast<TForm10&>(f)); });
        roster.Form4->showAsList();
    };

    changeThirdRow([&](TForm10& editor) {
        EXPECT_EQ(editor.windowTitle(), QStringLiteral("Изменение данных о цене за операцию"));
        EXPECT_EQ(editor.tag(), 2);
        EXPECT_EQ(editor.Edit1->text(), QStringLiteral("ШК-120"));
        EXPECT_EQ(editor.Edit2->text(), QStringLiteral("Сварка"));   // the kind's padding trimmed
        EXPECT_EQ(editor.ComboBox1->currentIndex(), 0);
        click(editor, "Button1");   // unchanged: its own id is left out of the check
        EXPECT_EQ(editor.result(), QDialog::Accepted);
    });
    EXPECT_TRUE(ui.dialogs.shown().empty());
    const QString ownCheck = QStringLiteral(
        "select count(*) as cnt from accounts_dep.OPER where vid=%1 and naimen=0 and i_id=%2 and id<>%3")
                                 .arg(welding).arg(shk).arg(shkWelding);
    const QString update = QStringLiteral("update accounts_dep.oper set vid=%1, naimen=0,  i_id=%2 where id=%3")
                               .arg(welding).arg(shk).arg(shkWelding);
    EXPECT_TRUE(log.texts().contains(ownCheck));
    EXPECT_TRUE(log.texts().contains(update));

    changeThirdRow([&](TForm10& editor) {
        editor.receiveOperationKind(QStringLiteral("Резка"), cutting);
        editor.ComboBox1->setCurrentIndex(1);
        click(editor, "Button1");
        EXPECT_TRUE(editor.isVisible());
        click(editor, "Button2");
    });
    expectOnlyError(ui.dialogs, duplicate);
    EXPECT_EQ(count(QStringLiteral("select count(*) from accounts_dep.oper where id=%1 and vid=%2 and naimen=0")
                        .arg(shkWelding).arg(welding)), 1);

    // A product type other than 0 and 1 reads as "Заготовки", and is saved so.
    exec(dm->ADO_DB, QStringLiteral("update accounts_dep.oper set naimen=2 where id=%1").arg(shkWelding));
    ui.dialogs.clear();
    expectList([&](TForm4& f) {
        ASSERT_TRUE(dm->Oper.locate(QStringLiteral("id"), shkWelding));
        EXPECT_EQ(dm->Oper.field(QStringLiteral("nmn")).asString(), QStringLiteral("Заготовки"));
        click(f, "Button2");
        EXPECT_EQ(dm->Oper.recNo(), 1) << "the list is read again from its first row";
    });
    ui.modal.expect(QStringLiteral("Form10"), [&](ui::Form& f) {
        EXPECT_EQ(typeBox(f)->currentIndex(), 1);
        click(f, "Button1");
    });
    roster.Form4->showAsList();
    EXPECT_TRUE(ui.dialogs.shown().empty());
    EXPECT_EQ(count(QStringLiteral("select naimen from accounts_dep.oper where id=%1").arg(shkWelding)), 1);
    expectScriptPlayed();
}

TEST_F(PricesTest, DeleteAsksFirstAndRemovesTheCurrentOperation) {
    priceList();
    StatementLog log(dm->ADO_DB);
    ui.dialogs.answer(false);
    ui.dialogs.answer(true);
    expectList([&](TForm4& f) {
        dm->Oper.setRecNo(2);
        click(f, "Button3");
        EXPECT_EQ(listed(f).size(), 3);
        dm->Oper.setRecNo(2);
        click(f, "Button3");
        EXPECT_EQ(listed(f, 1), QStringList({QStringLiteral("Сборка"), QStringLiteral("Сварка")}));
        EXPECT_EQ(dm->Oper.recNo(), 1);
    });
    roster.Form4->showAsList();
    EXPECT_EQ(count(QStringLiteral("select count(*) from accounts_dep.oper where id=%1").arg(shkCutting)), 0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from accounts_dep.oper")), 3);
    ASSERT_EQ(ui.dialogs.shown().size(), 2u);
    for (const ScriptedDialogs::Shown& box : ui.dialogs.shown()) {
        EXPECT_EQ(box.text, QStringLiteral("Удалить операцию?"));
        EXPECT_EQ(box.caption, QStringLiteral("Удаление"));
    }
    int deletes = 0;
    for (const data::Statement& s : log.statements()) {
        if (s.text != QStringLiteral("delete from accounts_dep.oper where id=:id")) continue;
        ++deletes;
        EXPECT_EQ(s.param(QStringLiteral("id")).toLongLong(), shkCutting);
    }
    EXPECT_EQ(deletes, 1);
    expectScriptPlayed();
}

// Shift records name their operation, and the journal and the reports find them through it: an
// operation with records stays, with the database's refusal in Russian, and the list as it was.
TEST_F(PricesTest, AnOperationWithShiftRecordsIsNotDeleted) {
    priceList();
    const int worker = fixtures.worker(QStringLiteral("Иванов И.И."));
    fixtures.record({.worker = worker, .product = shk, .oper = shkCutting, .day = QDate(2024, 3, 5)});
    const QString journalOfTheDay = QStringLiteral(
        "select count(*) from accounts_dep.smena s join accounts_dep.oper o on o.id = s.o_id "
        "where s.data = '05.03.2024'");
    ASSERT_EQ(count(journalOfTheDay), 1);
    ui.dialogs.answer(true);
    expectList([&](TForm4& f) {
        dm->Oper.setRecNo(2);
        ASSERT_EQ(dm->Oper.field(QStringLiteral("id")).asInteger(), shkCutting);
        click(f, "Button3");
        EXPECT_TRUE(f.isVisible());
        EXPECT_EQ(listed(f).size(), 3);
        EXPECT_EQ(dm->Oper.recNo(), 2);
    });
    roster.Form4->showAsList();

    ASSERT_EQ(ui.dialogs.shown().size(), 2u);
    EXPECT_EQ(ui.dialogs.shown()[0].text, QStringLiteral("Удалить операцию?"));
    EXPECT_EQ(ui.dialogs.shown()[1].kind, ScriptedDialogs::Kind::StandardError);
    EXPECT_EQ(ui.dialogs.shown()[1].text,
              QStringLiteral("Операцию \"ШК-120; Резка; Заготовки\" нельзя удалить: по ней записаны смены"));
    EXPECT_EQ(count(QStringLiteral("select count(*) from accounts_dep.oper")), 4);
    EXPECT_EQ(count(QStringLiteral("select count(*) from accounts_dep.norm where o_id=%1").arg(shkCutting)), 1);
    EXPECT_EQ(count(journalOfTheDay), 1);
    expectScriptPlayed();
}

TEST_F(PricesTest, ADoubleClickChangesUnlessPricesIsTickedThenItOpensTheNorms) {
    priceList();
    expectList([&](TForm4& f) {
        dm->Oper.setRecNo(3);
        doubleClickGrid(f);                  // the editor
        pricesBox(f)->setChecked(true);
        dm->Oper.setRecNo(3);
        doubleClickGrid(f);                  // the norms
    });
    ui.modal.expect(QStringLiteral("Form10"), [&](ui::Form& f) {
        EXPECT_EQ(f.tag(), 2);
        click(f, "Button2");
    });
    ui.modal.expect(QStringLiteral("Form22"), [&](ui::Form& f) {
        auto& norms = static_cast<TForm22&>(f);
        EXPECT_EQ(norms.operationId(), shkWelding);
        EXPECT_EQ(norms.norm.filter(), QStringLiteral("o_id=%1").arg(shkWelding));
        EXPECT_TRUE(norms.norm.filtered());
        EXPECT_EQ(gridTexts(norms, 0), QStringList({QStringLiteral("100"), QStringLiteral("150"), QStringLiteral("200"), QString()}));
        f.close();
    });
    roster.Form4->showAsList();
    expectScriptPlayed();
}

// The price a shift record gets: the lowest norm price, doubled on a day off, then raised by 20 %
// in shift 3 and by 50 % in overtime.
TEST_F(PricesTest, PickerHandsBackProductOperationFinalPriceAndText) {
    struct Case {
        bool dayOff;
        int shift;
        const char* price;   // of the lowest norm price 10, and of 15.15
        const char* exact;
    };
    const Case cases[] = {
        {false, 1, "10", "15.15"}, {false, 2, "10", "15.15"}, {true, 1, "20", "30.3"},
        {false, 3, "12", "18.18"}, {false, 4, "15", "22.725"}, {true, 3, "24", "36.36"},
        {true, 4, "30", "45.45"},
    };
    priceList();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.shift) + (c.dayOff ? " day off" : ""));
        roster.Form1->CBox1->setChecked(c.dayOff);
        roster.Form1->chooseShift(c.shift);
        PickedOperation assemblyPick, weldingPick;
        ui.modal.expect(QStringLiteral("Form4"), [&](ui::Form& f) {
            EXPECT_EQ(f.tag(), 1);
            EXPECT_EQ(dm->Oper.recNo(), 1);
            click(f, "Button2");
        });
        roster.Form4->showAsPicker(assemblyPick);
        ui.modal.expect(QStringLiteral("Form4"), [&](ui::Form& f) {
            EXPECT_EQ(dm->Oper.field(QStringLiteral("id")).asInteger(), shkWelding) << "on the record's operation";
            doubleClickGrid(f);
        });
        roster.Form4->showAsPicker(weldingPick, shkWelding);

        EXPECT_EQ(assemblyPick.calls, 1);
        EXPECT_EQ(assemblyPick.productId, va);
        EXPECT_EQ(assemblyPick.operationId, vaAssembly);
        EXPECT_EQ(assemblyPick.price.toString(), QString::fromLatin1(c.price));
        EXPECT_EQ(assemblyPick.text, QStringLiteral("ВА-1; Сборка; Готовая продукция"));
        EXPECT_EQ(weldingPick.operationId, shkWelding);
        EXPECT_EQ(weldingPick.price.toString(), QString::fromLatin1(c.exact));
    }
    PickedOperation blankPick;
    ui.modal.expect(QStringLiteral("Form4"), [&](ui::Form& f) { click(f, "Button2"); });
    roster.Form4->showAsPicker(blankPick, shkCutting);
    EXPECT_EQ(blankPick.text, QStringLiteral("ШК-120; Резка; Заготовки"));
    EXPECT_EQ(blankPick.productId, shk);
    expectScriptPlayed();
}

TEST_F(PricesTest, ThePickerSearchesThenLeavesOperOpenOnTheChoiceWithTheSearchHidden) {
    priceList();
    lineEdit(*roster.Form4, "Edit1")->setText(QStringLiteral("ВА"));   // a list-mode search left in it
    pricesBox(*roster.Form4)->setChecked(true);
    PickedOperation picked;
    ui.modal.expect(QStringLiteral("Form4"), [&](ui::Form& f) {
        EXPECT_EQ(button(f, "Button2")->text(), QStringLiteral("Выбрать"));
        EXPECT_TRUE(button(f, "Button2")->isDefault());
        EXPECT_TRUE(button(f, "Button1")->isHidden());
        EXPECT_TRUE(button(f, "Button3")->isHidden());
        EXPECT_EQ(lineEdit(f, "Edit1")->text(), QString());
        EXPECT_EQ(listed(f).size(), 3);
        type(f, "Edit1", QStringLiteral("шк"));
        press(f, "Edit1", Qt::Key_Down);
        doubleClickGrid(f);   // with "Цены" ticked it still chooses
        EXPECT_EQ(f.result(), QDialog::Accepted);
    });
    roster.Form4->showAsPicker(picked);

    EXPECT_EQ(picked.operationId, shkWelding);
    EXPECT_TRUE(dm->Oper.isOpen());
    EXPECT_FALSE(dm->Oper.filtered());
    EXPECT_EQ(dm->Oper.recordCount(), 3);
    EXPECT_EQ(dm->Oper.field(QStringLiteral("id")).asInteger(), shkWelding);
    EXPECT_FALSE(button(*roster.Form4, "Button2")->isDefault());
    EXPECT_TRUE(lineEdit(*roster.Form4, "Edit1")->isHidden());

    // List mode reads the list afresh, its search box still hidden.
    const int extra = fixtures.oper(painting, shk, 0);
    fixtures.norm(extra, 5);
    expectList([&](TForm4& f) {
        EXPECT_TRUE(lineEdit(f, "Edit1")->isHidden());
        EXPECT_EQ(listed(f).size(), 4);
        EXPECT_EQ(button(f, "Button2")->text(), QStringLiteral("Изменить"));
        EXPECT_FALSE(button(f, "Button1")->isHidden());
    });
    roster.Form4->showAsList();
    EXPECT_FALSE(dm->Oper.isOpen());
    expectScriptPlayed();
}

TEST_F(PricesTest, APickerOnAnEmptyListHandsBackNothing) {
    PickedOperation picked;
    ui.modal.expect(QStringLiteral("Form4"), [&](ui::Form& f) {
        doubleClickGrid(f);
        EXPECT_NE(f.result(), QDialog::Accepted);
    });
    roster.Form4->showAsPicker(picked);
    EXPECT_EQ(picked.calls, 0);
    EXPECT_TRUE(ui.dialogs.shown().empty());
    expectScriptPlayed();
}

// An older database may hold norms without a price. An operation with some priced norms shows the
// lowest of those; one whose norms all lack a price says so instead of an empty lowest price, and
// the picker does not hand it to a shift record: the user is told and chooses another.
TEST_F(PricesTest, AnOperationWhoseNormsAllLackAPriceSaysSoAndCannotBePicked) {
    priceList();
    testing_support::exec(dm->ADO_DB, QStringLiteral("update accounts_dep.norm set price=null where o_id=%1 or "
                                                     "(o_id=%2 and norma=200)").arg(shkCutting).arg(shkWelding));
    expectList([&](TForm4& f) {
        EXPECT_EQ(listed(f, 2), QStringList({QStringLiteral("10"), QStringLiteral("нет цены"), QStringLiteral("16.5")}));
        EXPECT_EQ(listed(f, 4), QStringList({QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("3")}));
    });
    roster.Form4->showAsList();
    EXPECT_TRUE(ui.dialogs.shown().empty());

    PickedOperation picked;
    ui.modal.expect(QStringLiteral("Form4"), [&](ui::Form& f) {
        ASSERT_TRUE(dm->Oper.locate(QStringLiteral("id"), shkCutting));
        click(f, "Button2");
        EXPECT_TRUE(f.isVisible());
        expectOnlyError(ui.dialogs, QStringLiteral("У операции нет цены: ни у одной её нормы цена не задана"));
        doubleClickGrid(f);
        EXPECT_TRUE(f.isVisible());
        ASSERT_TRUE(dm->Oper.locate(QStringLiteral("id"), shkWelding));
        click(f, "Button2");
        EXPECT_EQ(f.result(), QDialog::Accepted);
    });
    roster.Form4->showAsPicker(picked);
    EXPECT_EQ(picked.calls, 1);
    EXPECT_EQ(picked.operationId, shkWelding);
    EXPECT_EQ(picked.price.toString(), QStringLiteral("16.5"));
    EXPECT_EQ(ui.dialogs.shown().size(), 2u);
    expectScriptPlayed();
}

TEST_F(PricesTest, ExportWritesTheHeaderAndEveryOperationWithItsListPrice) {
    priceList();
    QLocale::setDefault(QLocale(QLocale::Russian));
    exec(dm->ADO_DB, QStringLiteral("update accounts_dep.oper set cena_new=12.5 where id=%1").arg(shkWelding));
    exec(dm->ADO_DB, QStringLiteral("update accounts_dep.oper set cena_new=15.15 where id=%1").arg(vaPainting));
    exec(dm->ADO_DB, QStringLiteral("update accounts_dep.oper set cena_new=123456789012345.6789 where id=%1").arg(vaAssembly));
    exec(dm->ADO_DB, QStringLiteral("update accounts_dep.oper set cena_new=null where id=%1").arg(shkCutting));
    testing_support::TestDesktop desktop;
    StatementLog log(dm->ADO_DB);
    expectList([&](TForm4& f) {
        type(f, "Edit1", QStringLiteral("ШК"));   // neither the search
        pricesBox(f)->setChecked(true);           // nor "Цены" change what is exported
        dm->Oper.setRecNo(2);
        log.clear();
        click(f, "Button5");
        EXPECT_EQ(listed(f).size(), 2);
        EXPECT_EQ(dm->Oper.recNo(), 2);
    });
    roster.Form4->showAsList();
    EXPECT_EQ(log.texts(), QStringList({xlsRepSql}));
    EXPECT_FALSE(roster.Form4->XLS_Rep.isOpen());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(ui.dialogs.shown().empty()) << ui.dialogs.texts().join(u'|').toStdString();

    ASSERT_EQ(desktop.files().size(), 1);
    EXPECT_EQ(desktop.opened, desktop.files());
    const std::vector<testing_support::XlsxSheet> sheets = testing_support::readXlsx(desktop.files()[0]);
    ASSERT_EQ(sheets.size(), 1u);
    const testing_support::XlsxSheet& sheet = sheets[0];
    QStringList rows;
    for (int row = 1; row <= sheet.rowCount(); ++row) {
        QStringList cells;
        for (int column = 1; column <= 4; ++column) cells << sheet.text(row, column);
        rows << cells.join(u'|');
    }
    EXPECT_EQ(rows, QStringList({
                        QStringLiteral("Марка|Операция|Цена|Вид"),
                        QStringLiteral("ВА-1|Покраска|15.15|Готовая продукция"),   // no norm, still exported
                        QStringLiteral("ВА-1|Сборка|123456789012346|Готовая продукция"),
                        QStringLiteral("ШК-120|Резка|0|Заготовки"),
                        QStringLiteral("ШК-120|Сварка|12.5|Готовая продукция"),
                    }));
    for (int row = 2; row <= 5; ++row) EXPECT_TRUE(sheet.at(row, 3)->number) << "row " << row;
    EXPECT_FALSE(sheet.at(1, 3)->number);
}

// Under the C locale and the department's: each mark and kind name is text exactly as stored,
// however much it looks like a number, and each price a number standing in the file as the
// decimal the database holds, never an exponent, a comma or a binary artefact (8.38 is not
// 8.380000000000001); the reader refuses any other.
TEST_F(PricesTest, ExportWritesMarksAsTextAndPricesAsTheirExactDecimalsUnderEveryLocale) {
    const struct { const char* mark; const char* kind; const char* price; const char* stored; } cases[] = {
        {"007", "Сборка", "279.5", "279.5"},
        {"1E5", "Сборка", "8.38", "8.38"},
        {"12.50", "12.50", "15.15", "15.15"},
        {"-3", "Сборка", "0.0001", "0.0001"},
        {" 42", " 42", "100000", "100000"},
        {"М-1", "-3", "99999999999999.9999", "100000000000000"},   // the 15 digits a spreadsheet keeps
        {"М-2", "1E5", "1234567.125", "1234567.125"},
    };
    for (const auto& c : cases) {
        const int oper = fixtures.oper(fixtures.kind(QString::fromUtf8(c.kind)), fixtures.product(QString::fromUtf8(c.mark)));
        exec(dm->ADO_DB, QStringLiteral("update accounts_dep.oper set cena_new=%1 where id=%2").arg(QLatin1String(c.price)).arg(oper));
    }
    for (const char* locale : testing_support::exportLocales) {
        SCOPED_TRACE(locale);
        const testing_support::ProcessLocale running(locale);
        testing_support::TestDesktop desktop;
        roster.Form4->Button5Click();
        EXPECT_TRUE(ui.dialogs.shown().empty()) << ui.dialogs.texts().join(u'|').toStdString();
        ASSERT_EQ(desktop.files().size(), 1);
        const std::vector<testing_support::XlsxSheet> sheets = testing_support::readXlsx(desktop.files()[0]);
        ASSERT_EQ(sheets.size(), 1u);
        const testing_support::XlsxSheet& sheet = sheets[0];
        QStringList rows;
        for (int row = 2; row <= sheet.rowCount(); ++row) {
            ASSERT_TRUE(sheet.at(row, 1) && sheet.at(row, 2) && sheet.at(row, 3)) << "row " << row;
            EXPECT_FALSE(sheet.at(row, 1)->number || sheet.at(row, 2)->number) << "row " << row;
            EXPECT_TRUE(sheet.at(row, 3)->number) << "row " << row;
            rows << sheet.text(row, 1) + u'|' + sheet.text(row, 2) + u'|' + sheet.text(row, 3);
        }
        QStringList expected;
        for (const auto& c : cases)
            expected << QString::fromUtf8(c.mark) + u'|' + QString::fromUtf8(c.kind) + u'|' + QString::fromLatin1(c.stored);
        rows.sort();
        expected.sort();
        EXPECT_EQ(rows, expected);
    }
}

TEST_F(PricesTest, ExportStopsWithTheNormalCursorWhenNoWorkbookCanBeOpened) {
    priceList();
    testing_support::TestDesktop desktop;
    spreadsheet::Desktop nowhere;   // no folder for workbooks: the spreadsheet cannot start
    nowhere.open = [](const QString&, const spreadsheet::OpenOutcome& outcome) { outcome(true); };
    spreadsheet::setDesktop(&nowhere);
    StatementLog log(dm->ADO_DB);
    roster.Form4->Button5Click();
    EXPECT_EQ(ui.dialogs.texts(), QStringList({QStringLiteral("Невозможно открыть Microsoft Excel."),
                                               QStringLiteral("Ошибка открытия файла Microsoft Excel.")}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(roster.Form4->XLS_Rep.isOpen());
    EXPECT_TRUE(desktop.opened.isEmpty());
    EXPECT_EQ(log.texts(), QStringList({xlsRepSql}));
}

}  // namespace
