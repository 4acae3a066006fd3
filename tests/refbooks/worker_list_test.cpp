// The worker reference book: the list in list mode and as a picker, the editor, and what they
// write into accounts_dep.person.

#include "data/sql_text.h"
#include "journal/journal_window.h"
#include "refbooks/pick_receivers.h"
#include "refbooks/worker_editor.h"
#include "refbooks/worker_list.h"
#include "tests/refbooks/refbook_test_helpers.h"
#include "tests/support/program_fixture.h"
#include "ui/data_grid.h"
#include "ui/lookup_box.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

using testing_support::ProgramTest;
using testing_support::ScriptedDialogs;
using testing_support::StatementLog;

// The picker's opener: remembers what it was handed.
struct PickedWorker : WorkerPickReceiver {
    QString fio = QStringLiteral("прежний");
    qint64 id = -1;
    int calls = 0;
    void receiveWorker(const QString& f, qint64 i) override {
        fio = f;
        id = i;
        ++calls;
    }
};

class WorkersTest : public ProgramTest {
protected:
    TForm5& list() { return *roster.Form5; }
    TForm2& editor() { return *roster.Form2; }
    data::Dataset& workers() { return dm->Workers; }

    // Script the next showing of the list or of the editor, in the order they will open.
    void expectList(std::function<void()> user) {
        ui.modal.expect(QStringLiteral("Form5"), [user = std::move(user)](ui::Form&) { user(); });
    }
    void expectEditor(std::function<void()> user) {
        ui.modal.expect(QStringLiteral("Form2"), [user = std::move(user)](ui::Form&) { user(); });
    }

    void openFromJournalMenu() { roster.Form1->N1->trigger(); }

    // A row of one of the editor's lookup tables: department, staffpos or roles.
    void lookupRow(const QString& table, int id, const QString& caption) {
        testing_support::exec(dm->ADO_DB, QStringLiteral("insert into %1 (id, s_caption) values (%2, %3)")
                                              .arg(table, sql::integer(id), sql::text(caption)));
    }
    void department(int id, const QString& caption) {
        lookupRow(QStringLiteral("cmn_department.department"), id, caption);
    }

    QVariant scalar(const QString& sql) { return testing_support::scalar(dm->ADO_DB, sql); }
    int personCount() { return scalar(QStringLiteral("select count(*) from accounts_dep.person")).toInt(); }

    QStringList listedNames() {
        QStringList names;
        const int fio = workers().columnIndex(QStringLiteral("fio"));
        for (int row = 0; row < workers().recordCount(); ++row) names << workers().value(row, fio).toString();
        return names;
    }
    QString currentName() { return workers().field(QStringLiteral("fio")).asString(); }

    // Types `text` one key at a time, as the keyboard sends letters.
    static void type(QWidget* box, const QString& text) {
        for (const QChar letter : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(letter));
            QCoreApplication::sendEvent(box, &press);
        }
    }

    // The statements that wrote to the worker table.
    static QStringList personWrites(const StatementLog& log) {
        QStringList out;
        for (const QString& text : log.texts()) {
            const bool reads = text.startsWith(QStringLiteral("select"), Qt::CaseInsensitive);
            if (!reads && text.contains(QStringLiteral("accounts_dep.person"))) out << text;
        }
        return out;
    }
};

// --- opening the list ------------------------------------------------------------------------

