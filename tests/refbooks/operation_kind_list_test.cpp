// The operation kind reference book: the list TForm8 in list and picker mode, and the editor TForm9
// that writes through the shared dataset Vid_oper.

#include "data/data_module.h"
#include "journal/journal_window.h"
#include "refbooks/operation_kind_editor.h"
#include "refbooks/operation_kind_list.h"
#include "refbooks/pick_receivers.h"
#include "tests/refbooks/refbook_test_helpers.h"
#include "tests/support/program_fixture.h"
#include "ui/roster.h"

#include <QAction>
#include <gtest/gtest.h>

namespace {

using namespace refbook_tests;
using testing_support::ScriptedDialogs;
using testing_support::scalar;

const QString allFields = QStringLiteral("Все поля должны быть заполнены!");
const QString duplicate = QStringLiteral("Такая операция уже заведена!");

struct PickedKind : OperationKindPickReceiver {
    void receiveOperationKind(const QString& vid, qint64 id) override {
        this->vid = vid;
        this->id = id;
        ++calls;
    }
    QString vid;
    qint64 id = -1;
    int calls = 0;
};

class OperationKindsTest : public testing_support::ProgramTest {
protected:
    // The names in the table by id, as the database keeps them without the padding.
    QString kindsInDatabase() {
        return scalar(dm->ADO_DB, QStringLiteral(
            "select coalesce(string_agg(trim(vid), '|' order by id), '') from accounts_dep.vid_oper")).toString();
    }

