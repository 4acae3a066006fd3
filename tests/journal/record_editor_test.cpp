// The shift record editor and the record deletion: prices, validation, duplicates, the exact
// statements, and the worker's day cell of the monthly timesheet kept in line with his records.

#include "data/data_module.h"
#include "data/dataset.h"
#include "data/timesheet_queries.h"
#include "journal/journal_window.h"
#include "journal/record_editor.h"
#include "refbooks/operation_price.h"
#include "tests/refbooks/refbook_test_helpers.h"
#include "tests/support/login.h"
#include "tests/support/program_fixture.h"
#include "timesheet/timesheet_rebuild.h"
#include "ui/clock.h"
#include "ui/date_picker.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

using data::Decimal;
using namespace refbook_tests;
using testing_support::exec;
using testing_support::Fixtures;
using testing_support::ProgramTest;
using testing_support::scalar;
using testing_support::StatementLog;

const QDate tuesday(2026, 12, 8);
const QString allFields = QStringLiteral("Все поля должны быть заполнены!");
const QString duplicate = QStringLiteral("Позиция с такими параметрами уже заведена!");

Decimal dec(const QString& text) { return *Decimal::parse(text); }

TEST(RecordPrice, IsRaisedForADayOffAndForShiftsThreeAndFour) {
    const struct { const char* list; bool dayOff; int shift; const char* final; } cases[] = {
        {"10", false, 1, "10"}, {"10", false, 2, "10"}, {"10", true, 1, "20"}, {"10", false, 3, "12"},
        {"10", false, 4, "15"}, {"10", true, 3, "24"},  {"10", true, 4, "30"}, {"0.1", false, 3, "0.12"},
        {"10.1", false, 4, "15.15"},   // exact: a double would give 15.149999999999999
    };
    for (const auto& c : cases)
        EXPECT_EQ(refbooks::raisedPrice(dec(QString::fromLatin1(c.list)), c.dayOff, c.shift).toString(),
                  QString::fromLatin1(c.final)) << c.list << " " << c.dayOff << " " << c.shift;
}

TEST(RecordPrice, IsShownWithFourDecimalsAtMostAndTheLocalesSeparator) {
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    EXPECT_EQ(refbooks::shownPrice(dec(QStringLiteral("12.5")), russian), QStringLiteral("12,5"));
    EXPECT_EQ(refbooks::shownPrice(dec(QStringLiteral("15")), russian), QStringLiteral("15"));
    EXPECT_EQ(refbooks::shownPrice(dec(QStringLiteral("1.23456")), russian), QStringLiteral("1,2346"));
    EXPECT_EQ(refbooks::shownPrice(dec(QStringLiteral("0.00005")), russian), QStringLiteral("0"));      // a half to even
    EXPECT_EQ(refbooks::shownPrice(dec(QStringLiteral("0.00015")), russian), QStringLiteral("0,0002"));
    EXPECT_EQ(refbooks::shownPrice(dec(QStringLiteral("100000")), QLocale::c()), QStringLiteral("100000"));
}

class RecordEditorTest : public ProgramTest {
protected:
    RecordEditorTest() {
        ui::setToday(tuesday);
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        testing_support::loginAs(roster, ui, QStringLiteral("61730482"));
    }
    ~RecordEditorTest() override { QLocale::setDefault(QLocale::c()); }

    TForm1& journal() { return *roster.Form1; }
    TForm11& editor() { return *roster.Form11; }

    // A worker, a product and a priced operation of the given kind with a norm price.
    struct Operation {
        int worker;
        qint64 product;
        int oper;
    };
    Operation operation(const QString& kind, double price, const QString& fio = QStringLiteral("Иванов И.И.")) {
        const int w = fixtures.worker(fio);
        const qint64 p = fixtures.product(QStringLiteral("ШК-120"));
        const int o = fixtures.oper(fixtures.kind(kind), p);
        fixtures.norm(o, price);
        return {w, p, o};
    }

    // Moves a list's dataset to the row whose id is `id`.
    static void goTo(data::Dataset& dataset, qint64 id) {
        for (dataset.first();; dataset.next())
            if (dataset.field(QStringLiteral("id")).asInteger() == id || dataset.recNo() >= dataset.recordCount()) return;
    }

