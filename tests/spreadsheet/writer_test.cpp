// The two export writers against the spreadsheet application held in memory: results, the
// messages of the failure table, the argument order and the cell formatting.

#include "spreadsheet/application.h"
#include "spreadsheet/writers.h"
#include "tests/support/qt_printers.h"
#include "tests/support/scripted_ui.h"

#include <QFileInfo>
#include <QLocale>
#include <QTemporaryFile>
#include <gtest/gtest.h>

namespace {

using spreadsheet::Application;
using spreadsheet::BasicWriter;
using spreadsheet::CellValue;
using spreadsheet::Error;
using spreadsheet::FormattingWriter;
using spreadsheet::Worksheet;
using testing_support::ScriptedDialogs;

const QString cannotStart = QStringLiteral("Невозможно открыть Microsoft Excel.");
const QString cannotOpen = QStringLiteral("Ошибка открытия файла Microsoft Excel.");
const QString sheetCaption = QStringLiteral("Ошибочный номер листа Microsoft Excel");
const QString cellCaption = QStringLiteral("Ошибка Microsoft Excel");

data::Decimal dec(const char* text) { return *data::Decimal::parse(QString::fromLatin1(text)); }

// An application that can be told to fail, or to be "closed by the user".
class TestApplication : public Application {
public:
    bool failAdd = false;
    bool lost = false;
    bool failShow = false;
    std::vector<const spreadsheet::Workbook*> shownBooks;

    void addWorkbook() override {
        if (failAdd || lost) throw Error(QStringLiteral("add failed"));
        Application::addWorkbook();
    }
    Worksheet& worksheet(int number) override {
        if (lost) throw Error(QStringLiteral("gone"));
        return Application::worksheet(number);
    }

protected:
    void show(spreadsheet::Workbook& book) override {
        shownBooks.push_back(&book);
        if (failShow) throw Error(QStringLiteral("Не удалось записать книгу: диск полон"));
    }
};

class TestLauncher : public spreadsheet::Launcher {
public:
    bool running = false;      // an application is there to attach to
    bool startFails = false;
    int starts = 0;
    std::shared_ptr<TestApplication> application;

    std::shared_ptr<Application> attach() override { return running ? application : nullptr; }
    std::shared_ptr<Application> start() override {
        if (startFails) throw Error(QStringLiteral("cannot start"));
        application = std::make_shared<TestApplication>();
        running = true;
        ++starts;
        return application;
    }
};

class WriterTest : public ::testing::Test {
protected:
    ~WriterTest() override { QLocale::setDefault(QLocale::c()); }

    // Every box shown, as "caption|text".
    QStringList boxes() const {
        QStringList out;
        for (const ScriptedDialogs::Shown& box : ui.dialogs.shown()) {
            EXPECT_EQ(box.icon, ui::Icon::Error);
            out << box.caption + u'|' + box.text;
        }
        return out;
    }
    Worksheet& sheet() { return launcher.application->worksheet(1); }
    const spreadsheet::Cell* cell(int row, int column) { return sheet().cellAt(row, column); }

