// Bad input through the whole program: every box whose text reaches a statement or a row filter
// gets quotes, backslashes, wildcards, a text of 10 000 characters, Cyrillic, Latin, emoji and a
// statement of its own; every digits-only box gets letters and signs, numbers beyond its column
// and nothing at all. One table of boxes (how to reach each and what it writes) against one table
// of values per kind of box; what must happen is worked out from the value and the box's column.

#include "data/data_module.h"
#include "data/dataset.h"
#include "journal/journal_window.h"
#include "journal/record_editor.h"
#include "refbooks/norms_window.h"
#include "refbooks/operation_kind_editor.h"
#include "refbooks/operation_kind_list.h"
#include "refbooks/price_list.h"
#include "refbooks/product_editor.h"
#include "refbooks/product_list.h"
#include "refbooks/worker_editor.h"
#include "tests/support/login.h"
#include "tests/utility/utility_test_helpers.h"
#include "ui/clock.h"
#include "ui/lookup_box.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTableView>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

namespace {

using refbook_tests::click;
using refbook_tests::listed;
using testing_support::ScriptedDialogs;

const QDate today(2026, 12, 8);

class SweepTest;

enum class Box {
    Text,     // its text is stored: exactly as typed, or refused when longer than its column
    Search,   // its text filters a list: rows are matched literally, never as a pattern
    Digits,   // a whole number: stored when its column holds it, refused otherwise
};

struct Field {
    const char* name;
    Box box;
    // Text: the characters its column holds. Digits: the largest number it takes, in digits.
    int maxChars = 0;
    const char* maxNumber = "";
    bool prefix = true;              // Search: the beginning of the text, or any part of it
    // Digits: what an emptied box stores: nothing (refused), or "0" where leaving the box fills it in.
    const char* emptyStores = nullptr;
    // Text and Digits: the user enters the value and saves; the box's column read back as text,
    // nothing when no row holds it.
    std::function<std::optional<QString>(SweepTest&, const QString& value)> enter;
    // Text and Digits: the rows of the tables the save writes.
    std::function<int(SweepTest&)> rows;
    // Search: the rows named `names` are in the list; the user types `typed`. The list's first
    // column before and after.
    std::function<std::pair<QStringList, QStringList>(SweepTest&, const QStringList& names, const QString& typed)>
        search;
    // The rows the window needs, written before anything is counted.
    std::function<void(SweepTest&)> given;
};

struct Case {
    const Field* field;
    QString value;
    std::string label;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.label << " <" << c.value.left(40).toStdString() << ">"; }

// Enters text as a paste does: through the box's validator, which refuses or cuts what it must.
void paste(QLineEdit* box, const QString& text) {
    box->clear();
    if (text.isEmpty()) return;
    QGuiApplication::clipboard()->setText(text);
    box->paste();
}

class SweepTest : public utility_tests::UtilityTest, public ::testing::WithParamInterface<Case> {
public:
    // The table's steps reach the program through these.
    using ProgramTest::dm;
    using ProgramTest::fixtures;
    using ProgramTest::roster;
    using ProgramTest::ui;
    using UtilityTest::entry;
    using UtilityTest::expectWindow;
    using UtilityTest::list;
    using UtilityTest::picker;

    SweepTest() {
        ui::setToday(today);
        testing_support::loginAs(roster, ui, QStringLiteral("61730482"));
    }

    // A column read back: nothing when no row has it, "" for NULL.
    std::optional<QString> stored(const QString& sql) {
        data::Dataset read(dm->ADO_DB, sql);
        read.open();
        if (read.isEmpty()) return std::nullopt;
        return read.value(0, 0).toString();
    }
    int count(const QString& sql) { return scalar(sql).toInt(); }

    // Closes a window that refused its save, as the user gives up.
    static void giveUp(ui::Form& window, QPushButton* cancel) {
        if (window.isVisible()) cancel->click();
    }

    // --- what each window needs --------------------------------------------------------------

    qint64 groupId = 0;
    qint64 productId = 0;
    int operId = 0;
    int workerId = 0;