TEST_F(WorkersTest, JournalMenuOpensTheListInListModeEvenAfterAPicker) {
    fixtures.worker(QStringLiteral("Петров П.П."), QStringLiteral("Токарь"));
    fixtures.worker(QStringLiteral("Иванов И.И."), QStringLiteral("Слесарь"));
    PickedWorker picked;
    ui.modal.expect(QStringLiteral("Form5"), [&](ui::Form&) { list().Button4->click(); });
    list().showAsPicker(TForm5::RecordEditorPicker, picked);

    expectList([&] {
        EXPECT_EQ(list().tag(), 0);
        EXPECT_EQ(list().windowTitle(), QStringLiteral("Список рабочих"));
        ASSERT_TRUE(workers().isOpen());
        EXPECT_EQ(listedNames(), (QStringList{QStringLiteral("Иванов И.И."), QStringLiteral("Петров П.П.")}));
        EXPECT_EQ(list().Button2->text(), QStringLiteral("Изменить"));
        EXPECT_FALSE(list().Button2->isDefault());
        EXPECT_TRUE(list().Button1->isDefault());
        EXPECT_TRUE(list().Button1->isVisibleTo(&list()));
        EXPECT_TRUE(list().Button3->isVisibleTo(&list()));
        EXPECT_EQ(list().focusWidget(), list().Edit1);
        const auto* header = list().DBGrid1->model();
        EXPECT_EQ(header->headerData(0, Qt::Horizontal).toString(), QStringLiteral("ФИО"));
        EXPECT_EQ(header->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Должность"));
        EXPECT_EQ(list().DBGrid1->model()->data(list().DBGrid1->model()->index(0, 1)).toString(),
                  QStringLiteral("Слесарь"));
        list().Button4->click();
        EXPECT_EQ(list().result(), QDialog::Rejected);
    });
    openFromJournalMenu();

    EXPECT_FALSE(workers().isOpen());
    EXPECT_EQ(picked.calls, 0);
    expectScriptPlayed();
}

// --- add ---------------------------------------------------------------------------------------

TEST_F(WorkersTest, AddWritesTheInsertWithAnEmptyPositionAndListsTheNewWorkerFromTheTop) {
    fixtures.worker(QStringLiteral("Борисов Б.Б."));
    fixtures.worker(QStringLiteral("Власов В.В."));
    editor().Edit1->setText(QStringLiteral("от прошлого раза"));
    StatementLog log(dm->ADO_DB);

    expectList([&] {
        workers().setRecNo(2);
        list().Button1->click();
        EXPECT_EQ(listedNames(), (QStringList{QStringLiteral("Борисов Б.Б."), QStringLiteral("Власов В.В."),
                                              QStringLiteral("Сидоров С.С.")}));
        EXPECT_EQ(workers().recNo(), 1);
    });
    expectEditor([&] {
        EXPECT_EQ(editor().windowTitle(), QStringLiteral("Заведение данных нового работника"));
        EXPECT_EQ(editor().tag(), 1);
        EXPECT_EQ(editor().Edit1->text(), QString());
        EXPECT_EQ(editor().focusWidget(), editor().Edit1);
        EXPECT_EQ(log.texts().mid(log.texts().size() - 3),
                  (QStringList{QStringLiteral("select * from hrms_staffpos.staffpos"),
                               QStringLiteral("select * from adm_role.roles"),
                               QStringLiteral("select * from cmn_department.department")}));
        editor().Edit1->setText(QStringLiteral("  Сидоров С.С.  "));
        editor().Button1->click();
        EXPECT_EQ(editor().result(), QDialog::Accepted);
        EXPECT_FALSE(editor().isVisible());
    });
    openFromJournalMenu();

    EXPECT_EQ(personWrites(log), QStringList{QStringLiteral(
        "INSERT INTO accounts_dep.person (fio, s_staffpos_hl)VALUES('Сидоров С.С.', '')")});
    EXPECT_EQ(scalar(QStringLiteral("select s_staffpos_hl from accounts_dep.person where fio = 'Сидоров С.С.'")),
              QVariant(QString()));
    expectScriptPlayed();
}

// The last case is added as O'Brien and then changed to its name, so both statements meet quotes.
TEST_F(WorkersTest, QuotesInNamesAndDepartmentsAreSavedAsTyped) {
    struct Case {
        QString name;
        QString department;
    };
    const Case cases[] = {
        {QStringLiteral("Д'Артаньян Ш."), QStringLiteral("Цех 'Север'")},
        {QStringLiteral("x', ''); delete from accounts_dep.person; --"), QStringLiteral("Цех №1")},
        {QStringLiteral("O'Neil"), QStringLiteral("Цех 'Север'")},
    };
    const QString added = QStringLiteral("O'Brien");
    department(1, QStringLiteral("Цех №1"));
    department(2, QStringLiteral("Цех 'Север'"));
    const auto save = [&](const QString& name, const QString& caption) {
        expectEditor([&, name, caption] {
            editor().LCB_department->setCurrentIndex(editor().LCB_department->findText(caption));
            editor().Edit1->setText(name);
            editor().Button1->click();
        });
    };

    expectList([&] {
        for (std::size_t i = 0; i < std::size(cases); ++i) list().Button1->click();
        workers().setRecNo(listedNames().indexOf(added) + 1);
        list().Button2->click();
    });
    save(cases[0].name, cases[0].department);
    save(cases[1].name, cases[1].department);
    save(added, QStringLiteral("Цех №1"));
    save(cases[2].name, cases[2].department);
    openFromJournalMenu();

    EXPECT_EQ(personCount(), int(std::size(cases)));
    for (const Case& c : cases) {
        EXPECT_EQ(scalar(QStringLiteral("select s_staffpos_hl from accounts_dep.person where fio = ") +
                         sql::text(c.name)).toString(), c.department) << c.name.toStdString();
    }
    EXPECT_TRUE(ui.dialogs.shown().empty());
    expectScriptPlayed();
}

TEST_F(WorkersTest, BlankNamesAreRefusedWhenAddingAndWhenChanging) {
    const QString blanks[] = {QString(), QStringLiteral("   "), QStringLiteral(" \t ")};
    fixtures.worker(QStringLiteral("Иванов И.И."));
    StatementLog log(dm->ADO_DB);
    const auto tryBlanks = [&] {
        for (const QString& blank : blanks) {
            editor().Edit1->setText(blank);
            editor().Button1->click();
            EXPECT_TRUE(editor().isVisible()) << "closed on '" << blank.toStdString() << "'";
        }
        editor().Button2->click();
    };

    expectList([&] {
        list().Button1->click();
        list().Button2->click();
    });
    expectEditor(tryBlanks);
    expectEditor(tryBlanks);
    openFromJournalMenu();

    ASSERT_EQ(ui.dialogs.shown().size(), 2 * std::size(blanks));
    for (const ScriptedDialogs::Shown& shown : ui.dialogs.shown()) {
        EXPECT_EQ(shown.kind, ScriptedDialogs::Kind::Message);
        EXPECT_EQ(shown.text, QStringLiteral("ФИО нужно заполнить!"));
        EXPECT_EQ(shown.caption, QStringLiteral("Ошибка"));
        EXPECT_EQ(shown.icon, ui::Icon::Error);
    }
    EXPECT_TRUE(personWrites(log).isEmpty());
    EXPECT_EQ(scalar(QStringLiteral("select fio from accounts_dep.person")).toString(), QStringLiteral("Иванов И.И."));
    expectScriptPlayed();
}

// The column holds 254 characters: a longer name is refused with a message before anything is
// sent, and the editor keeps what was typed so that the user can shorten it.
TEST_F(WorkersTest, ANameTooLongForTheColumnIsRefusedAndTheEditorStaysOpen) {
    const QString tooLong(255, QChar(u'Щ'));
    const QString longest(254, QChar(u'Щ'));

    expectList([&] { list().Button1->click(); });
    expectEditor([&] {
        editor().Edit1->setText(tooLong);
        editor().Button1->click();
        EXPECT_TRUE(editor().isVisible());
        EXPECT_NE(editor().result(), QDialog::Accepted);
        EXPECT_EQ(editor().Edit1->text(), tooLong);
        EXPECT_EQ(personCount(), 0);
        refbook_tests::expectOnlyError(ui.dialogs, QStringLiteral("Поле «ФИО»: не больше 254 знаков!"));

        editor().Edit1->setText(longest);
        editor().Button1->click();
        EXPECT_EQ(editor().result(), QDialog::Accepted);
    });
    openFromJournalMenu();

    EXPECT_EQ(scalar(QStringLiteral("select fio from accounts_dep.person")).toString(), longest);
    expectScriptPlayed();
}

// --- change ------------------------------------------------------------------------------------

TEST_F(WorkersTest, ChangeWritesTheUpdateKeepsTheRowAndCarriesTheDepartmentOver) {
    const int alekseev = fixtures.worker(QStringLiteral("Алексеев А.А."), QStringLiteral("Токарь"));
    fixtures.worker(QStringLiteral("Борисов Б.Б."));
    const int vlasov = fixtures.worker(QStringLiteral("Власов В.В.   "));
    fixtures.worker(QStringLiteral("Григорьев Г.Г."));
    department(1, QStringLiteral("Цех №1"));
    department(2, QStringLiteral("Цех №2"));
    StatementLog log(dm->ADO_DB);

    expectList([&] {
        workers().setRecNo(3);
        list().Button2->click();
        EXPECT_TRUE(list().isVisible());
        EXPECT_EQ(workers().recNo(), 3);
        EXPECT_EQ(currentName(), QStringLiteral("Власова В.В."));

        department(3, QStringLiteral("Цех №3"));   // read at the next showing
        workers().setRecNo(1);
        emit list().DBGrid1->dblClick();
        EXPECT_EQ(workers().recNo(), 1);
    });
    expectEditor([&] {
        EXPECT_EQ(editor().windowTitle(), QStringLiteral("Изменение данных работника"));
        EXPECT_EQ(editor().tag(), 2);
        EXPECT_EQ(editor().Edit1->text(), QStringLiteral("Власов В.В."));
        EXPECT_EQ(editor().LCB_department->currentText(), QString());
        editor().LCB_department->setCurrentIndex(editor().LCB_department->findText(QStringLiteral("Цех №2")));
        editor().Edit1->setText(QStringLiteral("Власова В.В."));
        editor().Button1->click();
    });
    expectEditor([&] {
        EXPECT_EQ(editor().Edit1->text(), QStringLiteral("Алексеев А.А."));
        EXPECT_GE(editor().LCB_department->findText(QStringLiteral("Цех №3")), 0);
        EXPECT_EQ(editor().LCB_department->currentText(), QStringLiteral("Цех №2"));
        editor().Button1->click();
    });
    openFromJournalMenu();

    EXPECT_EQ(personWrites(log), (QStringList{
        QStringLiteral("UPDATE accounts_dep.person SET fio='Власова В.В.', s_staffpos_hl='Цех №2' "
                       "where accounts_dep.person.id=") + sql::integer(vlasov),
        QStringLiteral("UPDATE accounts_dep.person SET fio='Алексеев А.А.', s_staffpos_hl='Цех №2' "
                       "where accounts_dep.person.id=") + sql::integer(alekseev),
    }));
    EXPECT_EQ(scalar(QStringLiteral("select s_staffpos_hl from accounts_dep.person where id = %1").arg(alekseev)),
              QVariant(QStringLiteral("Цех №2")));
    expectScriptPlayed();
}

// On an empty list there is no worker to change or delete; nothing opens and nothing is asked.
TEST_F(WorkersTest, ChangeAndDeleteDoNothingOnAnEmptyList) {
    StatementLog log(dm->ADO_DB);
    expectList([&] {
        list().Button2->click();
        emit list().DBGrid1->dblClick();
        list().Button3->click();
        EXPECT_TRUE(list().isVisible());
    });
    openFromJournalMenu();
    EXPECT_TRUE(personWrites(log).isEmpty());
    EXPECT_TRUE(ui.dialogs.shown().empty());
    expectScriptPlayed();
}

// --- delete ------------------------------------------------------------------------------------

struct DeleteCase {
    const char* what;
    int row;
    bool yes;
    QStringList left;
    int rowAfter;
};

class WorkerDeleteTest : public WorkersTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(WorkerDeleteTest, AsksThenDeletesTheCurrentWorker) {
    const DeleteCase& c = GetParam();
    QList<int> ids;
    for (const char* fio : {"Алексеев А.А.", "Борисов Б.Б.", "Власов В.В."}) ids << fixtures.worker(QString::fromUtf8(fio));
    StatementLog log(dm->ADO_DB);
    ui.dialogs.answer(c.yes);

    expectList([&] {
        workers().setRecNo(c.row);
        list().Button3->click();
        EXPECT_EQ(listedNames(), c.left);
        EXPECT_EQ(workers().recNo(), c.rowAfter);
    });
    openFromJournalMenu();

    ASSERT_EQ(ui.dialogs.shown().size(), 1u);
    EXPECT_EQ(ui.dialogs.shown()[0].kind, ScriptedDialogs::Kind::Question);
    EXPECT_EQ(ui.dialogs.shown()[0].text, QStringLiteral("Удалить работника?"));
    EXPECT_EQ(ui.dialogs.shown()[0].caption, QStringLiteral("Удаление"));
    const QStringList expectedWrites =
        c.yes ? QStringList{QStringLiteral("delete from accounts_dep.person where id =") + sql::integer(ids[c.row - 1])}
              : QStringList{};
    EXPECT_EQ(personWrites(log), expectedWrites);
    EXPECT_EQ(personCount(), c.left.size());
    expectScriptPlayed();
}

INSTANTIATE_TEST_SUITE_P(
    Answers, WorkerDeleteTest,
    ::testing::Values(
        DeleteCase{"NoKeepsEveryone", 2, false,
                   {QStringLiteral("Алексеев А.А."), QStringLiteral("Борисов Б.Б."), QStringLiteral("Власов В.В.")}, 2},
        DeleteCase{"YesKeepsTheRowNumber", 2, true,
                   {QStringLiteral("Алексеев А.А."), QStringLiteral("Власов В.В.")}, 2},
        DeleteCase{"YesOnTheLastRowShowsTheNewLast", 3, true,
                   {QStringLiteral("Алексеев А.А."), QStringLiteral("Борисов Б.Б.")}, 2}),
    [](const ::testing::TestParamInfo<DeleteCase>& info) { return std::string(info.param.what); });

TEST_F(WorkersTest, TheDatabaseRefusesToDeleteAWorkerWithShiftRecords) {
    fixtures.worker(QStringLiteral("Алексеев А.А."));
    const auto basics = fixtures.basics(QStringLiteral("Борисов Б.Б."));
    fixtures.record({.worker = basics.worker, .product = basics.product, .oper = basics.oper,
                     .day = QDate(2024, 3, 5)});
    ui.dialogs.answer(true);

    expectList([&] {
        workers().setRecNo(2);
        list().Button3->click();
        EXPECT_TRUE(list().isVisible());
        EXPECT_TRUE(workers().isOpen());
        EXPECT_EQ(workers().recordCount(), 2);
        EXPECT_EQ(workers().recNo(), 2);
        EXPECT_EQ(currentName(), QStringLiteral("Борисов Б.Б."));
    });
    openFromJournalMenu();

    ASSERT_EQ(ui.dialogs.shown().size(), 2u);
    EXPECT_EQ(ui.dialogs.shown()[1].kind, ScriptedDialogs::Kind::StandardError);
    // What keeps him, in Russian, and nothing of the server's English key text.
    EXPECT_EQ(ui.dialogs.shown()[1].text, QStringLiteral("Работника нельзя удалить: за ним записаны смены"));
    EXPECT_EQ(personCount(), 2);
    expectScriptPlayed();
}

// The worker's utility works keep him: the server refuses the list's delete with its own message,
// shown in the standard error box; the worker, his name in the register and his work remain.
TEST_F(WorkersTest, TheDatabaseRefusesToDeleteAWorkerWithUtilityWorks) {
    fixtures.worker(QStringLiteral("Алексеев А.А."));
    const int borisov = fixtures.worker(QStringLiteral("Борисов Б.Б."));
    testing_support::exec(dm->ADO_DB, QStringLiteral(
        "insert into accounts_dep.fatigue (id_nom, id_o, id_p, d_date, i_mnth, i_year, i_smena, cnt, price) "
        "values (2, 7777, %1, '05.03.2024', 3, 2024, 1, 8, 150)").arg(borisov));
    ui.dialogs.answer(true);

    expectList([&] {
        workers().setRecNo(2);
        list().Button3->click();
        EXPECT_TRUE(list().isVisible());
        EXPECT_EQ(workers().recordCount(), 2);
        EXPECT_EQ(workers().recNo(), 2);
        EXPECT_EQ(currentName(), QStringLiteral("Борисов Б.Б."));
    });
    openFromJournalMenu();

    ASSERT_EQ(ui.dialogs.shown().size(), 2u);
    EXPECT_EQ(ui.dialogs.shown()[1].kind, ScriptedDialogs::Kind::StandardError);
    // The trigger's own Russian message alone: no lead, no severity, no context lines.
    EXPECT_EQ(ui.dialogs.shown()[1].text,
              QStringLiteral("Работника \"Борисов Б.Б.\" нельзя удалить: за ним записаны хоз. работы"));
    EXPECT_EQ(personCount(), 2);
    EXPECT_EQ(scalar(QStringLiteral("select s_caption from cmn_contractor.person where id = %1").arg(borisov)).toString(),
              QStringLiteral("Борисов Б.Б."));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from accounts_dep.fatigue where id_p = %1").arg(borisov)).toInt(), 1);
    expectScriptPlayed();
}

// --- picker ------------------------------------------------------------------------------------

TEST_F(WorkersTest, PickerHandsTheChosenWorkerToEitherOpenerAndCloses) {
    fixtures.worker(QStringLiteral("Алексеев А.А."));
    const int borisov = fixtures.worker(QStringLiteral("Борисов Б.Б.   "));
    fixtures.worker(QStringLiteral("Власов В.В."));
    list().Edit1->setText(QStringLiteral("Вл"));   // left from list mode

    for (const int tag : {TForm5::RecordEditorPicker, TForm5::UtilityEntryPicker}) {
        PickedWorker picked;
        ui.modal.expect(QStringLiteral("Form5"), [&](ui::Form&) {
            EXPECT_EQ(list().tag(), tag);
            EXPECT_EQ(list().Button2->text(), QStringLiteral("Выбрать"));
            EXPECT_TRUE(list().Button2->isDefault());
            EXPECT_TRUE(list().Button2->isVisibleTo(&list()));
            EXPECT_FALSE(list().Button1->isVisibleTo(&list()));
            EXPECT_FALSE(list().Button3->isVisibleTo(&list()));
            EXPECT_EQ(list().Edit1->text(), QString());
            EXPECT_EQ(workers().recordCount(), 3);
            EXPECT_EQ(list().focusWidget(), list().Edit1);
            workers().setRecNo(2);
            list().Button2->click();
            EXPECT_FALSE(list().isVisible());
            EXPECT_EQ(list().result(), QDialog::Accepted);
        });
        list().showAsPicker(tag, picked);
        EXPECT_EQ(picked.calls, 1) << tag;
        EXPECT_EQ(picked.fio, QStringLiteral("Борисов Б.Б.")) << tag;
        EXPECT_EQ(picked.id, borisov) << tag;
        EXPECT_FALSE(workers().isOpen());
    }
    expectScriptPlayed();
}

TEST_F(WorkersTest, DoubleClickOnARowChoosesItInThePicker) {
    fixtures.worker(QStringLiteral("Алексеев А.А."));
    fixtures.worker(QStringLiteral("Борисов Б.Б."));
    const int vlasov = fixtures.worker(QStringLiteral("Власов В.В."));
    PickedWorker picked;

    ui.modal.expect(QStringLiteral("Form5"), [&](ui::Form&) {
        ui::DataGrid* grid = list().DBGrid1;
        const QPoint third = grid->visualRect(grid->model()->index(2, 0)).center();
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, third);
        EXPECT_FALSE(list().isVisible());
    });
    list().showAsPicker(TForm5::UtilityEntryPicker, picked);

    EXPECT_EQ(picked.calls, 1);
    EXPECT_EQ(picked.fio, QStringLiteral("Власов В.В."));
    EXPECT_EQ(picked.id, vlasov);
    expectScriptPlayed();
}