    testing_support::ScriptedUi ui;
    TestLauncher launcher;
    BasicWriter basic{launcher};
    FormattingWriter formatting{launcher};
};

TEST_F(WriterTest, OpenWorkbookStartsAnApplicationOnceAndAttachesToItAfterwards) {
    EXPECT_EQ(basic.OpenWorkbook(QString()), 1);
    EXPECT_EQ(basic.OpenWorkbook(QString()), 1);
    EXPECT_EQ(launcher.starts, 1);
    ASSERT_EQ(launcher.application->workbooks().size(), 2u);
    EXPECT_EQ(basic.application(), launcher.application.get());
    EXPECT_TRUE(ui.dialogs.shown().empty());
}

TEST_F(WriterTest, TheFailureTableOfOpenWorkbook) {
    struct Case {
        const char* name;
        bool earlierApplication;   // a workbook was opened before, so the handle is not empty
        bool running;
        bool startFails;
        bool addFails;
        int result;
        QStringList boxes;
    };
    const QString error = QStringLiteral("Ошибка|");
    const Case cases[] = {
        {"attached", false, true, false, false, 1, {}},
        {"started", false, false, false, false, 1, {}},
        {"neither attached nor started, first use", false, false, true, false, -1,
         {error + cannotStart, error + cannotOpen}},
        {"neither, the earlier handle still adds", true, false, true, false, 1, {error + cannotStart}},
        {"neither, the earlier handle fails too", true, false, true, true, -1,
         {error + cannotStart, error + cannotOpen}},
        {"attached, adding fails", false, true, false, true, -1, {error + cannotOpen}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.dialogs.clear();
        TestLauncher launcher;
        BasicWriter writer(launcher);
        if (c.running || c.earlierApplication) launcher.start();
        if (c.earlierApplication) ASSERT_EQ(writer.OpenWorkbook(QString()), 1);
        launcher.running = c.running;
        launcher.startFails = c.startFails;
        if (launcher.application) launcher.application->failAdd = c.addFails;
        EXPECT_EQ(writer.OpenWorkbook(QString()), c.result);
        EXPECT_EQ(boxes(), c.boxes);
    }
}

TEST_F(WriterTest, OpenWorkbookWithAPathOpensThatFileAndFailsOnAMissingOne) {
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    EXPECT_EQ(basic.OpenWorkbook(file.fileName()), 1);
    EXPECT_EQ(launcher.application->activeWorkbook()->openedFrom(), QFileInfo(file.fileName()).absoluteFilePath());
    EXPECT_TRUE(boxes().isEmpty());
    // An opened workbook is shown as it is: it has no sheet to write to.
    EXPECT_EQ(basic.WriteCell(1, 1, 1, QStringLiteral("x")), -1);
    EXPECT_EQ(boxes(), QStringList({sheetCaption + QStringLiteral("|Ошибка при записи: лист 1, столбец 1, строка 1")}));

    ui.dialogs.clear();
    EXPECT_EQ(basic.OpenWorkbook(QStringLiteral("/nonexistent/book.xlsx")), -1);
    EXPECT_EQ(boxes(), QStringList({QStringLiteral("Ошибка|") + cannotOpen}));
}

TEST_F(WriterTest, WriteCellTakesTheColumnBeforeTheRowAndAnEmptyTextWritesNothing) {
    ASSERT_EQ(basic.OpenWorkbook(QString()), 1);
    EXPECT_EQ(basic.WriteCell(1, 3, 2, QStringLiteral("C2")), 1);
    ASSERT_NE(cell(2, 3), nullptr);
    EXPECT_EQ(cell(2, 3)->text, QStringLiteral("C2"));
    EXPECT_EQ(cell(3, 2), nullptr);

    EXPECT_EQ(basic.WriteCell(1, 1, 1, QString()), 1);
    EXPECT_EQ(cell(1, 1), nullptr);
    // Even a sheet that does not exist is not looked up for an empty text.
    EXPECT_EQ(basic.WriteCell(7, 1, 1, QString()), 1);
    // A zero is no empty value, as a number or as a text.
    EXPECT_EQ(basic.WriteCell(1, 1, 1, CellValue::number(0)), 1);
    ASSERT_NE(cell(1, 1), nullptr);
    EXPECT_EQ(cell(1, 1)->number, dec("0"));
    EXPECT_EQ(basic.WriteCell(1, 2, 1, QStringLiteral("0")), 1);
    ASSERT_NE(cell(1, 2), nullptr);
    EXPECT_EQ(cell(1, 2)->text, QStringLiteral("0"));
    EXPECT_TRUE(ui.dialogs.shown().empty());
}

TEST_F(WriterTest, WriteCellFailuresShowTheirCaptionWithTheCellAndReturnMinusOne) {
    struct Case {
        int sheet, column, row;
        QString text;
        QString caption;
    };
    const QString longText(spreadsheet::maxCellText + 1, u'x');
    const Case cases[] = {
        {2, 1, 1, QStringLiteral("x"), sheetCaption},
        {0, 1, 1, QStringLiteral("x"), sheetCaption},
        {-1, 1, 1, QStringLiteral("x"), sheetCaption},
        {1, 1, 0, QStringLiteral("x"), cellCaption},
        {1, 0, 1, QStringLiteral("x"), cellCaption},
        {1, 1, spreadsheet::maxRows + 1, QStringLiteral("x"), cellCaption},
        {1, spreadsheet::maxColumns + 1, 1, QStringLiteral("x"), cellCaption},
        {1, 2, 3, longText, cellCaption},
    };
    ASSERT_EQ(formatting.OpenWorkbook(QString()), 1);
    ASSERT_EQ(basic.OpenWorkbook(QString()), 1);   // both write to the workbook active now
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption.toStdString() + " " + std::to_string(c.sheet) + "/" + std::to_string(c.column) +
                     "/" + std::to_string(c.row));
        ui.dialogs.clear();
        EXPECT_EQ(basic.WriteCell(c.sheet, c.column, c.row, c.text), -1);
        EXPECT_EQ(formatting.WriteCell(c.sheet, c.column, c.row, c.text, true, true, true), -1);
        const QString box = c.caption + QStringLiteral("|Ошибка при записи: лист %1, столбец %2, строка %3")
                                            .arg(c.sheet).arg(c.column).arg(c.row);
        EXPECT_EQ(boxes(), QStringList({box, box}));
    }
    // No value was written, and the writer goes on as if nothing happened.
    EXPECT_TRUE(!cell(3, 2) || cell(3, 2)->text.isEmpty());
    ui.dialogs.clear();
    EXPECT_EQ(basic.WriteCell(1, 1, 1, QStringLiteral("x")), 1);
    EXPECT_TRUE(ui.dialogs.shown().empty());
}

