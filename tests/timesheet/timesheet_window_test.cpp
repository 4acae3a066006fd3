// The timesheet window: opened from the journal on its month, the three grids with their exact
// statement, the month's weekend and beyond-month columns, the drawing of a day cell, the rebuild
// button and the refresh.

#include "data/data_module.h"
#include "data/timesheet_queries.h"
#include "journal/journal_window.h"
#include "tests/support/login.h"
#include "tests/support/process_locale.h"
#include "tests/support/program_fixture.h"
#include "tests/support/test_desktop.h"
#include "tests/support/xlsx_reader.h"
#include "timesheet/timesheet_print_layout.h"
#include "timesheet/timesheet_columns.h"
#include "timesheet/timesheet_window.h"
#include "ui/clock.h"
#include "ui/data_grid.h"
#include "ui/date_picker.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using testing_support::exec;
using testing_support::Fixtures;
using testing_support::loginAs;
using testing_support::ProgramTest;
using testing_support::scalar;

const QString unrestricted = QStringLiteral("61730482");
const QDate today(2026, 12, 8);

class TimesheetWindowTest : public ProgramTest {
protected:
    TimesheetWindowTest() { ui::setToday(today); }

    TForm19& form() { return *roster.Form19; }

    // Opens the timesheet from the journal showing `day`; `play` acts in it.
    void openFromJournal(const QDate& day, std::function<void(TForm19&)> play) {
        loginAs(roster, ui, unrestricted, [&](TForm1& journal) {
            journal.DateT->setDate(day);
            ui.modal.expect(QStringLiteral("Form19"), [&](ui::Form&) { play(form()); });
            journal.N11->trigger();
        });
        expectScriptPlayed();
    }

    void chooseMonth(int month, int year) {
        form().ComboBox1->setCurrentIndex(month - 1);
        form().ComboBox2->setCurrentIndex(form().ComboBox2->findText(QString::number(year)));
        form().ComboBox1Change();
    }

    void record(int worker, const QDate& day, int shift, int hours, double cena = 1, int kolvo = 10) {
        fixtures.record({.worker = worker, .product = basics.product, .oper = basics.oper, .day = day,
                         .shift = shift, .kolvo = kolvo, .cena = cena, .color = nextColor++, .time = hours});
    }

    QStringList column(data::Dataset& dataset, const QString& field) {
        QStringList values;
        for (int row = 0; row < dataset.recordCount(); ++row)
            values << data::displayText(dataset.value(row, dataset.columnIndex(field)));
        return values;
    }

    Fixtures::Basics basics = fixtures.basics();
    int nextColor = 0;
};

TEST_F(TimesheetWindowTest, OpensOnTheJournalsMonthWithTheGridStatements) {
    std::vector<data::Statement> statements;
    openFromJournal(QDate(2025, 12, 15), [&](TForm19& f) {
        EXPECT_EQ(f.ComboBox1->currentText(), QStringLiteral("Декабрь"));
        EXPECT_EQ(f.ComboBox2->currentText(), QStringLiteral("2025"));
        EXPECT_TRUE(dm->H_Tabel_1.isOpen() && dm->H_Tabel_2.isOpen() && dm->H_Tabel_3.isOpen());
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Табель по времени"));
        EXPECT_EQ(f.PageControl1->tabText(2), QStringLiteral("Смена №3"));
        EXPECT_FALSE(f.PB->isVisible());
    });
    EXPECT_FALSE(dm->H_Tabel_1.isOpen() || dm->H_Tabel_2.isOpen() || dm->H_Tabel_3.isOpen());

    QString h;
    for (int d = 1; d <= 31; ++d) h += QStringLiteral("%1coalesce(d%2,0)").arg(d == 1 ? "" : "+").arg(d);
    h = "(" + h + ")";
    EXPECT_EQ(dm->H_Tabel_2.sql(),
              "select person.s_caption fio, \n" + h + " as summ, \ncase when " + h + "=0 then 0 else\n(sum(s.cena*(kol_vo-brak))/" + h +
                  ") end ::numeric(10,2) as average_price, sum(s.cena*(kol_vo-brak))::numeric(10,2) as cena_all,\n"
                  "h_tabel.* \nfrom accounts_dep.h_tabel, cmn_contractor.person, accounts_dep.smena s where \n"
                  "h_tabel.w_id=person.s_code::integer and h_tabel.smena=2 and month=:mnth and s.w_id = h_tabel.w_id and\n"
                  "h_tabel.year=:yea and s.data >=:date1 and s.data <:date2\n"
                  "group by person.s_caption,h_tabel.w_id,h_tabel.month,h_tabel.year,h_tabel.smena,h_tabel.id \n"
                  "order by fio");
    // December's bounds reach into the next year.
    EXPECT_EQ(dm->H_Tabel_3.param(QStringLiteral("mnth")).toInt(), 12);
    EXPECT_EQ(dm->H_Tabel_3.param(QStringLiteral("yea")).toInt(), 2025);
    EXPECT_EQ(dm->H_Tabel_3.param(QStringLiteral("date1")).toDate(), QDate(2025, 12, 1));
    EXPECT_EQ(dm->H_Tabel_3.param(QStringLiteral("date2")).toDate(), QDate(2026, 1, 1));
}