TEST_F(WorkersTest, PickerOnAnEmptyOrFullyFilteredListClosesAndHandsNothingBack) {
    struct Case {
        const char* what;
        bool withWorker;
        QString search;
    };
    const Case cases[] = {
        {"empty table", false, QString()},
        {"nothing matches", true, QStringLiteral("Я")},
    };
    for (const Case& c : cases) {
        testing_support::resetDatabase(dm->ADO_DB);
        if (c.withWorker) fixtures.worker(QStringLiteral("Иванов И.И."));
        PickedWorker picked;
        ui.modal.expect(QStringLiteral("Form5"), [&](ui::Form&) {
            list().Edit1->setText(c.search);
            EXPECT_TRUE(workers().isEmpty());
            list().Button2->click();
            EXPECT_FALSE(list().isVisible());
            EXPECT_EQ(list().result(), QDialog::Rejected);
        });
        list().showAsPicker(TForm5::RecordEditorPicker, picked);
        EXPECT_EQ(picked.calls, 0) << c.what;
        EXPECT_EQ(picked.fio, QStringLiteral("прежний")) << c.what;
        EXPECT_EQ(picked.id, -1) << c.what;
    }
    expectScriptPlayed();
}

// --- search ------------------------------------------------------------------------------------

TEST_F(WorkersTest, SearchNarrowsByNamePrefixWidensWhenClearedAndSurvivesListMode) {
    for (const char* fio : {"Иванов И.И.", "Ивлев А.А.", "O'Brien", "Петров П.П.", "Сивов С.С."})
        fixtures.worker(QString::fromUtf8(fio));
    const QStringList startingWithIv{QStringLiteral("Иванов И.И."), QStringLiteral("Ивлев А.А.")};

    expectList([&] {
        StatementLog log(dm->ADO_DB);
        list().Edit1->setText(QStringLiteral("Ив"));
        EXPECT_EQ(listedNames(), startingWithIv);
        list().Edit1->setText(QStringLiteral("O'"));
        EXPECT_EQ(listedNames(), QStringList{QStringLiteral("O'Brien")});
        list().Edit1->clear();
        EXPECT_EQ(workers().recordCount(), 5);
        EXPECT_TRUE(log.texts().isEmpty());
        list().Edit1->setText(QStringLiteral("Ив"));
        list().Button4->click();
    });
    openFromJournalMenu();
    expectList([&] {
        EXPECT_EQ(list().Edit1->text(), QStringLiteral("Ив"));
        EXPECT_EQ(listedNames(), startingWithIv);
    });
    openFromJournalMenu();
    expectScriptPlayed();
}