TEST_F(WriterTest, WriteCellBeforeAnyWorkbookFailsOnTheSheet) {
    EXPECT_EQ(basic.WriteCell(1, 1, 1, QStringLiteral("x")), -1);
    EXPECT_EQ(boxes(), QStringList({sheetCaption + QStringLiteral("|Ошибка при записи: лист 1, столбец 1, строка 1")}));
}

// The application closed in the middle of an export: one message per remaining cell, and the
// writer keeps no error of its own.
TEST_F(WriterTest, ALostApplicationGivesOneMessagePerRemainingCell) {
    ASSERT_EQ(basic.OpenWorkbook(QString()), 1);
    EXPECT_EQ(basic.WriteCell(1, 1, 1, QStringLiteral("a")), 1);
    launcher.application->lost = true;
    launcher.running = false;
    for (int row = 2; row <= 4; ++row) EXPECT_EQ(basic.WriteCell(1, 1, row, QStringLiteral("a")), -1);
    EXPECT_EQ(ui.dialogs.shown().size(), 3u);
    EXPECT_EQ(basic.WriteCell(1, 1, 5, QString()), 1);   // an empty text still asks nothing
    EXPECT_EQ(ui.dialogs.shown().size(), 3u);

    ui.dialogs.clear();
    EXPECT_EQ(basic.OpenWorkbook(QString()), 1);   // a new application is started
    EXPECT_EQ(basic.WriteCell(1, 1, 1, QStringLiteral("a")), 1);
    EXPECT_TRUE(ui.dialogs.shown().empty());
    EXPECT_EQ(launcher.starts, 2);
}