// The list runs from 2007 to the year of the day the window is opened on, and never ends before
// 2025; a journal day outside it chooses the nearest listed year.
TEST_F(TimesheetWindowTest, TheYearListReachesTheYearItIsOpenedInAndAYearOutsideItStillOpens) {
    struct { QDate today, journalDay; QString last, shown; } cases[] = {
        {QDate(2026, 12, 8), QDate(2026, 3, 2), "2026", "2026"},
        {QDate(2027, 1, 1), QDate(2027, 1, 1), "2027", "2027"},
        {QDate(2030, 2, 28), QDate(2029, 3, 2), "2030", "2029"},
        {QDate(2024, 5, 10), QDate(2024, 5, 10), "2025", "2024"},
        {QDate(2026, 12, 8), QDate(2031, 3, 2), "2026", "2026"},
        {QDate(2026, 12, 8), QDate(2003, 3, 2), "2026", "2007"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.today.toString(Qt::ISODate).toStdString() + " " + c.journalDay.toString(Qt::ISODate).toStdString());
        ui::setToday(c.today);
        openFromJournal(c.journalDay, [&](TForm19& f) {
            const QComboBox* years = f.ComboBox2;
            EXPECT_EQ(years->itemText(0), QStringLiteral("2007"));
            EXPECT_EQ(years->itemText(years->count() - 1), c.last);
            EXPECT_EQ(years->count(), c.last.toInt() - 2007 + 1);
            EXPECT_EQ(f.ComboBox2->currentText(), c.shown);
            EXPECT_EQ(f.ComboBox1->currentIndex(), c.journalDay.month() - 1);
            EXPECT_TRUE(dm->H_Tabel_1.isOpen());
            EXPECT_EQ(dm->H_Tabel_1.param(QStringLiteral("yea")).toInt(), c.shown.toInt());
        });
    }
}

// A workstation left running over the new year opens the timesheet on the new year's January,
// not on the January of the year before.
TEST_F(TimesheetWindowTest, AProgramRunningAcrossTheNewYearOpensTheNewYearsMonth) {
    ui::setToday(QDate(2026, 12, 31));
    openFromJournal(QDate(2026, 12, 31), [&](TForm19& f) { EXPECT_EQ(f.ComboBox2->currentText(), QStringLiteral("2026")); });
    ui::setToday(QDate(2027, 1, 1));
    openFromJournal(QDate(2027, 1, 1), [&](TForm19& f) {
        EXPECT_EQ(f.ComboBox1->currentText(), QStringLiteral("Январь"));
        EXPECT_EQ(f.ComboBox2->currentText(), QStringLiteral("2027"));
        EXPECT_EQ(dm->H_Tabel_1.param(QStringLiteral("date1")).toDate(), QDate(2027, 1, 1));
    });
}

struct MonthCase {
    int month;
    int year;
    QList<int> red;
    int days;
};