TEST_F(WorkersTest, UpAndDownInTheSearchBoxMoveTheRowAndOtherKeysAreDiscarded) {
    for (const char* fio : {"Алексеев А.А.", "Борисов Б.Б.", "Власов В.В."}) fixtures.worker(QString::fromUtf8(fio));

    expectList([&] {
        QLineEdit* box = list().Edit1;
        const struct {
            Qt::Key key;
            int recNo;
        } steps[] = {{Qt::Key_Down, 2}, {Qt::Key_Down, 3}, {Qt::Key_Down, 3}, {Qt::Key_Up, 2}};
        for (const auto& step : steps) {
            QTest::keyClick(box, step.key);
            EXPECT_EQ(workers().recNo(), step.recNo);
            EXPECT_EQ(list().DBGrid1->currentIndex().row(), step.recNo - 1);
        }
        type(box, QStringLiteral("Бо"));
        EXPECT_EQ(box->text(), QStringLiteral("Бо"));
        QTest::keyClick(box, Qt::Key_Home);
        QTest::keyClick(box, Qt::Key_Delete);
        EXPECT_EQ(box->text(), QStringLiteral("Бо"));
        QTest::keyClick(box, Qt::Key_Backspace);
        EXPECT_EQ(box->text(), QStringLiteral("Б"));
    });
    openFromJournalMenu();
    expectScriptPlayed();
}

