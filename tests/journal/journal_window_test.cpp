// The journal: the records of a date and shift, the day-off box, the acceptance toggle, and the
// re-reading that every activation does.

#include "data/data_module.h"
#include "journal/journal_window.h"
#include "tests/support/login.h"
#include "tests/support/program_fixture.h"
#include "ui/clock.h"
#include "ui/data_grid.h"
#include "ui/date_picker.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QCoreApplication>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>

namespace {

using testing_support::exec;
using testing_support::Fixtures;
using testing_support::loginAs;
using testing_support::ProgramTest;
using testing_support::scalar;
using testing_support::StatementLog;

const QDate tuesday(2026, 12, 8);
const QDate saturday(2026, 12, 12);
const QString unrestricted = QStringLiteral("61730482");

class JournalTest : public ProgramTest {
protected:
    JournalTest() { ui::setToday(tuesday); }

    TForm1& journal() { return *roster.Form1; }

    // Logs in and leaves the journal as the login showed it.
    void showJournal(const QString& word = unrestricted) { loginAs(roster, ui, word); }

    Fixtures::Basics basics = fixtures.basics();

    int record(const QVariant& ok, int shift = 1, const QDate& day = tuesday) {
        // Records of one worker, product and operation differ by colour.
        return fixtures.record({.worker = basics.worker, .product = basics.product, .oper = basics.oper,
                                .day = day, .shift = shift, .color = nextColor++, .ok = ok});
    }

    QStringList column(data::Dataset& dataset, const QString& field) {
        QStringList values;
        for (int row = 0; row < dataset.recordCount(); ++row)
            values << data::displayText(dataset.value(row, dataset.columnIndex(field)));
        return values;
    }

    QString markOf(int id) {
        return scalar(dm->ADO_DB, QStringLiteral("select ok from accounts_dep.smena where id=%1").arg(id)).toString();
    }

