// A record changed in the editor of one workstation after another workstation deleted it.

#include "data/data_module.h"
#include "journal/journal_window.h"
#include "journal/record_editor.h"
#include "refbooks/operation_kind_list.h"
#include "refbooks/price_list.h"
#include "refbooks/product_list.h"
#include "refbooks/worker_list.h"
#include "tests/refbooks/refbook_test_helpers.h"
#include "tests/support/login.h"
#include "tests/workstations/two_workstations.h"
#include "ui/clock.h"

#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

using testing_support::exec;
using testing_support::scalar;
using testing_support::StatementLog;
using workstations::TwoWorkstations;

const QDate tuesday(2026, 12, 8);
const QString goneMessage = QStringLiteral(
    "Изменяемая позиция не найдена: возможно, её удалили с другого рабочего места. Изменения не сохранены.");

void goTo(data::Dataset& records, int id) {
    for (int row = 1; row <= records.recordCount(); ++row) {
        records.setRecNo(row);
        if (records.field(QStringLiteral("id")).asInteger() == id) return;
    }
    ADD_FAILURE() << "no record " << id;
}

class VanishedRecord : public TwoWorkstations {
protected:
    VanishedRecord() {
        ui::setToday(tuesday);
        changed = fixtures.record(recordOf(tuesday, 8, 1));
        kept = fixtures.record(recordOf(tuesday, 3, 2));
        exec(dm->ADO_DB, QStringLiteral("insert into accounts_dep.h_tabel (w_id, smena, month, year, d7, d8) "
                                        "values (%1, 1, 12, 2026, 5, 11)").arg(basics.worker));
        testing_support::loginAs(roster, ui, QStringLiteral("61730482"));
        testing_support::loginAs(rosterB, ui, QStringLiteral("61730482"));
    }

    int changed = 0;
    int kept = 0;
};

// B deletes the record while A's editor has it open. A's save changes no row: A is told so, the
// transaction is rolled back without a day cell written, the journal shows the record gone, and
// the editor closes, so no later "Запись" can land on the row now current in the journal.
TEST_F(VanishedRecord, ASaveOfARecordDeletedElsewhereIsReportedAndWritesNothing) {
    goTo(dm->Smena1, changed);
    StatementLog log(dm->ADO_DB);
    ui.modal.expect(QStringLiteral("Form11"), [&](ui::Form& f) {
        TForm11& editor = static_cast<TForm11&>(f);
        ASSERT_EQ(editor.Edit6->text(), QStringLiteral("8"));

        goTo(dmB->Smena1, changed);
        ui.dialogs.answer(true);
        rosterB.Form1->Button3->click();
        ASSERT_EQ(scalar(dm->ADO_DB, QStringLiteral("select d8 from accounts_dep.h_tabel")).toInt(), 3);
        ui.dialogs.clear();

        log.clear();
        editor.Edit6->setText(QStringLiteral("6"));
        editor.Button1->click();
        EXPECT_EQ(f.result(), QDialog::Rejected);
    });
    roster.Form1->Button2->click();

    ASSERT_EQ(ui.dialogs.shown().size(), 1u);
    EXPECT_EQ(ui.dialogs.shown()[0].text, goneMessage);
    EXPECT_EQ(ui.dialogs.shown()[0].caption, QStringLiteral("Ошибка"));
    EXPECT_EQ(ui.dialogs.shown()[0].icon, ui::Icon::Error);

    EXPECT_FALSE(dm->ADO_DB.inTransaction());
    for (const QString& text : log.texts()) EXPECT_FALSE(text.contains(QStringLiteral("h_tabel"))) << text.toStdString();
    EXPECT_EQ(scalar(dm->ADO_DB, QStringLiteral("select string_agg(id || ':' || time, ',') from accounts_dep.smena")).toString(),
              QStringLiteral("%1:3").arg(kept));
    EXPECT_EQ(scalar(dm->ADO_DB, QStringLiteral("select concat_ws('|', d7, d8) from accounts_dep.h_tabel")).toString(),
              QStringLiteral("5|3"));
    EXPECT_EQ(dm->Smena1.recordCount(), 1);
    EXPECT_EQ(dm->Smena1.field(QStringLiteral("id")).asInteger(), kept);
    expectScriptPlayed();
}