    void priced(const QString& kind) {
        workerId = fixtures.worker(QStringLiteral("Иванов И.И."));
        productId = fixtures.product(QStringLiteral("ШК-120"));
        operId = fixtures.oper(fixtures.kind(kind), productId);
        fixtures.norm(operId, 12.5);
    }

    static void goTo(data::Dataset& dataset, qint64 id) {
        for (dataset.first();; dataset.next())
            if (dataset.field(QStringLiteral("id")).asInteger() == id || dataset.recNo() >= dataset.recordCount()) return;
    }

    // The record editor in add mode from the journal: worker and operation picked, every number
    // valid, then `box` given `value`.
    std::optional<QString> recordEditor(const char* box, const char* column, const QString& value, bool paint) {
        ui.modal.expect(QStringLiteral("Form11"), [&](ui::Form& f) {
            auto& editor = static_cast<TForm11&>(f);
            ui.modal.expect(QStringLiteral("Form5"), [&](ui::Form& list) {
                goTo(dm->Workers, workerId);
                click(list, "Button2");
            });
            editor.Button3->click();
            ui.modal.expect(QStringLiteral("Form4"), [&](ui::Form& list) {
                goTo(dm->Oper, operId);
                click(list, "Button2");
            });
            editor.Button4->click();
            editor.Edit3->setText(QStringLiteral("10"));
            editor.Edit4->setText(QStringLiteral("1"));
            editor.Edit6->setText(QStringLiteral("8"));
            if (paint) editor.Edit5->setText(QStringLiteral("3"));
            QLineEdit* target = refbook_tests::lineEdit(editor, box);
            paste(target, value);
            emit target->editingFinished();   // the user moves on
            editor.Button1->click();
            giveUp(editor, editor.Button2);
        });
        roster.Form1->Button1->click();
        return stored(QStringLiteral("select coalesce(%1::text, '') from accounts_dep.smena").arg(QString::fromLatin1(column)));
    }
    int recordRows() {
        return count(QStringLiteral("select (select count(*) from accounts_dep.smena) + "
                                    "(select count(*) from accounts_dep.h_tabel)"));
    }

    // The product editor from the product list's "Добавить": a mark, a factor and a group.
    std::optional<QString> productEditor(const QString& mark, const QString& massa, bool pasteMassa) {
        ui.modal.expect(QStringLiteral("Form3"), [&](ui::Form& list) {
            ui.modal.expect(QStringLiteral("Form7"), [&](ui::Form& f) {
                auto& editor = static_cast<TForm7&>(f);
                editor.cb_item->setKeyValue(groupId);
                paste(editor.Edit1, mark);
                if (pasteMassa) paste(editor.Edit2, massa);
                else editor.Edit2->setText(massa);
                editor.Button1->click();
                giveUp(editor, editor.Button2);
            });
            click(list, "Button1");
            click(list, "Button4");
        });
        roster.Form1->N3->trigger();
        return stored(QStringLiteral("select s_caption || '|' || coalesce(trim_scale(massa)::text, '') "
                                     "from cmn_gds_and_srv.gds_and_srv where id_class_item=%1")
                          .arg(groupId));
    }
    int productRows() { return count(QStringLiteral("select count(*) from cmn_gds_and_srv.gds_and_srv")); }

    // The norms of one priced operation, its one norm (100 pieces at 9 with no bonus) typed over.
    // Told nothing when the cell is left, the user saves; a window that stays open on a row it
    // cannot store, the user leaves without it.
    std::optional<QString> normsGrid(int column, const char* field, const QString& value) {
        ui.modal.expect(QStringLiteral("Form22"), [&](ui::Form& f) {
            auto& norms = static_cast<TForm22&>(f);
            QAbstractItemModel* model = norms.DBGrid1->model();
            model->setData(model->index(0, column), value, Qt::EditRole);   // the cell's editor commits
            if (ui.dialogs.shown().empty()) norms.Button1->click();
            if (!f.isVisible()) return;
            norms.Button2->click();   // the last norm stays: only the pending row goes
            f.close();
        });
        roster.Form22->showNormsOf(operId);
        return stored(QStringLiteral("select coalesce(%1::text, '') from accounts_dep.norm").arg(QString::fromLatin1(field)));
    }
    void givenNorm() {
        priced(QStringLiteral("Сварка"));
        testing_support::exec(dm->ADO_DB, QStringLiteral("update accounts_dep.norm set norma=100, price=9, prize=0"));
    }
    void givenUtilityKinds() {
        utilityKinds();
        fixtures.worker(QStringLiteral("Петров П.П."));
        fixtures.group(QStringLiteral("Шкафы"));
    }
    void givenGroup() { groupId = fixtures.group(QStringLiteral("Шкафы")); }