    // Picks the operation in the price list, as the user does with the editor's "...".
    void pick(ui::Form& f, const Operation& op) {
        ui.modal.expect(QStringLiteral("Form4"), [&](ui::Form& list) {
            goTo(dm->Oper, op.oper);
            click(list, "Button2");
        });
        click(f, "Button4");
    }

    // Fills the editor for `op` as the user would: the worker from the worker list, the operation,
    // quantity and hours (and a colour when given).
    void fill(ui::Form& f, const Operation& op, const QString& quantity, const QString& hours,
              const QString& colour = {}) {
        ui.modal.expect(QStringLiteral("Form5"), [&](ui::Form& list) {
            goTo(dm->Workers, op.worker);
            click(list, "Button2");
        });
        click(f, "Button3");
        pick(f, op);
        for (const auto& [box, text] : {std::pair{"Edit3", quantity}, std::pair{"Edit6", hours}}) {
            lineEdit(f, box)->setText(text);
            emit lineEdit(f, box)->editingFinished();   // the user moves on
        }
        if (!colour.isEmpty()) lineEdit(f, "Edit5")->setText(colour);
    }

    void add(const Operation& op, const QString& quantity, const QString& hours, const QString& colour = {}) {
        ui.modal.expect(QStringLiteral("Form11"), [&](ui::Form& f) {
            fill(f, op, quantity, hours, colour);
            click(f, "Button1");
        });
        journal().Button1->click();
    }

    Fixtures::Record recordOf(const Operation& op, int hours, int colour = 0, const QDate& day = tuesday) {
        return {.worker = op.worker, .product = op.product, .oper = op.oper, .day = day, .color = colour,
                .time = hours};
    }

    int records() {
        return scalar(dm->ADO_DB, QStringLiteral("select count(*)::int from accounts_dep.smena")).toInt();
    }
    // The worker's timesheet row of December 2026 and shift 1 as "d1|d2|...|d31", NULL as "-";
    // empty when he has no row.
    QString dayCells(int worker, int shift = 1) {
        return scalar(dm->ADO_DB, QStringLiteral(
            "select concat_ws('|', %1) from accounts_dep.h_tabel where w_id=%2 and smena=%3 and month=12 and year=2026")
            .arg(dayColumns()).arg(worker).arg(shift)).toString();
    }
    static QString dayColumns() {
        QStringList columns;
        for (int d = 1; d <= 31; ++d) columns << QStringLiteral("coalesce(d%1::text, '-')").arg(d);
        return columns.join(u',');
    }
    static QString cells(std::initializer_list<std::pair<int, const char*>> given) {
        QStringList days(31, QStringLiteral("-"));
        for (const auto& [day, value] : given) days[day - 1] = QString::fromLatin1(value);
        return days.join(u'|');
    }
    QStringList writes(const StatementLog& log) {
        QStringList out;
        for (const QString& text : log.texts())
            if (!text.startsWith(QLatin1String("select")) && text != QLatin1String("begin") &&
                text != QLatin1String("commit"))
                out << text;
        return out;
    }
};