TEST_F(TimesheetWindowTest, MarksWeekendsRedAndDaysBeyondTheMonthReadOnlyAndInvisible) {
    const QColor text = QApplication::palette().color(QPalette::WindowText);
    const QColor background = QApplication::palette().color(QPalette::Window);
    const MonthCase cases[] = {
        {8, 2026, {1, 2, 8, 9, 15, 16, 22, 23, 29, 30}, 31},   // begins on a Saturday
        {2, 2026, {1, 7, 8, 14, 15, 21, 22, 28}, 28},          // begins on a Sunday, not leap
        {2, 2024, {3, 4, 10, 11, 17, 18, 24, 25}, 29},         // leap
    };
    openFromJournal(today, [&](TForm19& f) {
        for (const MonthCase& c : cases) {
            SCOPED_TRACE(c.month);
            chooseMonth(c.month, c.year);
            for (ui::DataGrid* grid : {f.DBGrid1, f.DBGrid3}) {
                const QList<ui::GridColumn>& columns = grid->datasetModel()->columns();
                for (int day = 1; day <= 31; ++day) {
                    SCOPED_TRACE(day);
                    const ui::GridColumn& column = columns.at(day);
                    ASSERT_EQ(column.field, QStringLiteral("d%1").arg(day));
                    const QVariant title = grid->datasetModel()->headerData(day, Qt::Horizontal, Qt::ForegroundRole);
                    if (day > c.days) {
                        EXPECT_TRUE(column.readOnly);
                        EXPECT_EQ(column.color, background);
                        EXPECT_EQ(title.value<QColor>(), timesheet::silver);
                    } else {
                        const QColor expected = c.red.contains(day) ? timesheet::weekendRed : text;
                        EXPECT_FALSE(column.readOnly);
                        EXPECT_EQ(column.color, expected);
                        EXPECT_EQ(title.value<QColor>(), expected);
                    }
                    EXPECT_FALSE(grid->isColumnHidden(day));   // the columns stay
                }
            }
        }
    });
}

TEST(TimesheetCells, DrawADayByItsHours) {
    const QColor text = QApplication::palette().color(QPalette::WindowText);
    const QColor background = QApplication::palette().color(QPalette::Window);
    const ui::GridColumn weekday{"5", "d5", 20, Qt::AlignCenter, true, text};
    const ui::GridColumn weekend{"6", "d6", 20, Qt::AlignCenter, true, timesheet::weekendRed};
    const ui::GridColumn beyond{"31", "d31", 20, Qt::AlignCenter, true, background, timesheet::silver, true};
    const ui::GridColumn name{"Фамилия И. О.", "fio", 208};
    const ui::GridColumn total{"Итого", "summ", 47};
    struct Case {
        const char* name;
        QVariant value;
        ui::GridColumn column;
        bool bold;
        QColor text;
        QColor background;
    } cases[] = {
        {"empty weekday", QVariant(), weekday, false, timesheet::silver, {}},
        {"zero weekday", 0, weekday, false, timesheet::silver, {}},
        {"zero weekend", 0, weekend, false, timesheet::weekendRed, {}},
        {"empty beyond the month", QVariant(), beyond, false, background, {}},
        {"short day", 7, weekday, false, text, {}},
        {"eight hours", 8, weekday, true, text, {}},
        {"eight on a weekend", 8, weekend, true, timesheet::weekendRed, {}},
        {"nine hours", 9, weekday, true, text, timesheet::longDayGreen},
        {"twelve on a weekend", 12, weekend, true, timesheet::weekendRed, timesheet::longDayGreen},
        {"name of zero", 0, name, false, {}, {}},
        {"total", 0, total, true, {}, timesheet::totalBlue},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui::CellStyle style;
        style.text = c.column.color;
        timesheet::styleCell(c.value, c.column, style);
        EXPECT_EQ(style.bold, c.bold);
        EXPECT_EQ(style.text, c.text);
        EXPECT_EQ(style.background, c.background);
    }
}