    int normRows() { return count(QStringLiteral("select count(*) from accounts_dep.norm")); }

    // The utility works list of the day, "Добавить": worker, group and hours.
    std::optional<QString> utilityEntry(const QString& hours) {
        expectWindow("Form25", [this] { list().Button1->click(); });
        expectWindow("Form24", [&] {
            expectWorkerChosen(QStringLiteral("Петров П.П."));
            entry().Button3->click();
            expectGroupChosen(QStringLiteral("Шк"));
            entry().Button4->click();
            paste(entry().Edit6, hours);
            entry().Button1->click();
            giveUp(entry(), entry().Button6);
        });
        list().showForDate(today);
        return stored(QStringLiteral("select cnt::text from accounts_dep.fatigue"));
    }

    // A reference-book list opened from the journal's menu; its search box given `typed`.
    std::pair<QStringList, QStringList> searchList(QAction* menu, const char* window, const QString& typed) {
        std::pair<QStringList, QStringList> shown;
        ui.modal.expect(QString::fromLatin1(window), [&](ui::Form& list) {
            auto& books = static_cast<refbooks::ReferenceList&>(list);
            shown.first = listed(list);
            paste(books.Edit1, typed);
            shown.second = listed(list);
            books.Button4->click();
        });
        menu->trigger();
        return shown;
    }
};

struct NoReceiver : NomenclaturePickReceiver {
    void receiveNomenclature(const QString&, qint64) override {}
};

// --- the boxes ---------------------------------------------------------------------------------

const Field fields[] = {
    {"worker name", Box::Text, 254, "", true, nullptr,
     [](SweepTest& t, const QString& value) {
         t.ui.modal.expect(QStringLiteral("Form5"), [&](ui::Form& list) {
             t.ui.modal.expect(QStringLiteral("Form2"), [&](ui::Form& f) {
                 auto& editor = static_cast<TForm2&>(f);
                 paste(editor.Edit1, value);
                 editor.Button1->click();
                 SweepTest::giveUp(editor, editor.Button2);
             });
             click(list, "Button1");
             click(list, "Button4");
         });
         t.roster.Form1->N1->trigger();
         return t.stored(QStringLiteral("select fio from accounts_dep.person"));
     },
     [](SweepTest& t) { return t.count(QStringLiteral("select count(*) from accounts_dep.person")); }, {}, {}},

    {"product mark", Box::Text, 254, "", true, nullptr,
     [](SweepTest& t, const QString& value) -> std::optional<QString> {
         const auto row = t.productEditor(value, QStringLiteral("1"), false);
         if (!row) return row;
         return row->chopped(2);   // "|1"
     },
     [](SweepTest& t) { return t.productRows(); }, {}, [](SweepTest& t) { t.givenGroup(); }},

    {"operation kind name", Box::Text, 128, "", true, nullptr,
     [](SweepTest& t, const QString& value) {
         t.ui.modal.expect(QStringLiteral("Form8"), [&](ui::Form& list) {
             t.ui.modal.expect(QStringLiteral("Form9"), [&](ui::Form& f) {
                 auto& editor = static_cast<TForm9&>(f);
                 paste(editor.Edit1, value);
                 editor.Button1->click();
                 SweepTest::giveUp(editor, editor.Button2);
             });
             click(list, "Button1");
             click(list, "Button4");
         });
         t.roster.Form1->N6->trigger();
         return t.stored(QStringLiteral("select vid::text from accounts_dep.vid_oper"));
     },
     [](SweepTest& t) { return t.count(QStringLiteral("select count(*) from accounts_dep.vid_oper")); }, {}, {}},

    {"worker list search", Box::Search, 0, "", true, nullptr, {}, {},
     [](SweepTest& t, const QStringList& names, const QString& typed) {
         for (const QString& name : names) t.fixtures.worker(name);
         return t.searchList(t.roster.Form1->N1, "Form5", typed);
     }, {}},

    {"product list search", Box::Search, 0, "", true, nullptr, {}, {},
     [](SweepTest& t, const QStringList& names, const QString& typed) {
         for (const QString& name : names) t.fixtures.product(name);
         return t.searchList(t.roster.Form1->N3, "Form3", typed);
     }, {}},

    {"operation kind list search", Box::Search, 0, "", true, nullptr, {}, {},
     [](SweepTest& t, const QStringList& names, const QString& typed) {
         for (const QString& name : names) t.fixtures.kind(name);
         return t.searchList(t.roster.Form1->N6, "Form8", typed);
     }, {}},

    {"price list search", Box::Search, 0, "", false, nullptr, {}, {},
     [](SweepTest& t, const QStringList& names, const QString& typed) {
         const int kind = t.fixtures.kind(QStringLiteral("Сварка"));
         for (const QString& name : names) t.fixtures.norm(t.fixtures.oper(kind, t.fixtures.product(name)), 5);
         return t.searchList(t.roster.Form1->N4, "Form4", typed);
     }, {}},

    {"nomenclature picker search", Box::Search, 0, "", true, nullptr, {}, {},
     [](SweepTest& t, const QStringList& names, const QString& typed) {
         for (const QString& name : names) t.fixtures.group(name);
         std::pair<QStringList, QStringList> shown;
         t.expectWindow("Form26", [&] {
             shown.first = listed(t.picker());
             paste(t.picker().Edit1, typed);
             shown.second = listed(t.picker());
             t.picker().Button4->click();
         });
         NoReceiver receiver;
         t.picker().pick(receiver);
         return shown;
     },
     {}},

    {"record quantity", Box::Digits, 0, "2147483647", true, "0",
     [](SweepTest& t, const QString& value) { return t.recordEditor("Edit3", "kol_vo", value, false); },
     [](SweepTest& t) { return t.recordRows(); }, {}, [](SweepTest& t) { t.priced(QStringLiteral("Сварка")); }},

    {"record defects", Box::Digits, 0, "32767", true, nullptr,
     [](SweepTest& t, const QString& value) { return t.recordEditor("Edit4", "brak", value, false); },
     [](SweepTest& t) { return t.recordRows(); }, {}, [](SweepTest& t) { t.priced(QStringLiteral("Сварка")); }},

    {"record hours", Box::Digits, 0, "2147483647", true, "0",
     [](SweepTest& t, const QString& value) { return t.recordEditor("Edit6", "time", value, false); },
     [](SweepTest& t) { return t.recordRows(); }, {}, [](SweepTest& t) { t.priced(QStringLiteral("Сварка")); }},

    {"record colour", Box::Digits, 0, "2147483647", true, nullptr,
     [](SweepTest& t, const QString& value) { return t.recordEditor("Edit5", "color", value, true); },
     [](SweepTest& t) { return t.recordRows(); }, {}, [](SweepTest& t) { t.priced(QStringLiteral("Покраска (КРАСКА)")); }},

    {"product factor", Box::Digits, 0, "9999999999999999999999", true, nullptr,
     [](SweepTest& t, const QString& value) -> std::optional<QString> {
         const auto row = t.productEditor(QStringLiteral("ШК-120"), value, true);
         if (!row) return row;
         return row->mid(row->indexOf(u'|') + 1);
     },
     [](SweepTest& t) { return t.productRows(); }, {}, [](SweepTest& t) { t.givenGroup(); }},

    {"utility work hours", Box::Digits, 0, "2147483647", true, nullptr,
     [](SweepTest& t, const QString& value) { return t.utilityEntry(value); },
     [](SweepTest& t) { return t.count(QStringLiteral("select count(*) from accounts_dep.fatigue")); }, {},
     [](SweepTest& t) { t.givenUtilityKinds(); }},

    {"norm quantity", Box::Digits, 0, "2147483647", true, nullptr,
     [](SweepTest& t, const QString& value) { return t.normsGrid(0, "norma", value); },
     [](SweepTest& t) { return t.normRows(); }, {}, [](SweepTest& t) { t.givenNorm(); }},

    {"norm price", Box::Digits, 0, "999999999999999", true, nullptr,
     [](SweepTest& t, const QString& value) { return t.normsGrid(1, "price", value); },
     [](SweepTest& t) { return t.normRows(); }, {}, [](SweepTest& t) { t.givenNorm(); }},

    {"norm bonus", Box::Digits, 0, "2147483647", true, nullptr,
     [](SweepTest& t, const QString& value) { return t.normsGrid(2, "prize", value); },
     [](SweepTest& t) { return t.normRows(); }, {}, [](SweepTest& t) { t.givenNorm(); }},
};

// --- the values --------------------------------------------------------------------------------

const QString longText = QString(5000, QChar(0x0416)) + QString(5000, u'W');   // 10 000: ЖЖЖ…WWW

const QString textValues[] = {
    QStringLiteral("O'Brien \"x\""),
    QStringLiteral("C:\\папка\\"),
    QStringLiteral("\\'; --"),
    QStringLiteral("50%_x"),
    QStringLiteral("%"),
    QStringLiteral("_"),
    QStringLiteral("Ёлкин-Щукин Ю.Я."),
    QStringLiteral("Smith J."),
    QStringLiteral("😀 улыбка"),
    QStringLiteral("'; drop table x; --"),
    QStringLiteral("a''b\\\\c%%"),
    QString(128, u'ю'),
    QString(127, u'ю') + QStringLiteral("😀"),   // 128 characters, 129 UTF-16 units
    QString(129, u'ю'),
    QString(254, u'q'),
    QString(255, u'q'),
    longText,
};

const QString digitValues[] = {
    QStringLiteral("42"),
    QStringLiteral("12ab"),
    QStringLiteral("abc"),
    QStringLiteral("-5"),
    QStringLiteral("+7"),
    QStringLiteral("1e5"),
    QStringLiteral("7'; drop table x; --"),
    QStringLiteral("٣"),                      // an Arabic-Indic three: a digit, but not one of ours
    QStringLiteral("32767"),
    QStringLiteral("32768"),
    QStringLiteral("2147483647"),
    QStringLiteral("2147483648"),
    QStringLiteral("99999999999999999999"),
    QString(10000, u'9'),
    QString(),
};

// --- what must happen --------------------------------------------------------------------------

bool plainDigits(const QString& text) {
    if (text.isEmpty()) return false;
    for (const QChar c : text)
        if (c < u'0' || c > u'9') return false;
    return true;
}

QString withoutLeadingZeros(const QString& digits) {
    qsizetype first = 0;
    while (first + 1 < digits.size() && digits[first] == u'0') ++first;
    return digits.mid(first);
}

bool atMost(const QString& digits, const char* max) {
    const QString number = withoutLeadingZeros(digits);
    const QString limit = QString::fromLatin1(max);
    return number.size() != limit.size() ? number.size() < limit.size() : number <= limit;
}

// The characters the server counts: a character beyond the basic plane is one.
qsizetype characters(const QString& text) { return text.toUcs4().size(); }

// The names in the list for a search: one the text begins, a twin in which every wildcard and
// backslash is some other letter (so a pattern would match it), and one that matches nothing.
QStringList namesFor(const QString& typed) {
    QString twin = typed;
    for (QChar& c : twin)
        if (c == u'%' || c == u'_' || c == u'\\' || c == u'*') c = QChar(0x0416);
    QStringList names{typed.left(100) + QStringLiteral(" 1"), QStringLiteral("Петров П.П.")};
    if (twin != typed) names << twin.left(100) + QStringLiteral(" 2");
    return names;
}

void expectRefusedWithAMessage(SweepTest& t, int rowsBefore, const Field& field) {
    EXPECT_EQ(field.rows(t), rowsBefore) << "a refused save wrote a row";
    const auto& shown = t.ui.dialogs.shown();
    ASSERT_EQ(shown.size(), 1u) << "one clear message: " << t.ui.dialogs.texts().join(u'|').toStdString();
    EXPECT_EQ(shown[0].kind, ScriptedDialogs::Kind::Message) << shown[0].text.toStdString();
    EXPECT_EQ(shown[0].caption, QStringLiteral("Ошибка"));
    EXPECT_EQ(shown[0].icon, ui::Icon::Error);
    EXPECT_FALSE(shown[0].text.contains(QStringLiteral("ERROR"))) << "a server's error, not ours";
}

void expectStoredExactly(SweepTest& t, const std::optional<QString>& stored, const QString& expected) {
    EXPECT_TRUE(t.ui.dialogs.shown().empty()) << t.ui.dialogs.texts().join(u'|').toStdString();
    ASSERT_TRUE(stored.has_value()) << "nothing was stored";
    EXPECT_EQ(*stored, expected);
}

TEST_P(SweepTest, BadInputIsStoredExactlyOrRefusedWithAMessage) {
    const Field& field = *GetParam().field;
    const QString& value = GetParam().value;

    if (field.given) field.given(*this);
    if (field.box == Box::Search) {
        const QStringList names = namesFor(value);
        const auto [before, after] = field.search(*this, names, value);
        QStringList expected;
        for (const QString& shown : before)
            if (field.prefix ? shown.startsWith(value, Qt::CaseInsensitive) : shown.contains(value, Qt::CaseInsensitive))
                expected << shown;
        EXPECT_EQ(before.size(), names.size()) << "the list shows every row before the search";
        EXPECT_EQ(after, expected) << "typed: " << value.left(40).toStdString();
        EXPECT_TRUE(ui.dialogs.shown().empty()) << ui.dialogs.texts().join(u'|').toStdString();
        expectScriptPlayed();
        return;
    }

    const int rowsBefore = field.rows(*this);
    const std::optional<QString> stored = field.enter(*this, value);
    if (field.box == Box::Text) {
        if (characters(value) <= field.maxChars) expectStoredExactly(*this, stored, value);
        else expectRefusedWithAMessage(*this, rowsBefore, field);
    } else if (value.isEmpty()) {
        if (field.emptyStores) expectStoredExactly(*this, stored, QString::fromLatin1(field.emptyStores));
        else expectRefusedWithAMessage(*this, rowsBefore, field);
    } else if (plainDigits(value)) {
        if (atMost(value, field.maxNumber)) expectStoredExactly(*this, stored, withoutLeadingZeros(value));
        else expectRefusedWithAMessage(*this, rowsBefore, field);
    } else if (ui.dialogs.shown().empty()) {
        // Cut down to its digits by the box; never stored with anything else.
        QString digits;
        for (const QChar c : value)
            if (c >= u'0' && c <= u'9') digits += c;
        ASSERT_TRUE(stored.has_value()) << "neither stored nor refused";
        // A box that refused the paste stays empty, and stores what an empty box stores.
        const bool leftEmpty = field.emptyStores && *stored == QString::fromLatin1(field.emptyStores);
        if (!leftEmpty) {
            EXPECT_EQ(*stored, withoutLeadingZeros(digits));
        }
    } else {
        expectRefusedWithAMessage(*this, rowsBefore, field);
    }
    expectScriptPlayed();
}

std::vector<Case> allCases() {
    std::vector<Case> cases;
    for (const Field& field : fields) {
        const auto add = [&](const QString& value, std::size_t index) {
            std::string label = field.name;
            for (char& c : label)
                if (c == ' ') c = '_';
            cases.push_back({&field, value, label + "_" + std::to_string(index)});
        };
        if (field.box == Box::Digits)
            for (std::size_t i = 0; i < std::size(digitValues); ++i) add(digitValues[i], i);
        else
            for (std::size_t i = 0; i < std::size(textValues); ++i) add(textValues[i], i);
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryBox, SweepTest, ::testing::ValuesIn(allCases()),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param.label; });

}  // namespace