TEST_F(RecordEditorTest, AddWritesTheExactInsertAndTheDayCell) {
    const Operation op = operation(QStringLiteral("Сборка"), 12.5);
    StatementLog log(dm->ADO_DB);
    ui.modal.expect(QStringLiteral("Form11"), [&](ui::Form& f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Заведение новой позиции"));
        EXPECT_EQ(f.tag(), 1);
        EXPECT_EQ(lineEdit(f, "Edit4")->text(), QStringLiteral("0"));
        EXPECT_EQ(lineEdit(f, "Edit6")->text(), QStringLiteral("0"));
        EXPECT_EQ(editor().DTimeP->date(), tuesday);
        fill(f, op, QStringLiteral("3"), QStringLiteral("4"));
        EXPECT_EQ(lineEdit(f, "Edit1")->text(), QStringLiteral("Иванов И.И."));
        EXPECT_EQ(lineEdit(f, "Edit2")->text(), QStringLiteral("ШК-120; Сборка; Готовая продукция"));
        EXPECT_EQ(lineEdit(f, "Edit8")->text(), QStringLiteral("12,5"));
        EXPECT_EQ(lineEdit(f, "Edit7")->text(), QStringLiteral("12,5"));
        EXPECT_EQ(lineEdit(f, "Edit9")->text(), QStringLiteral("37,5"));
        EXPECT_FALSE(lineEdit(f, "Edit5")->isEnabled());
        click(f, "Button1");
        EXPECT_EQ(f.result(), QDialog::Accepted);
    });
    journal().Button1->click();

    EXPECT_TRUE(log.texts().contains(QStringLiteral(
        "select count(id) as cnt from accounts_dep.SMENA where w_id=%1 and o_id=%2 and i_id=%3 "
        "and data=to_date('08.12.2026', 'DD.MM.YYYY') and smena=1 and color=0").arg(op.worker).arg(op.oper).arg(op.product)));
    EXPECT_EQ(writes(log), QStringList({
        QStringLiteral("insert into accounts_dep.SMENA(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, time, "
                       "vvod,ok, prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use) values(%1, %2, %3, "
                       "12.5,3, 0, to_date('08.12.2026', 'DD.MM.YYYY HH24:MI:SS'), 1, 0, 4, '08.12.2026', 'no', 0, 0, 0, 0, 0, 0)")
            .arg(op.worker).arg(op.product).arg(op.oper),
        QStringLiteral("insert into accounts_dep.h_tabel(smena, w_id, month, year, d8) values(1, %1, 12, 2026, 4)").arg(op.worker),
    }));
    EXPECT_EQ(scalar(dm->ADO_DB, QStringLiteral(
        "select concat_ws(';', cena, kol_vo, brak, time, color, ok, prize, vvod::date, id_doc) from accounts_dep.smena")).toString(),
        QStringLiteral("12.5;3;0;4;0;no;0;2026-12-08;0"));
    EXPECT_EQ(dayCells(op.worker), cells({{8, "4"}}));
    EXPECT_EQ(dm->Smena1.recordCount(), 1);   // the journal read again
    EXPECT_EQ(lineEdit(editor(), "Edit1")->text(), QString());   // emptied after a save
    EXPECT_TRUE(ui.dialogs.shown().empty());
    expectScriptPlayed();
}

TEST_F(RecordEditorTest, APickedPriceIsRaisedForTheJournalsDayOffAndShift) {
    const Operation op = operation(QStringLiteral("Сборка"), 10);
    journal().CBox1->setChecked(true);
    journal().RadioButton3->click();
    add(op, QStringLiteral("2"), QStringLiteral("8"));
    EXPECT_EQ(scalar(dm->ADO_DB, QStringLiteral("select cena::text || ';' || smena from accounts_dep.smena")).toString(),
              QStringLiteral("24;3"));
    EXPECT_EQ(dayCells(op.worker, 3), cells({{8, "8"}}));
    expectScriptPlayed();
}

TEST_F(RecordEditorTest, PaintWorkNeedsItsColourWhateverTheCaseOfTheWord) {
    const struct { const char* kind; bool paint; } kinds[] = {
        {"Окраска", true}, {"краска", true}, {"Покраска изделий", true}, {"ПОД КРАСКУ", false}, {"Сборка", false},
    };
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.kind);
        const Operation op = operation(QString::fromUtf8(k.kind), 5, QStringLiteral("Рабочий %1").arg(k.kind));
        ui.modal.expect(QStringLiteral("Form11"), [&](ui::Form& f) {
            fill(f, op, QStringLiteral("1"), QStringLiteral("1"));
            EXPECT_EQ(lineEdit(f, "Edit5")->isEnabled(), k.paint);
            EXPECT_EQ(editor().Label5->isEnabled(), k.paint);
            click(f, "Button1");
            EXPECT_EQ(f.isVisible(), k.paint);   // a paint operation without its colour stays open
            if (k.paint) click(f, "Button2");
        });
        journal().Button1->click();
        EXPECT_EQ(ui.dialogs.texts(), k.paint ? QStringList{allFields} : QStringList{});
        ui.dialogs.clear();
    }
    EXPECT_EQ(records(), 2);
    expectScriptPlayed();
}