    int nextColor = 0;
};

TEST_F(JournalTest, ReadsTheFourShiftsWithTheirStatementsAsWritten) {
    StatementLog log(dm->ADO_DB);
    showJournal();
    ASSERT_EQ(log.statements().size(), 4u);
    const QString shift1 =
        "select smena.id, smena.data, smena.smena, smena.i_id, smena.o_id, smena.w_id, \n"
        "smena.cena,person.s_caption fio, izdel.marka, vid_oper.vid, (SELECT (CASE naimen WHEN 0 THEN "
        "'Готовая продукция' ELSE 'Заготовки' END)) as nmn, oper.naimen,  smena.brak, smena.kol_vo::numeric,\n"
        "round((kol_vo-brak)*smena.cena::numeric, 2) as summa, smena.prize, color,time, smena.ok, vvod, "
        "smena.id_doc, smena.id_doc_item, smena.f_gds_qty_use, smena.id_gds_use, smena.id_cons_use\n"
        "from cmn_contractor.person person, accounts_dep.izdel,accounts_dep.oper,accounts_dep.smena,"
        "accounts_dep.vid_oper \n"
        "where smena.i_id=izdel.id and smena.o_id=oper.id and (w_id=person.id or s_code::t_id=w_id) and \n"
        "oper.vid=vid_oper.id and smena.smena=1 and smena.data=:data and ok!=:ok order by \n"
        "fio, izdel.marka, vid_oper.vid, oper.naimen, color";
    const QString shift2 =
        "select smena.data, smena.smena, smena.i_id, smena.o_id, smena.w_id, \n"
        "smena.cena,person.s_caption fio, izdel.marka, vid_oper.vid, (SELECT (CASE naimen WHEN 0 THEN "
        "'Готовая продукция' ELSE 'Заготовки' END)) as nmn, oper.naimen,  smena.brak, smena.kol_vo::numeric,\n"
        "round((kol_vo-brak)*smena.cena::numeric, 2) as summa, smena.prize, smena.id, color,time, smena.ok, "
        "vvod, smena.id_doc, smena.id_doc_item, smena.f_gds_qty_use, smena.id_gds_use, smena.id_cons_use\n"
        "from cmn_contractor.person person, accounts_dep.izdel,accounts_dep.oper,accounts_dep.smena,"
        "accounts_dep.vid_oper \n"
        "where smena.i_id=izdel.id and smena.o_id=oper.id and (w_id=person.id or s_code::t_id=w_id) and \n"
        "oper.vid=vid_oper.id and smena.smena=2 and smena.data=:data and ok<>:ok order by fio";
    EXPECT_EQ(log.statements()[0].text, shift1);
    EXPECT_EQ(log.statements()[1].text, shift2);
    QString shift4 = shift2;
    EXPECT_EQ(log.statements()[3].text, shift4.replace(QStringLiteral("smena.smena=2"), QStringLiteral("smena.smena=4")));
    for (const data::Statement& s : log.statements()) {
        EXPECT_EQ(s.param(QStringLiteral("data")).toDate(), tuesday);
        EXPECT_EQ(s.param(QStringLiteral("ok")).toString(), QStringLiteral("ta"));
    }
    expectScriptPlayed();
}

TEST_F(JournalTest, ListsTheRecordsOfTheDateAndShiftThatHaveANameAndAMark) {
    record(QStringLiteral("no"));
    record(QStringLiteral("ok"));
    record(QStringLiteral("да"));
    record(QVariant());                      // no mark: never listed
    record(QStringLiteral("ta"));            // the excluded mark
    record(QStringLiteral("no"), 2);
    record(QStringLiteral("no"), 1, tuesday.addDays(-1));
    const int stranger = fixtures.worker(QStringLiteral("Сидоров С.С."));
    exec(dm->ADO_DB, QStringLiteral("delete from cmn_contractor.person where id=%1").arg(stranger));
    Fixtures::Record unnamed{stranger, basics.product, basics.oper, tuesday};
    fixtures.record(unnamed);

    showJournal();
    EXPECT_EQ(column(dm->Smena1, QStringLiteral("ok")),
              (QStringList{QStringLiteral("no"), QStringLiteral("ok"), QStringLiteral("да")}));
    EXPECT_EQ(dm->Smena2.recordCount(), 1);
    EXPECT_EQ(dm->Smena3.recordCount(), 0);
    EXPECT_EQ(dm->Smena1.field(QStringLiteral("fio")).asString(), QStringLiteral("Иванов И.И."));
    EXPECT_EQ(journal().DBGrid2->dataset(), &dm->Smena1);
    EXPECT_EQ(journal().DBGrid2->model()->rowCount(), 3);
}

TEST_F(JournalTest, ShiftOneIsOrderedByNameMarkOperationTypeAndColour) {
    const int petrov = fixtures.worker(QStringLiteral("Петров П.П."));
    const qint64 b = fixtures.product(QStringLiteral("Б-2"));
    const qint64 a = fixtures.product(QStringLiteral("А-1"));
    const int assembly = fixtures.kind(QStringLiteral("Сборка"));
    const int paint = fixtures.kind(QStringLiteral("Окраска"));
    const auto add = [&](int worker, qint64 product, int kind, int naimen, int color) {
        fixtures.record({worker, product, fixtures.oper(kind, product, naimen), tuesday, 1, 10, 0, 1, color});
    };
    add(petrov, b, assembly, 0, 0);
    add(basics.worker, b, assembly, 0, 0);
    add(basics.worker, a, paint, 0, 5);
    add(basics.worker, a, paint, 0, 2);
    add(basics.worker, a, assembly, 1, 0);
    add(basics.worker, a, assembly, 0, 0);
    showJournal();
    QStringList rows;
    for (int row = 1; row <= dm->Smena1.recordCount(); ++row) {
        dm->Smena1.setRecNo(row);
        rows << QStringLiteral("%1 %2 %3 %4 %5").arg(dm->Smena1.field("fio").asString(), dm->Smena1.field("marka").asString(),
                                                     dm->Smena1.field("vid").asString().trimmed(), dm->Smena1.field("nmn").asString(),
                                                     dm->Smena1.field("color").asString());
    }
    EXPECT_EQ(rows, (QStringList{
                        "Иванов И.И. А-1 Окраска Готовая продукция 2",
                        "Иванов И.И. А-1 Окраска Готовая продукция 5",
                        "Иванов И.И. А-1 Сборка Готовая продукция 0",
                        "Иванов И.И. А-1 Сборка Заготовки 0",
                        "Иванов И.И. Б-2 Сборка Готовая продукция 0",
                        "Петров П.П. Б-2 Сборка Готовая продукция 0",
                    }));
}

TEST_F(JournalTest, CutsLongNamesToFifty) {
    const int worker = fixtures.worker(QString(70, QChar(u'Ж')));
    fixtures.record({worker, basics.product, basics.oper, tuesday});
    showJournal();
    EXPECT_EQ(dm->Smena1.field(QStringLiteral("fio")).asString(), QString(50, QChar(u'Ж')));
}

TEST_F(JournalTest, ShowsTheAcceptanceMarkInBoldGreenOrRed) {
    record(QStringLiteral("no"));
    record(QStringLiteral("ok"));
    record(QStringLiteral("да"));
    record(QString());
    showJournal();
    const ui::DatasetModel& model = *journal().DBGrid2->datasetModel();
    const int okColumn = 10;
    ASSERT_EQ(model.headerData(okColumn, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("OK"));
    const QColor green(0, 128, 0);
    const QColor red(255, 0, 0);
    QList<QColor> colours;
    for (int row = 0; row < model.rowCount(); ++row) {
        EXPECT_TRUE(model.cellStyle(row, okColumn).bold);
        EXPECT_FALSE(model.cellStyle(row, 0).bold) << "only the OK column is drawn by the journal";
        colours << model.data(model.index(row, okColumn), Qt::ForegroundRole).value<QColor>();
    }
    EXPECT_EQ(column(dm->Smena1, "ok"), (QStringList{"no", "ok", "да", ""}));
    EXPECT_EQ(colours, (QList<QColor>{red, green, green, red}));
}

// The colour of the text the grid draws in a cell: the pixel that stands out most from the cell's
// background.
QColor textColour(ui::DataGrid& grid, int row, int column) {
    const QImage image = grid.viewport()->grab().toImage();
    const QRect cell = grid.visualRect(grid.model()->index(row, column)).adjusted(2, 2, -2, -2);
    const QColor background = image.pixelColor(cell.topLeft());
    const auto distance = [&background](const QColor& c) {
        return std::abs(c.red() - background.red()) + std::abs(c.green() - background.green()) +
               std::abs(c.blue() - background.blue());
    };
    QColor text = background;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            if (distance(image.pixelColor(x, y)) > distance(text)) text = image.pixelColor(x, y);
    return text;
}

// Near enough for the core of a smoothed glyph.
bool closeTo(const QColor& seen, const QColor& expected) {
    return std::abs(seen.red() - expected.red()) <= 48 && std::abs(seen.green() - expected.green()) <= 48 &&
           std::abs(seen.blue() - expected.blue()) <= 48;
}

TEST_F(JournalTest, TheSelectedRowKeepsTheAcceptanceColours) {
    record(QStringLiteral("no"));
    record(QStringLiteral("ok"));
    record(QStringLiteral("да"));
    const QList<QColor> expected{QColor(255, 0, 0), QColor(0, 128, 0), QColor(0, 128, 0)};
    loginAs(roster, ui, unrestricted, [&](TForm1& journal) {
        ui::DataGrid& grid = *journal.DBGrid2;
        const int okColumn = 10;
        for (int row = 0; row < expected.size(); ++row) {
            dm->Smena1.setRecNo(row + 1);
            ASSERT_TRUE(grid.selectionModel()->isRowSelected(row, {}));
            const QColor seen = textColour(grid, row, okColumn);
            EXPECT_TRUE(closeTo(seen, expected[row]))
                << "row " << row << ": " << seen.name().toStdString() << ", not " << expected[row].name().toStdString();
        }
    });
}

TEST_F(JournalTest, DoubleClickTogglesAcceptanceAndKeepsTheRow) {
    const int first = record(QStringLiteral("no"));
    const int second = record(QStringLiteral("no"));
    const int third = record(QStringLiteral("да"));
    showJournal();
    dm->Smena1.setRecNo(2);
    journal().DBGrid2DblClick();
    EXPECT_EQ(markOf(second), QStringLiteral("ok"));
    EXPECT_EQ(dm->Smena1.recNo(), 2);
    EXPECT_EQ(dm->Smena1.field(QStringLiteral("ok")).asString(), QStringLiteral("ok"));
    journal().DBGrid2DblClick();
    EXPECT_EQ(markOf(second), QStringLiteral("no"));

    dm->Smena1.setRecNo(3);
    journal().DBGrid2DblClick();
    EXPECT_EQ(markOf(third), QStringLiteral("no"));
    EXPECT_EQ(markOf(first), QStringLiteral("no"));
    EXPECT_EQ(journal().currentShiftDataset, &dm->Smena1);
}

TEST_F(JournalTest, TogglesOnTheChosenShift) {
    record(QStringLiteral("no"), 1);
    const int overtime = record(QStringLiteral("no"), 4);
    showJournal();
    journal().RadioButton4->click();
    EXPECT_EQ(journal().selectedShift, 4);
    EXPECT_EQ(journal().DBGrid2->dataset(), &dm->Smena4);
    journal().DBGrid2DblClick();
    EXPECT_EQ(markOf(overtime), QStringLiteral("ok"));
    EXPECT_EQ(scalar(dm->ADO_DB, QStringLiteral("select count(*) from accounts_dep.smena where ok='ok'")).toInt(), 1);
}

TEST_F(JournalTest, TheForemanAndAnEmptyListToggleNothing) {
    const int id = record(QStringLiteral("no"));
    showJournal(QStringLiteral("brunzel"));
    StatementLog log(dm->ADO_DB);
    journal().DBGrid2DblClick();

    journal().roleWord = unrestricted;
    journal().RadioButton3->click();   // no records in shift 3
    journal().DBGrid2DblClick();
    EXPECT_EQ(log.texts(), QStringList());
    EXPECT_TRUE(ui.dialogs.shown().empty());
    EXPECT_EQ(markOf(id), QStringLiteral("no"));
}

// The colour the control is painted with, read off its right edge.
QColor background(QWidget* control) {
    const QImage image = control->grab().toImage();
    return image.pixelColor(image.width() - 2, image.height() / 2);
}

TEST_F(JournalTest, ChoosingAShiftPaintsItsButton) {
    showJournal();
    EXPECT_TRUE(journal().RadioButton1->font().bold());
    EXPECT_EQ(background(journal().RadioButton1), QColor(0, 128, 0));
    journal().RadioButton2->click();
    EXPECT_TRUE(journal().RadioButton2->font().bold());
    EXPECT_EQ(background(journal().RadioButton2), QColor(0, 128, 0));
    EXPECT_FALSE(journal().RadioButton1->font().bold());
    EXPECT_NE(background(journal().RadioButton1), QColor(0, 128, 0));
    EXPECT_EQ(journal().DBGrid2->dataset(), &dm->Smena2);
}

TEST_F(JournalTest, AWeekendChecksTheDayOffBoxAndOnlyAPickedDateClearsIt) {
    ui::setToday(saturday);
    showJournal();
    EXPECT_TRUE(journal().CBox1->isChecked());
    EXPECT_TRUE(journal().CBox1->font().bold());
    EXPECT_EQ(background(journal().CBox1), QColor(255, 0, 0));

    ui::setToday(tuesday);   // the next activation on a weekday leaves it checked
    journal().formActivate();
    EXPECT_TRUE(journal().CBox1->isChecked());

    journal().DateT->setDate(QDate(2026, 12, 7));   // a Monday picked in the calendar
    journal().DateTChange();
    EXPECT_FALSE(journal().CBox1->isChecked());
    EXPECT_FALSE(journal().CBox1->font().bold());
    EXPECT_NE(background(journal().CBox1), QColor(255, 0, 0));
    journal().DateT->setDate(QDate(2026, 12, 6));   // a Sunday
    journal().DateTChange();
    EXPECT_TRUE(journal().CBox1->isChecked());
}

TEST_F(JournalTest, ATypedDateIsReadOnlyOnEnter) {
    const QDate monday(2026, 12, 7);
    record(QStringLiteral("no"), 1, monday);
    showJournal();
    EXPECT_EQ(dm->Smena1.recordCount(), 0);
    journal().DateT->setDate(monday);
    EXPECT_EQ(dm->Smena1.param(QStringLiteral("data")).toDate(), tuesday);
    EXPECT_EQ(dm->Smena1.recordCount(), 0);
    QTest::keyClick(journal().DateT, Qt::Key_Return);
    EXPECT_EQ(dm->Smena1.param(QStringLiteral("data")).toDate(), monday);
    EXPECT_EQ(dm->Smena4.param(QStringLiteral("data")).toDate(), monday);
    EXPECT_EQ(dm->Smena1.recordCount(), 1);
}

// However the calendar closes, the lists are read again with the date the box then shows. The
// user has typed Monday without Enter, opened the calendar and moved it on to Sunday.
struct CalendarClosing {
    const char* how;
    std::function<void(ui::DatePicker&)> close;
};

void PrintTo(const CalendarClosing& closing, std::ostream* out) { *out << closing.how; }

const QDate typedMonday(2026, 12, 7);
const QDate pickedSunday(2026, 12, 6);

class CalendarClosingTest : public JournalTest, public testing::WithParamInterface<CalendarClosing> {};

// Opens the picker's calendar as a user does: a click on its arrow.
QWidget* openCalendar(ui::DatePicker& picker) {
    QTest::mouseClick(&picker, Qt::LeftButton, {}, QPoint(picker.width() - 4, picker.height() / 2));
    return picker.calendarWindow();
}

QAbstractItemView& calendarDays(ui::DatePicker& picker) {
    return *picker.calendarWidget()->findChild<QAbstractItemView*>();
}

TEST_P(CalendarClosingTest, RereadsTheFourShiftsWithTheDateShown) {
    record(QStringLiteral("no"), 1, typedMonday);
    record(QStringLiteral("no"), 1, pickedSunday);
    record(QStringLiteral("no"), 1, pickedSunday);
    loginAs(roster, ui, unrestricted, [&](TForm1& journal) {
        StatementLog log(dm->ADO_DB);
        journal.DateT->setDate(typedMonday);
        QWidget* calendar = openCalendar(*journal.DateT);
        ASSERT_TRUE(calendar->isVisible());
        journal.DateT->calendarWidget()->setSelectedDate(pickedSunday);
        QCoreApplication::processEvents();
        EXPECT_EQ(log.statements().size(), 0u) << "neither typing nor moving in the calendar reads";

        GetParam().close(*journal.DateT);
        QCoreApplication::processEvents();
        ASSERT_FALSE(calendar->isVisible());
        // Escape may give the box back the date the calendar opened with; either way not today's.
        const QDate shown = journal.DateT->date();
        ASSERT_TRUE(shown == typedMonday || shown == pickedSunday) << shown.toString().toStdString();
        ASSERT_EQ(log.statements().size(), 4u);
        for (int shift = 1; shift <= 4; ++shift) {
            const data::Statement& read = log.statements()[shift - 1];
            EXPECT_TRUE(read.text.contains(QStringLiteral("smena.smena=%1").arg(shift))) << read.text.toStdString();
            EXPECT_EQ(read.param(QStringLiteral("data")).toDate(), shown);
        }
        EXPECT_EQ(dm->Smena1.recordCount(), shown == pickedSunday ? 2 : 1);
        EXPECT_EQ(journal.CBox1->isChecked(), ui::isWeekend(shown));
    });
    expectScriptPlayed();
}

INSTANTIATE_TEST_SUITE_P(
    Journal, CalendarClosingTest,
    testing::Values(
        CalendarClosing{"DayChosenWithEnter",
                        [](ui::DatePicker& picker) { QTest::keyClick(&calendarDays(picker), Qt::Key_Return); }},
        CalendarClosing{"Escape",
                        [](ui::DatePicker& picker) { QTest::keyClick(&calendarDays(picker), Qt::Key_Escape); }},
        CalendarClosing{"ClickOutside",
                        [](ui::DatePicker& picker) {
                            QWidget* calendar = picker.calendarWindow();
                            QTest::mouseClick(calendar, Qt::LeftButton, {}, QPoint(-20, calendar->height() / 2));
                        }}),
    [](const testing::TestParamInfo<CalendarClosing>& info) { return std::string(info.param.how); });

TEST_F(JournalTest, ClosingAWindowOpenedFromTheJournalBringsBackToday) {
    record(QStringLiteral("no"));
    loginAs(roster, ui, unrestricted, [&](TForm1& journal) {
        journal.DateT->setDate(tuesday.addDays(-3));
        journal.DateTChange();
        EXPECT_EQ(dm->Smena1.recordCount(), 0);
        ui.modal.expect(QStringLiteral("Form19"), [](ui::Form&) {});
        journal.N11->trigger();
        EXPECT_EQ(journal.DateT->date(), tuesday);
        EXPECT_EQ(dm->Smena1.param(QStringLiteral("data")).toDate(), tuesday);
        EXPECT_EQ(dm->Smena1.recordCount(), 1);
    });
    EXPECT_EQ(ui.modal.shownWindows(), (QStringList{"Form1", "Form19"}));
    expectScriptPlayed();
}

TEST_F(JournalTest, RefreshRereadsWithTheSameDate) {
    showJournal();
    EXPECT_EQ(dm->Smena1.recordCount(), 0);
    record(QStringLiteral("no"));
    journal().Button8->click();
    EXPECT_EQ(dm->Smena1.recordCount(), 1);
    EXPECT_EQ(dm->Smena1.param(QStringLiteral("data")).toDate(), tuesday);
}

TEST_F(JournalTest, ADatabaseErrorIsShownAndTheJournalGoesOn) {
    record(QStringLiteral("no"));
    showJournal();
    exec(dm->ADO_DB, QStringLiteral("alter table accounts_dep.smena rename to smena_away"));
    journal().Button8->click();
    ASSERT_EQ(ui.dialogs.shown().size(), 1u);
    EXPECT_EQ(ui.dialogs.shown()[0].kind, testing_support::ScriptedDialogs::Kind::StandardError);
    EXPECT_TRUE(ui.dialogs.shown()[0].text.contains(QStringLiteral("accounts_dep.smena"))) << ui.dialogs.shown()[0].text.toStdString();

    exec(dm->ADO_DB, QStringLiteral("alter table accounts_dep.smena_away rename to smena"));
    journal().Button8->click();
    EXPECT_EQ(dm->Smena1.recordCount(), 1);
    EXPECT_EQ(ui.dialogs.shown().size(), 1u);
}

TEST_F(JournalTest, TheJournalSurvivesARestartedServer) {
    const int id = record(QStringLiteral("no"));
    showJournal();
    ASSERT_TRUE(testing_support::restartServer());
    journal().DBGrid2DblClick();
    EXPECT_TRUE(ui.dialogs.shown().empty());
    EXPECT_EQ(markOf(id), QStringLiteral("ok"));
}

}  // namespace
