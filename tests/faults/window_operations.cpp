#include "tests/faults/window_operations.h"

#include "data/data_module.h"
#include "journal/journal_window.h"
#include "journal/record_editor.h"
#include "refbooks/operation_kind_editor.h"
#include "refbooks/price_list.h"
#include "reportengine/preview_window.h"
#include "reports/summary_reports_window.h"
#include "tests/refbooks/refbook_test_helpers.h"
#include "tests/support/login.h"
#include "timesheet/timesheet_window.h"
#include "ui/clock.h"
#include "ui/data_grid.h"
#include "utility/nomenclature_picker.h"
#include "utility/utility_entry_window.h"
#include "utility/utility_works_window.h"

#include <QAction>
#include <QDir>
#include <QPushButton>
#include <QTimer>

namespace faults {

using refbook_tests::click;
using refbook_tests::lineEdit;
using refbook_tests::listed;
using testing_support::exec;

const QDate FaultsTest::today(2026, 12, 8);

namespace {

const QString ivanov = QStringLiteral("Иванов И.И.");

// Moves a list's dataset to the row whose id is `id`.
void goTo(data::Dataset& dataset, qint64 id) {
    for (dataset.first();; dataset.next())
        if (dataset.field(QStringLiteral("id")).asInteger() == id || dataset.recNo() >= dataset.recordCount()) return;
}

void expectWindow(FaultsTest& t, const char* name, std::function<void(ui::Form&)> user) {
    t.ui.modal.expect(QString::fromLatin1(name), std::move(user));
}

// A window opened from the journal by `open`, the user in it.
FaultsTest::Place fromJournal(const char* window, std::function<void(FaultsTest&)> open) {
    return [window, open](FaultsTest& t, const std::function<void()>& there) {
        t.inJournal([&] {
            expectWindow(t, window, [&](ui::Form&) { there(); });
            open(t);
        });
    };
}

FaultsTest::Place journal() {
    return [](FaultsTest& t, const std::function<void()>& there) { t.inJournal(there); };
}
FaultsTest::Place timesheetWindow() {
    return fromJournal("Form19", [](FaultsTest& t) { t.roster.Form1->N11->trigger(); });
}
FaultsTest::Place reportsWindow() {
    return fromJournal("Form18", [](FaultsTest& t) { t.roster.Form1->N10->trigger(); });
}
FaultsTest::Place priceList() {
    return fromJournal("Form4", [](FaultsTest& t) { t.roster.Form1->N4->trigger(); });
}

// The record editor in add mode, filled with today's worker and operation, 3 pieces in 4 hours.
FaultsTest::Place filledRecordEditor() {
    return [](FaultsTest& t, const std::function<void()>& there) {
        t.inJournal([&] {
            expectWindow(t, "Form11", [&](ui::Form& editor) {
                expectWindow(t, "Form5", [&](ui::Form& list) {
                    goTo(t.dm->Workers, t.basics.worker);
                    click(list, "Button2");
                });
                click(editor, "Button3");
                expectWindow(t, "Form4", [&](ui::Form& list) {
                    goTo(t.dm->Oper, t.basics.oper);
                    click(list, "Button2");
                });
                click(editor, "Button4");
                for (const auto& [box, text] : {std::pair{"Edit3", "3"}, std::pair{"Edit6", "4"}}) {
                    lineEdit(editor, box)->setText(QString::fromLatin1(text));
                    emit lineEdit(editor, box)->editingFinished();
                }
                there();
            });
            t.roster.Form1->Button1->click();
        });
    };
}

// The operation kind editor of a new kind named "Резка".
FaultsTest::Place filledKindEditor() {
    return [](FaultsTest& t, const std::function<void()>& there) {
        t.inJournal([&] {
            expectWindow(t, "Form8", [&](ui::Form& list) {
                expectWindow(t, "Form9", [&](ui::Form& editor) {
                    lineEdit(editor, "Edit1")->setText(QStringLiteral("Резка"));
                    there();
                });
                click(list, "Button1");
            });
            t.roster.Form1->N6->trigger();
        });
    };
}

// The utility work entry of a new work: Иванов, the group "Стеллажи", 8 hours.
FaultsTest::Place filledUtilityEntry() {
    return [](FaultsTest& t, const std::function<void()>& there) {
        t.inJournal([&] {
            expectWindow(t, "Form25", [&](ui::Form&) {
                expectWindow(t, "Form24", [&](ui::Form&) {
                    TForm24& entry = *t.roster.Form24;
                    expectWindow(t, "Form5", [&](ui::Form& list) {
                        goTo(t.dm->Workers, t.basics.worker);
                        click(list, "Button2");
                    });
                    entry.Button3->click();
                    expectWindow(t, "Form26", [&](ui::Form&) {
                        t.roster.Form26->Edit1->setText(QStringLiteral("Стел"));
                        t.roster.Form26->Button1->click();
                    });
                    entry.Button4->click();
                    entry.Edit6->setText(QStringLiteral("8"));
                    there();
                });
                t.roster.Form25->Button1->click();
            });
            t.roster.Form1->Button5->click();
        });
    };
}

// Opens a list from the journal's menu; done when it came up listing rows.
WindowOperation listFromMenu(const char* name, const char* window, QAction* TForm1::*item) {
    return {name, journal(),
            [window, item](FaultsTest& t) {
                t.shown = false;
                expectWindow(t, window, [&t](ui::Form& list) { t.shown = !listed(list).isEmpty(); });
                (t.roster.Form1->*item)->trigger();
            },
            [](FaultsTest& t) { return t.shown; }};
}

// Presses a button that opens a report's preview; done when the preview showed pages.
std::function<void(FaultsTest&)> previewBy(QPushButton* (*button)(FaultsTest&)) {
    return [button](FaultsTest& t) {
        t.shown = false;
        expectWindow(t, "Preview", [&t](ui::Form& preview) {
            t.shown = !static_cast<reportengine::PreviewWindow&>(preview).report().pages.empty();
        });
        button(t)->click();
    };
}

bool oneWorkbookWritten(FaultsTest& t) { return t.desktop.files().size() == 1; }

}  // namespace

FaultsTest::FaultsTest() {
    ui::setToday(today);
    roster.Form1->Timer1->stop();   // the version check has tests of its own
    watcher.open();
    basics = fixtures.basics(ivanov);
    fixtures.norm(basics.oper, 12.5);
    testing_support::Fixtures::Record record;
    record.worker = basics.worker;
    record.product = basics.product;
    record.oper = basics.oper;
    record.day = today;
    record.color = 5;   // not the colour the editor writes, so a new record is no duplicate
    todaysRecord = fixtures.record(record);
    record.day = QDate(2026, 11, 10);   // the previous month, which the reports window presets
    fixtures.record(record);

    exec(dm->ADO_DB, QStringLiteral(
        "insert into accounts_dep.vid_oper (id, vid) values (7777, 'Хоз. работы'), "
        "(7778, 'Хоз. работы (среднесдельная)');"
        "insert into cmn_gds_and_srv.gds_and_srv (id, s_caption, s_description, id_msm_bs, massa) "
        "values (7777, 'Хоз. работы', '', 6, 0)"));
    for (const int kind : {7777, 7778}) fixtures.norm(fixtures.oper(kind, 7777), 150, 1);
    const qint64 shelves = fixtures.group(QStringLiteral("Стеллажи"));
    exec(dm->ADO_DB, QStringLiteral(
        "insert into accounts_dep.fatigue (id_nom, id_o, id_p, d_date, i_mnth, i_year, i_smena, cnt, price) "
        "values (%1, 7777, %2, '08.12.2026', 12, 2026, 1, 8, 150)").arg(shelves).arg(basics.worker));
}

void FaultsTest::inJournal(const std::function<void()>& there) {
    testing_support::loginAs(roster, ui, QStringLiteral("61730482"), [&](TForm1&) { there(); });
}

int FaultsTest::messages() const {
    int count = 0;
    for (const auto& box : ui.dialogs.shown())
        if (box.kind != testing_support::ScriptedDialogs::Kind::Question) ++count;
    return count;
}

QString FaultsTest::messageTexts() const { return ui.dialogs.texts().join(QStringLiteral(" | ")); }

QString FaultsTest::databaseState() {
    static const char* const tables[] = {
        "accounts_dep.smena", "accounts_dep.h_tabel", "accounts_dep.norm", "accounts_dep.oper",
        "accounts_dep.vid_oper", "accounts_dep.person", "accounts_dep.fatigue", "accounts_dep.ver",
        "cmn_contractor.person", "cmn_gds_and_srv.gds_and_srv"};
    QStringList state;
    for (const char* table : tables)
        state << QString::fromLatin1(table) + u'=' +
                     watch(QStringLiteral("select coalesce(string_agg(t::text, '|' order by t::text), '') from %1 t")
                               .arg(QString::fromLatin1(table))).toString();
    return state.join(u'\n');
}

QStringList FaultsTest::exportFolderEntries() const {
    return QDir(desktop.folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

std::vector<WindowOperation> exportOperations() {
    return {
        {"PriceListExcel", priceList(), [](FaultsTest& t) { t.roster.Form4->Button5->click(); }, oneWorkbookWritten},
        {"TimesheetExcel", timesheetWindow(), [](FaultsTest& t) { t.roster.Form19->Button2->click(); },
         oneWorkbookWritten},
        {"ProductionExcel", reportsWindow(), [](FaultsTest& t) { t.roster.Form18->Button6->click(); },
         oneWorkbookWritten},
    };
}

std::vector<WindowOperation> serverOperations() {
    std::vector<WindowOperation> operations{
        {"JournalReadsTheDay", journal(), [](FaultsTest& t) { t.roster.Form1->Button8->click(); },
         [](FaultsTest& t) { return t.dm->Smena1.isOpen() && t.dm->Smena1.recordCount() == 1; }},
        {"JournalAcceptance", journal(), [](FaultsTest& t) { emit t.roster.Form1->DBGrid2->dblClick(); },
         [](FaultsTest& t) {
             return t.watch(QStringLiteral("select ok from accounts_dep.smena where id=%1").arg(t.todaysRecord))
                        .toString() == QStringLiteral("ok");
         }},
        {"JournalDelete", journal(),
         [](FaultsTest& t) {
             t.ui.dialogs.answer(true);
             t.roster.Form1->Button3->click();
         },
         [](FaultsTest& t) {
             return t.watch(QStringLiteral("select count(*)::int from accounts_dep.smena where id=%1").arg(t.todaysRecord))
                        .toInt() == 0;
         }},
        {"RecordEditorSave", filledRecordEditor(), [](FaultsTest& t) { click(*t.roster.Form11, "Button1"); },
         [](FaultsTest& t) {
             return t.watch(QStringLiteral("select count(*)::int from accounts_dep.smena")).toInt() == 3;
         }},
        {"KindEditorSave", filledKindEditor(), [](FaultsTest& t) { click(*t.roster.Form9, "Button1"); },
         [](FaultsTest& t) {
             return t.watch(QStringLiteral("select count(*)::int from accounts_dep.vid_oper where trim(vid)='Резка'"))
                        .toInt() == 1;
         }},
        listFromMenu("WorkerList", "Form5", &TForm1::N1),
        listFromMenu("ProductList", "Form3", &TForm1::N3),
        listFromMenu("KindList", "Form8", &TForm1::N6),
        listFromMenu("PriceList", "Form4", &TForm1::N4),
        {"TimesheetOpens", journal(),
         [](FaultsTest& t) {
             t.shown = false;
             expectWindow(t, "Form19", [&t](ui::Form&) { t.shown = t.dm->H_Tabel_1.isOpen(); });
             t.roster.Form1->N11->trigger();
         },
         [](FaultsTest& t) { return t.shown; }},
        {"TimesheetRefresh", timesheetWindow(), [](FaultsTest& t) { t.roster.Form19->Button5->click(); },
         [](FaultsTest& t) { return t.dm->H_Tabel_1.isOpen(); }},
        {"TimesheetRebuild", timesheetWindow(), [](FaultsTest& t) { t.roster.Form19->Button1->click(); },
         [](FaultsTest& t) {
             return t.watch(QStringLiteral("select count(*)::int from accounts_dep.h_tabel where month=12 and year=2026"))
                        .toInt() > 0 &&
                    t.dm->H_Tabel_1.isOpen();
         }},
        {"TimesheetPrint", timesheetWindow(), previewBy([](FaultsTest& t) { return t.roster.Form19->Button6; }),
         [](FaultsTest& t) { return t.shown; }},
        {"PeriodReport", reportsWindow(), previewBy([](FaultsTest& t) { return t.roster.Form18->Button4; }),
         [](FaultsTest& t) { return t.shown; }},
        {"UtilityWorksList", journal(),
         [](FaultsTest& t) {
             t.shown = false;
             expectWindow(t, "Form25", [&t](ui::Form& list) { t.shown = listed(list).contains(ivanov); });
             t.roster.Form1->Button5->click();
         },
         [](FaultsTest& t) { return t.shown; }},
        {"UtilityWorkEntry", filledUtilityEntry(), [](FaultsTest& t) { t.roster.Form24->Button1->click(); },
         [](FaultsTest& t) {
             return t.watch(QStringLiteral("select count(*)::int from accounts_dep.fatigue")).toInt() == 2;
         }},
    };
    for (WindowOperation& operation : exportOperations()) operations.push_back(std::move(operation));
    return operations;
}

}  // namespace faults