TEST_F(RecordEditorTest, ADuplicateIsTheSameWorkerOperationProductDateShiftAndColour) {
    const Operation op = operation(QStringLiteral("Покраска"), 5);
    fixtures.record(recordOf(op, 2, 3));
    for (const char* colour : {"3", "4"}) add(op, QStringLiteral("1"), QStringLiteral("1"), QString::fromLatin1(colour));
    EXPECT_EQ(ui.dialogs.texts(), QStringList{duplicate});
    EXPECT_EQ(scalar(dm->ADO_DB, QStringLiteral("select string_agg(color::text, ',' order by id) from accounts_dep.smena")).toString(),
              QStringLiteral("3,4"));
}

TEST_F(RecordEditorTest, AChangeKeepsTheMarkAndItsOwnKeyButNotAnothers) {
    const Operation op = operation(QStringLiteral("Сборка"), 10);
    Fixtures::Record first = recordOf(op, 4, 0);
    first.ok = QStringLiteral("ok");
    first.cena = 7.25;
    const int firstId = fixtures.record(first);
    exec(dm->ADO_DB, QStringLiteral("update accounts_dep.smena set prize=5, vvod='01.12.2026'"));
    fixtures.record(recordOf(op, 3, 0, tuesday.addDays(1)));
    journal().Button8->click();
    ASSERT_EQ(dm->Smena1.recordCount(), 1);

    StatementLog log(dm->ADO_DB);
    ui.modal.expect(QStringLiteral("Form11"), [&](ui::Form& f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Изменение данных о позиции"));
        EXPECT_EQ(lineEdit(f, "Edit2")->text(), QStringLiteral("ШК-120; Сборка; Готовая продукция"));
        EXPECT_EQ(lineEdit(f, "Edit7")->text(), QStringLiteral("7,25"));
        EXPECT_EQ(lineEdit(f, "Edit9")->text(), QStringLiteral("72,5"));
        EXPECT_EQ(lineEdit(f, "Edit6")->text(), QStringLiteral("4"));
        editor().DTimeP->setDate(tuesday.addDays(1));   // into the other record's key
        click(f, "Button1");
        EXPECT_TRUE(f.isVisible());
        editor().DTimeP->setDate(tuesday);
        lineEdit(f, "Edit6")->setText(QStringLiteral("6"));
        click(f, "Button1");
        EXPECT_EQ(f.result(), QDialog::Accepted);
    });
    journal().Button2->click();

    EXPECT_EQ(ui.dialogs.texts(), QStringList{duplicate});
    EXPECT_TRUE(writes(log).contains(QStringLiteral(
        "update accounts_dep.SMENA set w_id=%1, i_id=%2, o_id=%3, cena=7.25, kol_vo=10, brak=0, "
        "data=to_date('08.12.2026', 'DD.MM.YYYY'), smena=1, color=0, time=6, vvod='08.12.2026', prize=0, id_doc=0, "
        "id_doc_item=0, f_gds_qty_use=0, id_gds_use=0, id_cons_use=0 where id=%4")
        .arg(op.worker).arg(op.product).arg(op.oper).arg(firstId))) << writes(log).join(u'\n').toStdString();
    EXPECT_EQ(scalar(dm->ADO_DB, QStringLiteral(
        "select concat_ws(';', ok, prize, vvod::date, time) from accounts_dep.smena where id=%1").arg(firstId)).toString(),
        QStringLiteral("ok;0;2026-12-08;6"));
    expectScriptPlayed();
}

// A change that moves a record's hours takes them out of the day cell they leave, in the same
// transaction as the save: that cell gets what the worker's other records of its day and shift
// hold, or nothing (as after a delete); the cell they reach is written as after any save.
// Before each change Иванов's record of 8 December holds 4 hours; besides it he has 8 hours on
// the 1st and 2 hours on the 8th in shift 2, and Петров 5 hours on the 8th.
struct MovedRecord {
    const char* name;
    bool moreHoursThatDay;   // Иванов has another record of 3 hours on the 8th in shift 1
    bool timesheetBuilt;     // the month was rebuilt before the change
    const char* worker;      // whom the record is changed to
    QDate day;
    int hours;
    const char* timesheet;   // every row of the timesheet afterwards
};