// A change of a record still there is saved as before, with its day cell.
TEST_F(VanishedRecord, AChangeOfARecordStillThereIsSaved) {
    goTo(dm->Smena1, changed);
    ui.modal.expect(QStringLiteral("Form11"), [&](ui::Form& f) {
        TForm11& editor = static_cast<TForm11&>(f);
        editor.Edit6->setText(QStringLiteral("6"));
        editor.Button1->click();
        EXPECT_EQ(f.result(), QDialog::Accepted);
    });
    roster.Form1->Button2->click();
    EXPECT_TRUE(ui.dialogs.shown().empty());
    EXPECT_EQ(scalar(dm->ADO_DB, QStringLiteral("select concat_ws('|', d7, d8) from accounts_dep.h_tabel")).toString(),
              QStringLiteral("5|9"));
    expectScriptPlayed();
}

// A reference-book row changed in its editor after another workstation deleted it: the save
// is reported and nothing comes back. The editors that write by statement close and their list
// shows the row gone; the kind editor, which writes through its table, shows the box of a failed
// write and stays open, as on any failed write, until the user cancels.
TEST_F(TwoWorkstations, ChangingAReferenceRowDeletedElsewhereIsReportedAndWritesNothing) {
    using Kind = testing_support::ScriptedDialogs::Kind;
    const int worker = fixtures.worker(QStringLiteral("Сидоров С.С."));
    const qint64 product = fixtures.product(QStringLiteral("ПР-77"), 1, fixtures.group(QStringLiteral("Корпуса")));
    const int kind = fixtures.kind(QStringLiteral("Резка"));
    const int oper = fixtures.oper(fixtures.kind(QStringLiteral("Сварка")), fixtures.product(QStringLiteral("ПР-78")));
    fixtures.norm(oper, 5);   // the price list shows priced operations
    const struct Case {
        const char* list;
        const char* editor;
        std::function<void()> show;
        data::Dataset* rows;
        qint64 id;
        QString table;
        QString message;
        Kind kind;
    } cases[] = {
        {"Form5", "Form2", [&] { roster.Form5->showAsList(); }, &dm->Workers, worker, QStringLiteral("accounts_dep.person"),
         QStringLiteral("Изменяемый работник не найден: возможно, его удалили с другого рабочего места. Изменения не сохранены."),
         Kind::Message},
        {"Form4", "Form10", [&] { roster.Form4->showAsList(); }, &dm->Oper, oper, QStringLiteral("accounts_dep.oper"),
         QStringLiteral("Изменяемая расценка не найдена: возможно, её удалили с другого рабочего места. Изменения не сохранены."),
         Kind::Message},
        {"Form3", "Form7", [&] { roster.Form3->showAsList(); }, &dm->Izdel, product,
         QStringLiteral("cmn_gds_and_srv.gds_and_srv"),
         QStringLiteral("Изменяемое изделие не найдено: возможно, его удалили с другого рабочего места. Изменения не сохранены."),
         Kind::Message},
        {"Form8", "Form9", [&] { roster.Form8->showAsList(); }, &dm->Vid_oper, kind, QStringLiteral("accounts_dep.vid_oper"),
         QStringLiteral("Изменяемая строка не найдена: возможно, её удалили с другого рабочего места. Изменения не сохранены."),
         Kind::StandardError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.editor);
        ui.modal.expect(QString::fromLatin1(c.list), [&](ui::Form& list) {
            goTo(*c.rows, int(c.id));
            exec(dmB->ADO_DB, QStringLiteral("delete from %1 where id=%2").arg(c.table).arg(c.id));
            refbook_tests::click(list, "Button2");
            // A failed write through the table leaves the list as it was read.
            if (c.kind == Kind::Message) EXPECT_FALSE(c.rows->locate(QStringLiteral("id"), c.id)) << "the list still shows it";
        });
        ui.modal.expect(QString::fromLatin1(c.editor), [&](ui::Form& editor) {
            refbook_tests::click(editor, "Button1");
            if (c.kind == Kind::StandardError) {
                EXPECT_TRUE(editor.isVisible());
                refbook_tests::click(editor, "Button2");
            }
            EXPECT_EQ(editor.result(), QDialog::Rejected);
        });
        c.show();
        ASSERT_EQ(ui.dialogs.shown().size(), 1u);
        EXPECT_EQ(ui.dialogs.shown()[0].text, c.message);
        EXPECT_EQ(ui.dialogs.shown()[0].kind, c.kind);
        if (c.kind == Kind::Message) EXPECT_EQ(ui.dialogs.shown()[0].icon, ui::Icon::Error);
        ui.dialogs.clear();
        EXPECT_EQ(scalar(dm->ADO_DB, QStringLiteral("select count(*)::int from %1 where id=%2").arg(c.table).arg(c.id)).toInt(), 0);
    }
    expectScriptPlayed();
}

}  // namespace