    void expectOneError(const QString& text) { expectOnlyError(ui.dialogs, text); }
};

TEST_F(OperationKindsTest, JournalMenuOpensTheWholeListWithTheSearchHidden) {
    fixtures.kind(QStringLiteral("Сборка"));
    fixtures.kind(QStringLiteral("Покраска"));
    // A search a picker left behind must not narrow the list.
    dm->Vid_oper.setFilter(QStringLiteral("vid like 'С%'"));
    dm->Vid_oper.setFiltered(true);

    ui.modal.expect(QStringLiteral("Form8"), [&](ui::Form& f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Виды операций (8)"));
        EXPECT_EQ(f.tag(), 0);
        EXPECT_EQ(listed(f), QStringList({QStringLiteral("Покраска"), QStringLiteral("Сборка")}));
        EXPECT_EQ(button(f, "Button2")->text(), QStringLiteral("Изменить"));
        EXPECT_FALSE(button(f, "Button2")->isDefault());
        EXPECT_FALSE(button(f, "Button1")->isHidden());
        EXPECT_FALSE(button(f, "Button3")->isHidden());
        EXPECT_TRUE(lineEdit(f, "Edit1")->isHidden());
    });
    roster.Form1->N6->trigger();

    EXPECT_FALSE(dm->Vid_oper.isOpen());
    EXPECT_TRUE(ui.dialogs.shown().empty());
    expectScriptPlayed();
}

TEST_F(OperationKindsTest, AddTrimsTheNameAndWritesItThroughTheDataset) {
    fixtures.kind(QStringLiteral("Сборка"));
    lineEdit(*roster.Form9, "Edit1")->setText(QStringLiteral("от прошлого раза"));
    testing_support::StatementLog log(dm->ADO_DB);

    ui.modal.expect(QStringLiteral("Form8"), [&](ui::Form& f) { click(f, "Button1"); });
    ui.modal.expect(QStringLiteral("Form9"), [&](ui::Form& f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Заведение нового вида операций"));
        EXPECT_EQ(f.tag(), 1);
        EXPECT_EQ(lineEdit(f, "Edit1")->text(), QString());
        lineEdit(f, "Edit1")->setText(QStringLiteral("  Резка O'Brien  "));
        click(f, "Button1");
        EXPECT_EQ(f.result(), QDialog::Accepted);
    });
    roster.Form8->showAsList();

    EXPECT_EQ(kindsInDatabase(), QStringLiteral("Сборка|Резка O'Brien"));
    EXPECT_TRUE(log.texts().contains(QStringLiteral(
        "select count(*) as cnt from accounts_dep.vid_oper where upper(vid)='РЕЗКА O''BRIEN'")));
    // The name travels as a value of the dataset's own statement, never inside a text built here.
    int carrying = 0;
    for (const data::Statement& s : log.statements()) {
        if (s.paramValues.contains(QVariant(QStringLiteral("Резка O'Brien")))) ++carrying;
        EXPECT_FALSE(s.text.contains(QStringLiteral("Резка O'Brien"))) << s.text.toStdString();
    }
    EXPECT_EQ(carrying, 1);
    EXPECT_TRUE(ui.dialogs.shown().empty());
    expectScriptPlayed();
}

TEST_F(OperationKindsTest, BlankAndDuplicateNamesAreRefusedAndTheEditorKeepsWhatWasTyped) {
    struct Case {
        const char* typed;
        QString message;
    };
    const Case cases[] = {
        {"", allFields},
        {"   ", allFields},
        {"сборка", duplicate},         // another letter case
        {"  СБОРКА  ", duplicate},     // and blanks around
    };
    fixtures.kind(QStringLiteral("Сборка"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        ui.dialogs.clear();
        ui.modal.expect(QStringLiteral("Form8"), [&](ui::Form& f) { click(f, "Button1"); });
        ui.modal.expect(QStringLiteral("Form9"), [&](ui::Form& f) {
            lineEdit(f, "Edit1")->setText(QString::fromUtf8(c.typed));
            click(f, "Button1");
            EXPECT_NE(f.result(), QDialog::Accepted);
            EXPECT_TRUE(f.isVisible());
            EXPECT_EQ(lineEdit(f, "Edit1")->text(), QString::fromUtf8(c.typed));
        });
        roster.Form8->showAsList();
        expectOneError(c.message);
        EXPECT_EQ(kindsInDatabase(), QStringLiteral("Сборка"));
    }
    expectScriptPlayed();
}

TEST_F(OperationKindsTest, RenameMayKeepItsOwnNameInAnotherCaseButNotTakeAnother) {
    fixtures.kind(QStringLiteral("Покраска"));
    const int assembly = fixtures.kind(QStringLiteral("Сборка"));
    testing_support::StatementLog log(dm->ADO_DB);

    const auto renameSecondRow = [&](const QString& newName) {
        ui.modal.expect(QStringLiteral("Form8"), [&](ui::Form& f) {
            dm->Vid_oper.setRecNo(2);
            doubleClickGrid(f);   // acts as "Изменить"
        });
        ui.modal.expect(QStringLiteral("Form9"), [&](ui::Form& f) {
            EXPECT_EQ(f.windowTitle(), QStringLiteral("Изменение данных вида операции"));
            EXPECT_EQ(f.tag(), 2);
            lineEdit(f, "Edit1")->setText(newName);
            click(f, "Button1");
        });
        roster.Form8->showAsList();
    };

    renameSecondRow(QStringLiteral("покраска"));
    expectOneError(duplicate);
    EXPECT_EQ(kindsInDatabase(), QStringLiteral("Покраска|Сборка"));

    ui.dialogs.clear();
    log.clear();
    renameSecondRow(QStringLiteral("СБОРКА"));
    EXPECT_TRUE(ui.dialogs.shown().empty());
    EXPECT_TRUE(log.texts().contains(
        QStringLiteral("select count(*) as cnt from accounts_dep.vid_oper where upper(vid)='СБОРКА' and id<>%1")
            .arg(assembly)));
    EXPECT_EQ(kindsInDatabase(), QStringLiteral("Покраска|СБОРКА"));
    EXPECT_EQ(scalar(dm->ADO_DB, QStringLiteral("select id from accounts_dep.vid_oper where vid='СБОРКА'")).toInt(),
              assembly);
    expectScriptPlayed();
}

TEST_F(OperationKindsTest, RenameShowsTheTrimmedNameOfTheCurrentRow) {
    fixtures.kind(QStringLiteral("Покраска"));
    fixtures.kind(QStringLiteral("Сборка"));
    ui.modal.expect(QStringLiteral("Form8"), [&](ui::Form& f) {
        dm->Vid_oper.setRecNo(2);
        click(f, "Button2");
    });
    ui.modal.expect(QStringLiteral("Form9"), [&](ui::Form& f) {
        EXPECT_EQ(lineEdit(f, "Edit1")->text(), QStringLiteral("Сборка"));   // char(128) padding gone
        click(f, "Button2");
    });
    roster.Form8->showAsList();
    EXPECT_EQ(kindsInDatabase(), QStringLiteral("Покраска|Сборка"));
    expectScriptPlayed();
}

// The list shows a long name cut to its column; saving it unchanged keeps every letter.
TEST_F(OperationKindsTest, SavingALongNameUnchangedKeepsItWhole) {
    const QString longName = QStringLiteral("Окраска порошковая ") + QString(80, QChar(u'Ж'));   // 99 letters
    fixtures.kind(longName);
    ui.modal.expect(QStringLiteral("Form8"), [&](ui::Form& f) {
        EXPECT_EQ(listed(f), QStringList({longName.left(50)}));
        click(f, "Button2");
    });
    ui.modal.expect(QStringLiteral("Form9"), [&](ui::Form& f) {
        EXPECT_EQ(lineEdit(f, "Edit1")->text(), longName);
        click(f, "Button1");
        EXPECT_EQ(f.result(), QDialog::Accepted);
    });
    roster.Form8->showAsList();
    EXPECT_EQ(kindsInDatabase(), longName);
    EXPECT_TRUE(ui.dialogs.shown().empty());
    expectScriptPlayed();
}

TEST_F(OperationKindsTest, DeleteAsksFirstAndRemovesOnlyTheCurrentRow) {
    fixtures.kind(QStringLiteral("Покраска"));
    fixtures.kind(QStringLiteral("Сборка"));
    fixtures.kind(QStringLiteral("Сверловка"));
    ui.dialogs.answer(false);
    ui.dialogs.answer(true);
    ui.modal.expect(QStringLiteral("Form8"), [&](ui::Form& f) {
        dm->Vid_oper.setRecNo(2);   // Сборка, ordered by name
        click(f, "Button3");        // No
        EXPECT_EQ(listed(f).size(), 3);
        dm->Vid_oper.setRecNo(2);
        click(f, "Button3");        // Yes
        EXPECT_EQ(listed(f), QStringList({QStringLiteral("Покраска"), QStringLiteral("Сверловка")}));
        EXPECT_EQ(dm->Vid_oper.recNo(), 1);   // read again
    });
    roster.Form8->showAsList();

    EXPECT_EQ(kindsInDatabase(), QStringLiteral("Покраска|Сверловка"));
    ASSERT_EQ(ui.dialogs.shown().size(), 2u);
    for (const ScriptedDialogs::Shown& box : ui.dialogs.shown()) {
        EXPECT_EQ(box.kind, ScriptedDialogs::Kind::Question);
        EXPECT_EQ(box.text, QStringLiteral("Удалить вид операции?"));
        EXPECT_EQ(box.caption, QStringLiteral("Удаление"));
    }
    expectScriptPlayed();
}

TEST_F(OperationKindsTest, DeleteOfAKindThatPricedOperationsUseIsRefusedByTheDatabase) {
    const qint64 product = fixtures.product(QStringLiteral("ШК-120"));
    const int used = fixtures.kind(QStringLiteral("Сборка"));
    fixtures.oper(used, product);
    ui.dialogs.answer(true);
    ui.modal.expect(QStringLiteral("Form8"), [&](ui::Form& f) {
        click(f, "Button3");
        EXPECT_EQ(listed(f), QStringList({QStringLiteral("Сборка")}));
        EXPECT_EQ(dm->Vid_oper.recNo(), 1);
    });
    roster.Form8->showAsList();

    ASSERT_EQ(ui.dialogs.shown().size(), 2u);
    EXPECT_EQ(ui.dialogs.shown()[1].kind, ScriptedDialogs::Kind::StandardError);
    // What keeps the kind, in Russian: not the server's English key text.
    EXPECT_EQ(ui.dialogs.shown()[1].text, QStringLiteral("Вид операции нельзя удалить: по нему заведены цены операций"));
    EXPECT_EQ(kindsInDatabase(), QStringLiteral("Сборка"));
    EXPECT_EQ(scalar(dm->ADO_DB, QStringLiteral("select count(*) from accounts_dep.oper")).toInt(), 1);
    expectScriptPlayed();
}

TEST_F(OperationKindsTest, ChangeAndDeleteOnAnEmptyListDoNothing) {
    testing_support::StatementLog log(dm->ADO_DB);
    ui.modal.expect(QStringLiteral("Form8"), [&](ui::Form& f) {
        log.clear();
        click(f, "Button2");
        click(f, "Button3");
        EXPECT_TRUE(log.texts().isEmpty()) << log.texts().join(u'\n').toStdString();
    });
    roster.Form8->showAsList();
    EXPECT_EQ(kindsInDatabase(), QString());
    EXPECT_TRUE(ui.dialogs.shown().empty());
    expectScriptPlayed();   // neither the editor nor a question came up
}

TEST_F(OperationKindsTest, ANameLongerThanTheColumnIsRefusedWithAMessageAndLeavesNothingPending) {
    fixtures.kind(QStringLiteral("Сборка"));
    const QString tooLong(129, QChar(u'Я'));
    ui.modal.expect(QStringLiteral("Form8"), [&](ui::Form& f) {
        click(f, "Button1");
        click(f, "Button2");   // the list's current row is still the one it showed
    });
    ui.modal.expect(QStringLiteral("Form9"), [&](ui::Form& f) {
        lineEdit(f, "Edit1")->setText(tooLong);
        click(f, "Button1");
        EXPECT_TRUE(f.isVisible());
        EXPECT_EQ(lineEdit(f, "Edit1")->text(), tooLong);
        click(f, "Button2");
    });
    ui.modal.expect(QStringLiteral("Form9"), [&](ui::Form& f) {
        EXPECT_EQ(lineEdit(f, "Edit1")->text(), QStringLiteral("Сборка"));
        click(f, "Button2");
    });
    roster.Form8->showAsList();

    expectOnlyError(ui.dialogs, QStringLiteral("Поле «Операция»: не больше 128 знаков!"));
    EXPECT_EQ(kindsInDatabase(), QStringLiteral("Сборка"));
    expectScriptPlayed();
}

TEST_F(OperationKindsTest, ASecondTryAfterAFailedSaveWritesOneRow) {
    // The server refuses the first name, as it would any write it cannot take.
    testing_support::exec(dm->ADO_DB, QStringLiteral(
        "alter table accounts_dep.vid_oper add constraint not_refused check (trim(vid) <> 'Отказ')"));
    struct DropCheck {
        data::Connection& connection;
        ~DropCheck() {
            testing_support::exec(connection, QStringLiteral("alter table accounts_dep.vid_oper drop constraint not_refused"));
        }
    } dropCheck{dm->ADO_DB};
    ui.modal.expect(QStringLiteral("Form8"), [&](ui::Form& f) { click(f, "Button1"); });
    ui.modal.expect(QStringLiteral("Form9"), [&](ui::Form& f) {
        lineEdit(f, "Edit1")->setText(QStringLiteral("Отказ"));
        click(f, "Button1");
        EXPECT_NE(f.result(), QDialog::Accepted);
        lineEdit(f, "Edit1")->setText(QStringLiteral("Резка"));
        click(f, "Button1");
        EXPECT_EQ(f.result(), QDialog::Accepted);
    });
    roster.Form8->showAsList();
    EXPECT_EQ(kindsInDatabase(), QStringLiteral("Резка"));
    ASSERT_EQ(ui.dialogs.shown().size(), 1u);
    EXPECT_TRUE(ui.dialogs.shown()[0].text.contains(QStringLiteral("not_refused")))
        << ui.dialogs.shown()[0].text.toStdString();
    expectScriptPlayed();
}

TEST_F(OperationKindsTest, PickerHandsBackTheTrimmedNameAndIdOfTheRowFound) {
    fixtures.kind(QStringLiteral("Покраска"));
    fixtures.kind(QStringLiteral("Сборка"));
    const int drilling = fixtures.kind(QStringLiteral("Сверловка"));
    lineEdit(*roster.Form8, "Edit1")->setText(QStringLiteral("Пок"));   // from an earlier choice
    PickedKind picked;

    ui.modal.expect(QStringLiteral("Form8"), [&](ui::Form& f) {
        EXPECT_EQ(f.tag(), 1);
        EXPECT_EQ(button(f, "Button2")->text(), QStringLiteral("Выбрать"));
        EXPECT_TRUE(button(f, "Button2")->isDefault());
        EXPECT_TRUE(button(f, "Button1")->isHidden());
        EXPECT_TRUE(button(f, "Button3")->isHidden());
        EXPECT_FALSE(lineEdit(f, "Edit1")->isHidden());
        EXPECT_EQ(lineEdit(f, "Edit1")->text(), QString());
        EXPECT_EQ(listed(f).size(), 3);
        type(f, "Edit1", QStringLiteral("с"));
        EXPECT_EQ(listed(f), QStringList({QStringLiteral("Сборка"), QStringLiteral("Сверловка")}));
        press(f, "Edit1", Qt::Key_Down);
        click(f, "Button2");
        EXPECT_EQ(f.result(), QDialog::Accepted);
    });
    roster.Form8->showAsPicker(picked);

    EXPECT_EQ(picked.calls, 1);
    EXPECT_EQ(picked.vid, QStringLiteral("Сверловка"));
    EXPECT_EQ(picked.id, drilling);
    EXPECT_FALSE(button(*roster.Form8, "Button2")->isDefault());
    EXPECT_TRUE(lineEdit(*roster.Form8, "Edit1")->isHidden());
    EXPECT_FALSE(dm->Vid_oper.isOpen());

    // The list mode that follows shows every kind, its search box still hidden.
    ui.modal.expect(QStringLiteral("Form8"), [&](ui::Form& f) {
        EXPECT_TRUE(lineEdit(f, "Edit1")->isHidden());
        EXPECT_EQ(listed(f).size(), 3);
        EXPECT_EQ(button(f, "Button2")->text(), QStringLiteral("Изменить"));
    });
    roster.Form8->showAsList();
    expectScriptPlayed();
}

TEST_F(OperationKindsTest, PickerOnAnEmptyOrFullyFilteredListHandsBackNothing) {
    struct Case {
        const char* name;
        bool withKind;
        const char* search;
    };
    const Case cases[] = {{"empty table", false, ""}, {"nothing found", true, "Я"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.withKind) fixtures.kind(QStringLiteral("Сборка"));
        PickedKind picked;
        ui.modal.expect(QStringLiteral("Form8"), [&](ui::Form& f) {
            type(f, "Edit1", QString::fromUtf8(c.search));
            EXPECT_TRUE(listed(f).isEmpty());
            doubleClickGrid(f);
            EXPECT_EQ(f.result(), QDialog::Accepted);
        });
        roster.Form8->showAsPicker(picked);
        EXPECT_EQ(picked.calls, 1);
        EXPECT_EQ(picked.vid, QString());
        EXPECT_EQ(picked.id, 0);
    }
    expectScriptPlayed();
}

TEST_F(OperationKindsTest, SearchNarrowsAndWidensAndTakesQuotesLiterally) {
    for (const char* name : {"O'Brien", "Обрезка", "Обработка", "Сборка"}) fixtures.kind(QString::fromUtf8(name));
    PickedKind picked;
    ui.modal.expect(QStringLiteral("Form8"), [&](ui::Form& f) {
        type(f, "Edit1", QStringLiteral("Обр"));
        EXPECT_EQ(listed(f), QStringList({QStringLiteral("Обработка"), QStringLiteral("Обрезка")}));
        type(f, "Edit1", QStringLiteral("е"));
        EXPECT_EQ(listed(f), QStringList({QStringLiteral("Обрезка")}));
        press(f, "Edit1", Qt::Key_Backspace);
        EXPECT_EQ(listed(f).size(), 2);
        // Keys that type nothing never reach the box: Home leaves the cursor at the end.
        press(f, "Edit1", Qt::Key_Home);
        press(f, "Edit1", Qt::Key_Backspace);
        EXPECT_EQ(lineEdit(f, "Edit1")->text(), QStringLiteral("Об"));
        lineEdit(f, "Edit1")->clear();
        EXPECT_EQ(listed(f).size(), 4);
        type(f, "Edit1", QStringLiteral("O'"));
        EXPECT_EQ(listed(f), QStringList({QStringLiteral("O'Brien")}));
        click(f, "Button4");
    });
    roster.Form8->showAsPicker(picked);
    EXPECT_EQ(picked.calls, 0);
    EXPECT_TRUE(ui.dialogs.shown().empty());
    expectScriptPlayed();
}

}  // namespace