TEST_F(TimesheetWindowTest, RebuildsTheChosenMonthAndListsEachShiftOnItsTab) {
    const int other = fixtures.worker(QStringLiteral("Петров П.П."));
    record(basics.worker, QDate(2026, 11, 2), 1, 8, 2.5, 10);   // earns 25
    record(basics.worker, QDate(2026, 11, 3), 3, 9, 1, 4);      // earns 4, in shift 3
    record(other, QDate(2026, 11, 2), 2, 0);                    // no hours
    openFromJournal(today, [&](TForm19& f) {
        chooseMonth(11, 2026);
        EXPECT_TRUE(dm->H_Tabel_1.isEmpty());
        f.Button1->click();
        EXPECT_FALSE(f.PB->isVisible());
        EXPECT_EQ(f.PB->maximum(), 30);
        ASSERT_TRUE(dm->H_Tabel_1.isOpen());
        EXPECT_EQ(column(dm->H_Tabel_1, "fio"), QStringList{"Иванов И.И."});
        EXPECT_EQ(column(dm->H_Tabel_1, "summ"), QStringList{"8"});
        EXPECT_EQ(column(dm->H_Tabel_1, "cena_all"), QStringList{"29"});   // both shifts' records
        EXPECT_EQ(column(dm->H_Tabel_1, "average_price"), QStringList{"3.63"});
        EXPECT_EQ(column(dm->H_Tabel_2, "fio"), QStringList{"Петров П.П."});
        EXPECT_EQ(column(dm->H_Tabel_2, "average_price"), QStringList{"0"});
        EXPECT_EQ(column(dm->H_Tabel_3, "d3"), QStringList{"9"});
        EXPECT_EQ(f.DBGrid3->datasetModel()->cellStyle(0, 3).background, timesheet::longDayGreen);

        // Another workstation's change shows after "Обновить".
        exec(dm->ADO_DB, QStringLiteral("update accounts_dep.h_tabel set d4=5 where smena=1"));
        f.Button5->click();
        EXPECT_EQ(column(dm->H_Tabel_1, "summ"), QStringList{"13"});
    });
    EXPECT_TRUE(ui.dialogs.shown().empty());
}

TEST_F(TimesheetWindowTest, AFailedRebuildShowsTheErrorAndLeavesTheMonth) {
    record(basics.worker, QDate(2026, 11, 2), 1, 8);
    openFromJournal(today, [&](TForm19& f) {
        chooseMonth(11, 2026);
        f.Button1->click();
        record(basics.worker, QDate(2026, 11, 20), 1, 2000000000);
        record(basics.worker, QDate(2026, 11, 20), 1, 2000000000);
        f.Button1->click();
        ASSERT_EQ(ui.dialogs.shown().size(), 1u);
        EXPECT_EQ(ui.dialogs.shown()[0].kind, testing_support::ScriptedDialogs::Kind::StandardError);
        EXPECT_FALSE(dm->H_Tabel_1.isOpen());
        f.Button5->click();
        EXPECT_EQ(column(dm->H_Tabel_1, "summ"), QStringList{"8"});
    });
}

TEST_F(TimesheetWindowTest, ActivationPutsBackTheExcelCaption) {
    openFromJournal(today, [&](TForm19& f) { f.Button2->setText(QStringLiteral("Excel (3 из 10)")); });
    openFromJournal(today, [&](TForm19& f) { EXPECT_EQ(f.Button2->text(), QStringLiteral("Excel")); });
}

