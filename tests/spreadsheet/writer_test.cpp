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
using spreadsheet::Error;
using spreadsheet::FormattingWriter;
using spreadsheet::Worksheet;
using testing_support::ScriptedDialogs;

const QString cannotStart = QStringLiteral("Невозможно открыть Microsoft Excel.");
const QString cannotOpen = QStringLiteral("Ошибка открытия файла Microsoft Excel.");
const QString sheetCaption = QStringLiteral("Ошибочный номер листа Microsoft Excel");
const QString cellCaption = QStringLiteral("Ошибка Microsoft Excel");

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
    EXPECT_EQ(basic.WriteCell(1, 1, 1, QStringLiteral("0")), 1);
    ASSERT_NE(cell(1, 1), nullptr);
    EXPECT_EQ(cell(1, 1)->number, 0.0);
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

TEST_F(WriterTest, ValuesThatReadAsNumbersUnderTheUsersSeparatorAreNumbers) {
    struct Case {
        const char* text;
        QLocale::Language language;
        std::optional<double> number;
    };
    const Case cases[] = {
        {"12,5", QLocale::Russian, 12.5},
        {"12.5", QLocale::Russian, std::nullopt},
        {"12.5", QLocale::English, 12.5},
        {"12,5", QLocale::English, std::nullopt},
        {"0", QLocale::Russian, 0.0},
        {"-3", QLocale::Russian, -3.0},
        {"0,05", QLocale::Russian, 0.05},
        {"15,15", QLocale::Russian, 15.15},
        {"123456789012345", QLocale::Russian, 123456789012345.0},
        {"1234567890123456", QLocale::Russian, std::nullopt},   // more digits than a number keeps
        {"007", QLocale::Russian, std::nullopt},                // a code, not seven
        {"1 000", QLocale::Russian, std::nullopt},
        {"12,", QLocale::Russian, std::nullopt},
        {"1e5", QLocale::Russian, std::nullopt},
        {"ШК-120", QLocale::Russian, std::nullopt},
        {"-", QLocale::Russian, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        QLocale::setDefault(QLocale(c.language));   // the user's separator when the export begins
        ASSERT_EQ(basic.OpenWorkbook(QString()), 1);
        EXPECT_EQ(basic.WriteCell(1, 1, 1, QString::fromUtf8(c.text)), 1);
        EXPECT_EQ(cell(1, 1)->number, c.number);
        EXPECT_EQ(cell(1, 1)->text, QString::fromUtf8(c.text));
    }
}

TEST_F(WriterTest, TheFormattingWriterKeepsTextAsTextAndSetsBoldEitherWay) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    ASSERT_EQ(formatting.OpenWorkbook(QString()), 1);
    EXPECT_EQ(formatting.WriteCell(1, 1, 1, QStringLiteral("12,5"), true, false, true), 1);
    EXPECT_TRUE(cell(1, 1)->asText);
    EXPECT_FALSE(cell(1, 1)->number);
    EXPECT_TRUE(cell(1, 1)->bold);

    // bold false clears the bold the cell had; an empty text changes nothing at all.
    EXPECT_EQ(formatting.WriteCell(1, 2, 1, QStringLiteral("8"), false, false, true), 1);
    EXPECT_EQ(formatting.WriteCell(1, 2, 1, QString(), false, false, false), 1);
    EXPECT_TRUE(cell(1, 2)->bold);
    EXPECT_EQ(formatting.WriteCell(1, 2, 1, QStringLiteral("8"), false, false, false), 1);
    EXPECT_FALSE(cell(1, 2)->bold);
    EXPECT_EQ(cell(1, 2)->number, 8.0);

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
    formatting.WriteCell(1, 2, 1, QStringLiteral("8"), false, true, false);
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