TEST_F(WriterTest, ASecondExportWritesIntoTheNewActiveWorkbook) {
    ASSERT_EQ(basic.OpenWorkbook(QString()), 1);
    basic.WriteCell(1, 1, 1, QStringLiteral("первая"));
    basic.SetExcelVisible(true);
    ASSERT_EQ(basic.OpenWorkbook(QString()), 1);
    basic.WriteCell(1, 1, 1, QStringLiteral("вторая"));
    basic.SetExcelVisible(true);

    const auto& books = launcher.application->workbooks();
    ASSERT_EQ(books.size(), 2u);
    EXPECT_EQ(books[0]->sheet(1).cellAt(1, 1)->text, QStringLiteral("первая"));
    EXPECT_EQ(books[1]->sheet(1).cellAt(1, 1)->text, QStringLiteral("вторая"));
    // Each workbook was shown once, when its export made the application visible.
    ASSERT_EQ(launcher.application->shownBooks.size(), 2u);
    EXPECT_EQ(launcher.application->shownBooks[0], books[0].get());
    EXPECT_EQ(launcher.application->shownBooks[1], books[1].get());
}

TEST_F(WriterTest, SetExcelVisibleShowsOnlyWorkbooksNotShownAndAlwaysReturnsOne) {
    EXPECT_EQ(basic.SetExcelVisible(true), 1);   // no application yet: nothing happens
    EXPECT_EQ(launcher.starts, 0);

    ASSERT_EQ(formatting.OpenWorkbook(QString()), 1);
    EXPECT_EQ(formatting.SetExcelVisible(false), 1);
    EXPECT_FALSE(launcher.application->visible());
    EXPECT_TRUE(launcher.application->shownBooks.empty());
    EXPECT_EQ(formatting.SetExcelVisible(true), 1);
    EXPECT_EQ(formatting.SetExcelVisible(false), 1);
    EXPECT_EQ(formatting.SetExcelVisible(true), 1);
    EXPECT_EQ(launcher.application->shownBooks.size(), 1u);
    EXPECT_TRUE(ui.dialogs.shown().empty());
}

TEST_F(WriterTest, AWorkbookThatCannotBeShownGoesToTheStandardErrorBox) {
    ASSERT_EQ(basic.OpenWorkbook(QString()), 1);
    launcher.application->failShow = true;
    EXPECT_EQ(basic.SetExcelVisible(true), 1);
    ASSERT_EQ(ui.dialogs.shown().size(), 1u);
    EXPECT_EQ(ui.dialogs.shown()[0].kind, ScriptedDialogs::Kind::StandardError);
    EXPECT_EQ(ui.dialogs.shown()[0].text, QStringLiteral("Не удалось записать книгу: диск полон"));
    // It is not tried again by the next export.
    launcher.application->failShow = false;
    ASSERT_EQ(basic.OpenWorkbook(QString()), 1);
    basic.SetExcelVisible(true);
    EXPECT_EQ(launcher.application->shownBooks.size(), 2u);
}

// A value is what its column made it, whatever it looks like and whatever the user's separator:
// nothing is guessed from the content.
TEST_F(WriterTest, TextsStayTextAndNumbersAreNumbersWhateverTheyLookLike) {
    struct Case {
        CellValue value;
        const char* text;     // the cell's text
        const char* number;   // the number the cell holds; nullptr for a text
    };
    const Case cases[] = {
        {QStringLiteral("007"), "007", nullptr},
        {QStringLiteral("1E5"), "1E5", nullptr},
        {QStringLiteral("12.50"), "12.50", nullptr},
        {QStringLiteral("12,5"), "12,5", nullptr},
        {QStringLiteral("-3"), "-3", nullptr},
        {QStringLiteral(" 42"), " 42", nullptr},
        {QStringLiteral("0"), "0", nullptr},
        {QStringLiteral("123456789012345"), "123456789012345", nullptr},
        {CellValue::number(dec("12.50")), "12.5", "12.5"},
        {CellValue::number(dec("8.38")), "8.38", "8.38"},
        {CellValue::number(-3), "-3", "-3"},
        {CellValue::number(7), "7", "7"},
        {CellValue::number(dec("0.0000001")), "0.0000001", "0.0000001"},
        // A spreadsheet keeps 15 significant digits, and shows no exponent for them.
        {CellValue::number(dec("1234567890123456")), "1234567890123460", "1234567890123460"},
        {CellValue::number(dec("99999999999999.9999")), "100000000000000", "100000000000000"},
        {CellValue::number(dec("0.1234567890123456789")), "0.123456789012346", "0.123456789012346"},
    };
    for (const QLocale::Language language : {QLocale::Russian, QLocale::English}) {
        QLocale::setDefault(QLocale(language));
        ASSERT_EQ(basic.OpenWorkbook(QString()), 1);
        for (const Case& c : cases) {
            SCOPED_TRACE(QLocale::languageToString(language).toStdString() + " " + c.text);
            EXPECT_EQ(basic.WriteCell(1, 1, 1, c.value), 1);
            EXPECT_EQ(cell(1, 1)->text, QString::fromLatin1(c.text));
            EXPECT_EQ(cell(1, 1)->number, c.number ? std::optional(dec(c.number)) : std::nullopt);
        }
    }
}