const MovedRecord movedRecords[] = {
    {"NothingChanged", false, true, "Иванов И.И.", tuesday, 4,
     "Иванов И.И. 1 12.2026: 1=8 8=4; Иванов И.И. 2 12.2026: 8=2; Петров П.П. 1 12.2026: 8=5"},
    {"OnlyTheHours", false, true, "Иванов И.И.", tuesday, 6,
     "Иванов И.И. 1 12.2026: 1=8 8=6; Иванов И.И. 2 12.2026: 8=2; Петров П.П. 1 12.2026: 8=5"},
    {"AnotherWorker", false, true, "Петров П.П.", tuesday, 4,
     "Иванов И.И. 1 12.2026: 1=8; Иванов И.И. 2 12.2026: 8=2; Петров П.П. 1 12.2026: 8=9"},
    {"AWorkerWithoutATimesheetRow", false, true, "Сидоров С.С.", tuesday, 4,
     "Иванов И.И. 1 12.2026: 1=8; Иванов И.И. 2 12.2026: 8=2; Петров П.П. 1 12.2026: 8=5; "
     "Сидоров С.С. 1 12.2026: 8=4"},
    {"AnotherDayOfTheMonth", false, true, "Иванов И.И.", QDate(2026, 12, 15), 4,
     "Иванов И.И. 1 12.2026: 1=8 15=4; Иванов И.И. 2 12.2026: 8=2; Петров П.П. 1 12.2026: 8=5"},
    {"AnotherMonthAndYear", false, true, "Иванов И.И.", QDate(2027, 1, 4), 4,
     "Иванов И.И. 1 12.2026: 1=8; Иванов И.И. 2 12.2026: 8=2; Петров П.П. 1 12.2026: 8=5; "
     "Иванов И.И. 1 1.2027: 4=4"},
    {"AnotherWorkerAndDay", false, true, "Петров П.П.", QDate(2026, 12, 31), 7,
     "Иванов И.И. 1 12.2026: 1=8; Иванов И.И. 2 12.2026: 8=2; Петров П.П. 1 12.2026: 8=5 31=7"},
    {"TheOldCellKeepsTheOtherRecordsHours", true, true, "Иванов И.И.", QDate(2026, 12, 15), 4,
     "Иванов И.И. 1 12.2026: 1=8 8=3 15=4; Иванов И.И. 2 12.2026: 8=2; Петров П.П. 1 12.2026: 8=5"},
    {"NoRowIsMadeForTheOldCell", false, false, "Иванов И.И.", QDate(2026, 12, 15), 4,
     "Иванов И.И. 1 12.2026: 15=4"},
};

class MovedRecordTest : public RecordEditorTest, public ::testing::WithParamInterface<MovedRecord> {
protected:
    // Every timesheet row as "fio shift month.year: day=hours ...", by year, month, worker, shift.
    QString timesheet() {
        QStringList days;
        for (int d = 1; d <= 31; ++d) days << QStringLiteral("h.d%1").arg(d);
        return scalar(dm->ADO_DB, QStringLiteral(
            "select string_agg(p.fio || ' ' || h.smena || ' ' || h.month || '.' || h.year || ':' || coalesce(("
            "  select string_agg(' ' || d.n || '=' || d.v, '' order by d.n) from unnest(array[%1]) with ordinality d(v, n) "
            "  where d.v is not null), ''), '; ' order by h.year, h.month, p.fio, h.smena) "
            "from accounts_dep.h_tabel h join accounts_dep.person p on p.id = h.w_id").arg(days.join(u','))).toString();
    }
};