// --- editor ------------------------------------------------------------------------------------

TEST_F(WorkersTest, TheWheelStepsTheFocusedLookupBoxAndActivationFocusesTheName) {
    for (int id = 1; id <= 3; ++id) {
        department(id, QStringLiteral("Цех №%1").arg(id));
        lookupRow(QStringLiteral("hrms_staffpos.staffpos"), id, QStringLiteral("Должность %1").arg(id));
        lookupRow(QStringLiteral("adm_role.roles"), id, QStringLiteral("Роль %1").arg(id));
    }
    const auto wheel = [&](int delta) {
        QWheelEvent event(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(editor().Edit1, &event);
    };

    expectList([&] {
        list().Button1->click();
        list().Button1->click();
    });
    expectEditor([&] {
        ui::LookupBox* boxes[] = {editor().LCB_roles, editor().LCB_staffpos, editor().LCB_department};
        for (int focused = 0; focused < 3; ++focused) {
            boxes[focused]->setFocus();
            for (const int delta : {-120, -120, -120, 120}) wheel(delta);
            for (int box = 0; box < 3; ++box)
                EXPECT_EQ(boxes[box]->currentIndex(), box <= focused ? 1 : -1)
                    << boxes[box]->objectName().toStdString() << " after stepping "
                    << boxes[focused]->objectName().toStdString();
        }
        editor().Button2->click();
    });
    expectEditor([&] {
        EXPECT_EQ(editor().focusWidget(), editor().Edit1);
        EXPECT_EQ(editor().LCB_department->currentText(), QStringLiteral("Цех №2"));
        editor().Button2->click();
    });
    openFromJournalMenu();

    EXPECT_EQ(personCount(), 0);
    expectScriptPlayed();
}

// --- the journal -------------------------------------------------------------------------------

// The journal names its workers from the person register, which the database keeps in line with
// the workers this list writes.
TEST_F(WorkersTest, TheJournalNamesANewlyAddedWorkerOnceHeHasAShiftRecord) {
    const QDate day(2024, 3, 5);
    expectList([&] { list().Button1->click(); });
    expectEditor([&] {
        editor().Edit1->setText(QStringLiteral("Новиков Н.Н."));
        editor().Button1->click();
    });
    openFromJournalMenu();
    const int id = scalar(QStringLiteral("select id from accounts_dep.person where fio = 'Новиков Н.Н.'")).toInt();
    ASSERT_GT(id, 0);
    const qint64 product = fixtures.product(QStringLiteral("ШК-120"));
    const int oper = fixtures.oper(fixtures.kind(QStringLiteral("Сборка")), product);
    fixtures.record({.worker = id, .product = product, .oper = oper, .day = day});

    dm->Smena1.setParam(QStringLiteral("data"), day);
    dm->Smena1.setParam(QStringLiteral("ok"), QStringLiteral("ta"));
    dm->Smena1.open();
    ASSERT_EQ(dm->Smena1.recordCount(), 1);
    EXPECT_EQ(dm->Smena1.field(QStringLiteral("fio")).asString(), QStringLiteral("Новиков Н.Н."));
    expectScriptPlayed();
}

}  // namespace