// The export: one row per worker with the hours of all his shifts per day, every one of the 31
// days written (0 where there are none), the total, and the caption counting the rows.
TEST_F(TimesheetWindowTest, ExportsTheMonthToAWorkbookWithEveryDayAndTheTotal) {
    const QDate november(2026, 11, 1);
    const int second = fixtures.worker(QStringLiteral("Петров П.П."));
    record(basics.worker, november.addDays(2), 1, 4);
    record(basics.worker, november.addDays(2), 4, 2);
    record(basics.worker, november.addDays(29), 2, 8);
    record(second, november.addDays(9), 3, 7);
    testing_support::TestDesktop desktop;
    bool lockedWhileWriting = false;
    openFromJournal(november, [&](TForm19& f) {
        f.Button1Click();   // "Перестроить"
        QTimer::singleShot(0, [&] { lockedWhileWriting = !f.Button1->isEnabled() && !f.ComboBox1->isEnabled(); });
        f.Button2->click();
        EXPECT_EQ(f.Button2->text(), QStringLiteral("Excel (2 из 2)"));
        EXPECT_TRUE(f.Button1->isEnabled());
    });
    EXPECT_TRUE(lockedWhileWriting);
    EXPECT_TRUE(ui.dialogs.shown().empty());
    ASSERT_EQ(desktop.files().size(), 1);
    const testing_support::XlsxSheet sheet = testing_support::readXlsx(desktop.files()[0]).at(0);
    EXPECT_EQ(sheet.rowCount(), 4);
    EXPECT_EQ(sheet.text(1, 1), QStringLiteral("Ноябрь 2026"));
    EXPECT_TRUE(sheet.at(1, 1)->bold);
    EXPECT_EQ(sheet.text(2, 1), QStringLiteral("Фамилия И.О."));
    EXPECT_EQ(sheet.text(2, 33), QStringLiteral("Итого"));
    for (int day = 1; day <= 31; ++day) {
        EXPECT_EQ(sheet.text(2, day + 1), QString::number(day));
        EXPECT_TRUE(sheet.at(2, day + 1)->number && sheet.at(2, day + 1)->bold);
    }
    const struct { int row; const char* name; int day; const char* hours; const char* total; } rows[] = {
        {3, "Иванов И.И.", 3, "6", "14"},   // shifts 1 and 4 added on the 3rd, 8 on the 30th
        {4, "Петров П.П.", 10, "7", "7"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(sheet.text(r.row, 1), QString::fromUtf8(r.name));
        EXPECT_EQ(sheet.at(r.row, 1)->format, QStringLiteral("@"));
        EXPECT_FALSE(sheet.at(r.row, 1)->bold);
        EXPECT_EQ(sheet.text(r.row, r.day + 1), QString::fromLatin1(r.hours));
        EXPECT_EQ(sheet.text(r.row, 32), QStringLiteral("0"));   // the 31st, which November has not
        EXPECT_TRUE(sheet.at(r.row, 32)->number);
        EXPECT_EQ(sheet.text(r.row, 33), QString::fromLatin1(r.total));
    }
    EXPECT_EQ(sheet.text(3, 31), QStringLiteral("8"));
}

// Under the C locale and the department's: the names are text exactly as stored, however much
// they look like numbers, and the hours numbers standing in the file as plain digits; the reader
// refuses a workbook with any number (a width, a margin) written with a comma.
TEST_F(TimesheetWindowTest, TheExportReadsBackUnderEveryLocale) {
    const QDate november(2026, 11, 1);
    const struct { const char* name; int day; int hours; } workers[] = {
        {"007", 3, 8}, {"12.50", 10, 11}, {" 42", 30, 4},
    };
    for (const auto& w : workers) record(fixtures.worker(QString::fromUtf8(w.name)), november.addDays(w.day - 1), 1, w.hours);
    for (const char* locale : testing_support::exportLocales) {
        SCOPED_TRACE(locale);
        const testing_support::ProcessLocale running(locale);
        testing_support::TestDesktop desktop;
        openFromJournal(november, [&](TForm19& f) {
            f.Button1Click();   // "Перестроить"
            f.Button2->click();
        });
        EXPECT_TRUE(ui.dialogs.shown().empty()) << ui.dialogs.texts().join(u'|').toStdString();
        ASSERT_EQ(desktop.files().size(), 1);
        const std::vector<testing_support::XlsxSheet> sheets = testing_support::readXlsx(desktop.files()[0]);
        ASSERT_EQ(sheets.size(), 1u);
        const testing_support::XlsxSheet& sheet = sheets[0];
        EXPECT_EQ(sheet.widths.size(), 33u);
        QStringList rows;
        for (int row = 3; row <= sheet.rowCount(); ++row) {
            ASSERT_NE(sheet.at(row, 1), nullptr);
            EXPECT_FALSE(sheet.at(row, 1)->number);
            QString text = sheet.text(row, 1);
            for (int column = 2; column <= 33; ++column) {
                ASSERT_TRUE(sheet.at(row, column) && sheet.at(row, column)->number) << row << "/" << column;
                if (sheet.text(row, column) != QLatin1String("0")) text += u'|' + sheet.text(row, column);
            }
            rows << text;
        }
        rows.sort();
        EXPECT_EQ(rows, (QStringList{QStringLiteral(" 42|4|4"), QStringLiteral("007|8|8"), QStringLiteral("12.50|11|11")}));
    }
}

TEST_F(TimesheetWindowTest, AnEmptyMonthExportsTheTwoHeaderRows) {
    testing_support::TestDesktop desktop;
    openFromJournal(today, [&](TForm19& f) {
        f.Button2->click();
        EXPECT_EQ(f.Button2->text(), QStringLiteral("Excel (0 из 0)"));
    });
    ASSERT_EQ(desktop.files().size(), 1);
    const testing_support::XlsxSheet sheet = testing_support::readXlsx(desktop.files()[0]).at(0);
    EXPECT_EQ(sheet.rowCount(), 2);
    EXPECT_EQ(sheet.text(1, 1), QStringLiteral("Декабрь 2026"));
    EXPECT_FALSE(roster.Form15->H_Tabel.isOpen());
}

}  // namespace