TEST_P(MovedRecordTest, TheHoursLeaveTheCellTheyLeftAndReachTheNewOne) {
    const MovedRecord& c = GetParam();
    const Operation op = operation(QStringLiteral("Сборка"), 10);
    const QMap<QString, int> workers{{QStringLiteral("Иванов И.И."), op.worker},
                                     {QStringLiteral("Петров П.П."), fixtures.worker(QStringLiteral("Петров П.П."))},
                                     {QStringLiteral("Сидоров С.С."), fixtures.worker(QStringLiteral("Сидоров С.С."))}};
    const int changed = fixtures.record(recordOf(op, 4, 1));
    fixtures.record(recordOf(op, 8, 0, QDate(2026, 12, 1)));
    Fixtures::Record secondShift = recordOf(op, 2);
    secondShift.shift = 2;
    fixtures.record(secondShift);
    Fixtures::Record petrovs = recordOf(op, 5, 3);
    petrovs.worker = workers[QStringLiteral("Петров П.П.")];
    fixtures.record(petrovs);
    if (c.moreHoursThatDay) fixtures.record(recordOf(op, 3, 2));
    if (c.timesheetBuilt) {
        data::Dataset dt(dm->ADO_DB, data::timesheetDayQuery());
        timesheet::rebuildMonth(*dm, dt, 12, QStringLiteral("2026"));
    }
    journal().Button8->click();
    goTo(dm->Smena1, changed);

    const QString worker = QString::fromUtf8(c.worker);
    ui.modal.expect(QStringLiteral("Form11"), [&](ui::Form& f) {
        if (workers[worker] != op.worker) {
            ui.modal.expect(QStringLiteral("Form5"), [&](ui::Form& list) {
                goTo(dm->Workers, workers[worker]);
                click(list, "Button2");
            });
            click(f, "Button3");
            ASSERT_EQ(lineEdit(f, "Edit1")->text(), worker);
        }
        editor().DTimeP->setDate(c.day);
        lineEdit(f, "Edit6")->setText(QString::number(c.hours));
        click(f, "Button1");
        EXPECT_EQ(f.result(), QDialog::Accepted);
    });
    journal().Button2->click();

    EXPECT_TRUE(ui.dialogs.shown().empty()) << ui.dialogs.texts().join(u'\n').toStdString();
    EXPECT_EQ(scalar(dm->ADO_DB, QStringLiteral("select w_id || ' ' || data || ' ' || smena || ' ' || time "
                                                "from accounts_dep.smena where id=%1").arg(changed)).toString(),
              QStringLiteral("%1 %2 1 %3").arg(workers[worker]).arg(c.day.toString(Qt::ISODate)).arg(c.hours));
    EXPECT_EQ(timesheet(), QString::fromUtf8(c.timesheet));
    EXPECT_FALSE(dm->ADO_DB.inTransaction());
    expectScriptPlayed();
}

INSTANTIATE_TEST_SUITE_P(Changes, MovedRecordTest, ::testing::ValuesIn(movedRecords),
                         [](const ::testing::TestParamInfo<MovedRecord>& info) { return info.param.name; });

// Counts beyond their columns are refused with a message naming the box, before anything is sent;
// a failure of the day cell reaches the error box and undoes the record as well. Either way
// nothing of the save stays and the editor keeps what was typed.
TEST_F(RecordEditorTest, AFailedSaveWritesNothingAndKeepsTheInput) {
    const Operation op = operation(QStringLiteral("Сборка"), 10);
    const struct { const char* quantity; const char* defects; bool timesheetAway; QString message; } cases[] = {
        {"99999999999", "0", false, QStringLiteral("Поле «Кол-во»: число не больше 2147483647!")},
        {"5", "40000", false, QStringLiteral("Поле «Брак»: число не больше 32767!")},
        {"5", "0", true, QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.quantity) + "/" + c.defects);
        if (c.timesheetAway) exec(dm->ADO_DB, QStringLiteral("alter table accounts_dep.h_tabel rename to h_tabel_away"));
        ui.modal.expect(QStringLiteral("Form11"), [&](ui::Form& f) {
            fill(f, op, QString::fromLatin1(c.quantity), QStringLiteral("8"));
            lineEdit(f, "Edit4")->setText(QString::fromLatin1(c.defects));
            click(f, "Button1");
            EXPECT_TRUE(f.isVisible());
            EXPECT_EQ(lineEdit(f, "Edit3")->text(), QString::fromLatin1(c.quantity));
            click(f, "Button2");
        });
        journal().Button1->click();
        if (c.message.isEmpty()) {
            ASSERT_EQ(ui.dialogs.shown().size(), 1u);
            EXPECT_EQ(ui.dialogs.shown()[0].kind, testing_support::ScriptedDialogs::Kind::StandardError);
        } else {
            expectOnlyError(ui.dialogs, c.message);
        }
        ui.dialogs.clear();
        if (c.timesheetAway) exec(dm->ADO_DB, QStringLiteral("alter table accounts_dep.h_tabel_away rename to h_tabel"));
        EXPECT_EQ(records(), 0);
        EXPECT_FALSE(dm->ADO_DB.inTransaction());
    }
    expectScriptPlayed();
}