TEST_F(WriterTest, TheFormattingWriterKeepsTextAsTextAndSetsBoldEitherWay) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    ASSERT_EQ(formatting.OpenWorkbook(QString()), 1);
    EXPECT_EQ(formatting.WriteCell(1, 1, 1, QStringLiteral("12,5"), true, false, true), 1);
    EXPECT_TRUE(cell(1, 1)->asText);
    EXPECT_FALSE(cell(1, 1)->number);
    EXPECT_TRUE(cell(1, 1)->bold);
    // A number in a cell of the text format is its text.
    EXPECT_EQ(formatting.WriteCell(1, 1, 2, CellValue::number(dec("12.5")), true, false, false), 1);
    EXPECT_FALSE(cell(2, 1)->number);
    EXPECT_EQ(cell(2, 1)->text, QStringLiteral("12.5"));

    // bold false clears the bold the cell had; an empty text changes nothing at all.
    EXPECT_EQ(formatting.WriteCell(1, 2, 1, CellValue::number(8), false, false, true), 1);
    EXPECT_EQ(formatting.WriteCell(1, 2, 1, QString(), false, false, false), 1);
    EXPECT_TRUE(cell(1, 2)->bold);
    EXPECT_EQ(formatting.WriteCell(1, 2, 1, CellValue::number(8), false, false, false), 1);
    EXPECT_FALSE(cell(1, 2)->bold);
    EXPECT_EQ(cell(1, 2)->number, dec("8"));

    // The basic writer sets the value only (in a workbook of its own, in the same application).
    ASSERT_EQ(basic.OpenWorkbook(QString()), 1);
    EXPECT_EQ(basic.WriteCell(1, 3, 1, QStringLiteral("7")), 1);
    EXPECT_FALSE(cell(1, 3)->bold);
    EXPECT_FALSE(cell(1, 3)->asText);
    EXPECT_FALSE(sheet().columnWidth(3));
    EXPECT_TRUE(ui.dialogs.shown().empty());
}

TEST_F(WriterTest, AutoFitGivesTheColumnTheWidthOfItsWidestTextSoFar) {
    ASSERT_EQ(formatting.OpenWorkbook(QString()), 1);
    formatting.WriteCell(1, 1, 1, QStringLiteral("Иванов Иван Иванович"), true, true, true);   // 20 letters
    formatting.WriteCell(1, 1, 2, QStringLiteral("Ли"), true, true, false);
    formatting.WriteCell(1, 2, 1, CellValue::number(8), false, true, false);
    formatting.WriteCell(1, 3, 1, QStringLiteral("не подогнан"), false, false, false);
    const double name = *sheet().columnWidth(1);
    const double hours = *sheet().columnWidth(2);
    EXPECT_GE(name, 20.0);
    EXPECT_LE(name, 26.0);
    EXPECT_GE(hours, 1.0);
    EXPECT_LE(hours, 3.0);
    EXPECT_FALSE(sheet().columnWidth(3));
}

}  // namespace