TEST_F(RecordEditorTest, DigitsOnlyBoxesRefuseOtherCharactersTypedOrPasted) {
    for (const char* name : {"Edit3", "Edit4", "Edit5", "Edit6"}) {
        QLineEdit* box = lineEdit(editor(), name);
        box->clear();
        box->insert(QStringLiteral("12a"));   // as a paste arrives
        EXPECT_EQ(box->text(), QString()) << name;
        box->insert(QStringLiteral("-3"));
        EXPECT_EQ(box->text(), QString()) << name;
        box->insert(QStringLiteral("42"));
        EXPECT_EQ(box->text(), QStringLiteral("42")) << name;
    }
}

// The day cell holds the worker's hours of all his records of that date and shift.
TEST_F(RecordEditorTest, TheDayCellFollowsAddsAndDeletes) {
    const Operation op = operation(QStringLiteral("Покраска"), 5);
    exec(dm->ADO_DB, QStringLiteral("insert into accounts_dep.h_tabel (w_id, smena, month, year, d1, d31) values (%1, 1, 12, 2026, 8, 7)")
                         .arg(op.worker));
    add(op, QStringLiteral("1"), QStringLiteral("4"), QStringLiteral("1"));
    add(op, QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("2"));
    EXPECT_EQ(dayCells(op.worker), cells({{1, "8"}, {8, "7"}, {31, "7"}}));

    // Delete the first of the two: 3 hours remain.
    ui.dialogs.answer(true);
    dm->Smena1.first();
    StatementLog log(dm->ADO_DB);
    journal().Button3->click();
    EXPECT_TRUE(log.texts().contains(QStringLiteral(
        "update accounts_dep.h_tabel set d8=3 where w_id=%1 and smena=1 and month=12 and year=2026").arg(op.worker)));
    EXPECT_EQ(dayCells(op.worker), cells({{1, "8"}, {8, "3"}, {31, "7"}}));

    // No deletes nothing; the list is read again.
    ui.dialogs.answer(false);
    journal().Button3->click();
    EXPECT_EQ(records(), 1);

    // The last one: the day is emptied, the other days stay.
    ui.dialogs.answer(true);
    journal().Button3->click();
    EXPECT_EQ(records(), 0);
    EXPECT_EQ(dayCells(op.worker), cells({{1, "8"}, {31, "7"}}));

    // An empty list asks nothing.
    journal().Button3->click();
    EXPECT_EQ(ui.dialogs.texts(), QStringList(3, QStringLiteral("Удалить позицию из списка?")));
    EXPECT_TRUE(ui.dialogs.allAnswered());
    expectScriptPlayed();
}

TEST_F(RecordEditorTest, DeletingTheLastHoursOfADayWithZeroHourRecordsEmptiesItAndCreatesNoRow) {
    const Operation op = operation(QStringLiteral("Сборка"), 5);
    fixtures.record(recordOf(op, 0, 1));
    fixtures.record(recordOf(op, 5, 2));
    journal().Button8->click();
    exec(dm->ADO_DB, QStringLiteral("insert into accounts_dep.h_tabel (w_id, smena, month, year, d8) values (%1, 1, 12, 2026, 5)")
                         .arg(op.worker));
    ui.dialogs.answer(true);
    dm->Smena1.last();   // the record with 5 hours, ordered by colour
    journal().Button3->click();
    EXPECT_EQ(dayCells(op.worker), cells({}));

    // Without a timesheet row a delete creates none.
    exec(dm->ADO_DB, QStringLiteral("delete from accounts_dep.h_tabel"));
    ui.dialogs.answer(true);
    journal().Button3->click();
    EXPECT_EQ(scalar(dm->ADO_DB, QStringLiteral("select count(*)::int from accounts_dep.h_tabel")).toInt(), 0);
    EXPECT_EQ(records(), 0);
}

}  // namespace
