// The program's writers on the desktop's spreadsheet application: real .xlsx files in the export
// folder, read back as a spreadsheet program reads them, and the faults of the folder and the
// desktop.

#include "spreadsheet/desktop.h"
#include "spreadsheet/program.h"
#include "spreadsheet/writers.h"
#include "spreadsheet/zip_archive.h"
#include "tests/support/process_locale.h"
#include "tests/support/qt_printers.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/test_desktop.h"
#include "tests/support/xlsx_reader.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <optional>

namespace {

using spreadsheet::CellValue;
using testing_support::ScriptedDialogs;
using testing_support::XlsxSheet;
using testing_support::readXlsx;

data::Decimal dec(const char* text) { return *data::Decimal::parse(QString::fromLatin1(text)); }

class XlsxTest : public ::testing::Test {
protected:
    ~XlsxTest() override { QLocale::setDefault(QLocale::c()); }

    XlsxSheet onlySheetOf(const QString& path) {
        const std::vector<XlsxSheet> sheets = readXlsx(path);
        if (sheets.size() != 1) {
            ADD_FAILURE() << "sheets: " << sheets.size();
            return {};
        }
        return sheets[0];
    }
    // Makes the export folder impossible: a file stands where its parent folder should be.
    void blockFolder() {
        QDir(desktop.folder()).removeRecursively();
        QFile blocker(desktop.folder());
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    void unblockFolder() { QFile::remove(desktop.folder()); }

    testing_support::ScriptedUi ui;
    testing_support::TestDesktop desktop;
    spreadsheet::BasicWriter& basic = spreadsheet::basicWriter();
    spreadsheet::FormattingWriter& formatting = spreadsheet::formattingWriter();
};

TEST_F(XlsxTest, TheBasicWriterWritesAWorkbookThatOpensWithItsValues) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    ASSERT_FALSE(QFileInfo::exists(desktop.folder()));
    ASSERT_EQ(basic.OpenWorkbook(QString()), 1);
    basic.WriteCell(1, 1, 1, QStringLiteral("Марка"));
    basic.WriteCell(1, 2, 1, QStringLiteral("Цена"));
    basic.WriteCell(1, 1, 2, QStringLiteral("ШК-120 «Люкс» & <O'Brien>"));
    basic.WriteCell(1, 2, 2, CellValue::number(dec("15.15")));
    basic.WriteCell(1, 2, 3, CellValue::number(0));
    basic.WriteCell(1, 1, 3, QStringLiteral("007"));
    EXPECT_TRUE(desktop.files().isEmpty()) << "nothing is written before the workbook is shown";
    EXPECT_EQ(basic.SetExcelVisible(true), 1);

    EXPECT_TRUE(QFileInfo(desktop.folder()).isDir()) << "the export folder is made";
    ASSERT_EQ(desktop.files().size(), 1);
    EXPECT_EQ(desktop.opened, desktop.files());
    EXPECT_TRUE(QFileInfo(desktop.files()[0]).fileName().endsWith(QLatin1String(".xlsx")));
    const XlsxSheet sheet = onlySheetOf(desktop.files()[0]);
    EXPECT_EQ(sheet.name, QStringLiteral("Лист1"));
    EXPECT_EQ(sheet.text(1, 1), QStringLiteral("Марка"));
    EXPECT_EQ(sheet.text(2, 1), QStringLiteral("ШК-120 «Люкс» & <O'Brien>"));
    ASSERT_NE(sheet.at(2, 2), nullptr);
    EXPECT_TRUE(sheet.at(2, 2)->number);
    EXPECT_EQ(sheet.at(2, 2)->value.toDouble(), 15.15);
    EXPECT_TRUE(sheet.at(3, 2)->number);
    EXPECT_FALSE(sheet.at(3, 1)->number);
    EXPECT_EQ(sheet.text(3, 1), QStringLiteral("007"));
    EXPECT_FALSE(sheet.at(1, 1)->bold);
    EXPECT_TRUE(sheet.widths.empty());
    EXPECT_TRUE(ui.dialogs.shown().empty());
}

TEST_F(XlsxTest, TheFormattingWriterKeepsTheTextFormatBoldAndFittedWidths) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    ASSERT_EQ(formatting.OpenWorkbook(QString()), 1);
    formatting.SetExcelVisible(false);
    formatting.WriteCell(1, 1, 1, QStringLiteral("Фамилия И.О."), true, true, true);
    formatting.WriteCell(1, 1, 2, QStringLiteral("Константинопольский К.К."), true, true, false);   // 24 letters
    formatting.WriteCell(1, 2, 1, QStringLiteral("1"), true, true, true);
    formatting.WriteCell(1, 2, 2, CellValue::number(8), false, true, false);
    formatting.WriteCell(1, 3, 2, CellValue::number(dec("12.5")), false, false, true);
    EXPECT_TRUE(desktop.files().isEmpty()) << "hidden while it is written";
    formatting.SetExcelVisible(true);

    ASSERT_EQ(desktop.files().size(), 1);
    const XlsxSheet sheet = onlySheetOf(desktop.files()[0]);
    const testing_support::XlsxCell* header = sheet.at(1, 1);
    ASSERT_NE(header, nullptr);
    EXPECT_TRUE(header->bold);
    EXPECT_EQ(header->format, QStringLiteral("@"));
    EXPECT_FALSE(sheet.at(2, 1)->bold);
    EXPECT_FALSE(sheet.at(1, 2)->number) << "a number written as text stays text";
    EXPECT_EQ(sheet.text(1, 2), QStringLiteral("1"));
    EXPECT_TRUE(sheet.at(2, 2)->number);
    EXPECT_EQ(sheet.at(2, 2)->format, QStringLiteral("General"));
    EXPECT_TRUE(sheet.at(2, 3)->number);
    EXPECT_EQ(sheet.at(2, 3)->value.toDouble(), 12.5);
    EXPECT_TRUE(sheet.at(2, 3)->bold);

    ASSERT_TRUE(sheet.widths.count(1));
    ASSERT_TRUE(sheet.widths.count(2));
    EXPECT_FALSE(sheet.widths.count(3)) << "column 3 was never fitted";
    EXPECT_GE(sheet.widths.at(1), 24.0);
    EXPECT_LE(sheet.widths.at(1), 32.0);
    EXPECT_LE(sheet.widths.at(2), 4.0);
}

TEST_F(XlsxTest, EveryWorkbookGetsAFileOfItsOwnAndNoEarlierOneIsRewrittenOrReopened) {
    ASSERT_EQ(basic.OpenWorkbook(QString()), 1);
    basic.WriteCell(1, 1, 1, QStringLiteral("первая"));
    basic.SetExcelVisible(true);
    ASSERT_EQ(desktop.files().size(), 1);
    const QString first = desktop.files()[0];
    const QByteArray firstBytes = [&] {
        QFile f(first);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();

    // The timesheet export, hidden while it writes, then a second price list, in the same second.
    ASSERT_EQ(formatting.OpenWorkbook(QString()), 1);
    formatting.SetExcelVisible(false);
    formatting.WriteCell(1, 1, 1, QStringLiteral("табель"), true, true, true);
    formatting.SetExcelVisible(true);
    ASSERT_EQ(basic.OpenWorkbook(QString()), 1);
    basic.WriteCell(1, 1, 1, QStringLiteral("вторая"));
    basic.SetExcelVisible(true);

    const QStringList files = desktop.files();
    ASSERT_EQ(files.size(), 3);
    EXPECT_EQ(desktop.opened.size(), 3);
    EXPECT_EQ(QSet<QString>(desktop.opened.begin(), desktop.opened.end()), QSet<QString>(files.begin(), files.end()));
    QFile f(first);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), firstBytes);
    QStringList firstCells;
    for (const QString& file : desktop.opened) firstCells << onlySheetOf(file).text(1, 1);
    EXPECT_EQ(firstCells, QStringList({QStringLiteral("первая"), QStringLiteral("табель"), QStringLiteral("вторая")}));
}

// A file of the user's (or of another run of the program) that has the name an export would take
// is left as it was.
TEST_F(XlsxTest, AnExportNeverOverwritesAFileOfTheSameName) {
    ASSERT_TRUE(QDir().mkpath(desktop.folder()));
    QStringList theirs;
    const QDateTime now = QDateTime::currentDateTime();
    for (int second = 0; second <= 3; ++second) {
        const QString path = QDir(desktop.folder()).filePath(
            QStringLiteral("Книга ") + now.addSecs(second).toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")) +
            QStringLiteral(".xlsx"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not ours");
        theirs << path;
    }
    ASSERT_EQ(basic.OpenWorkbook(QString()), 1);
    basic.WriteCell(1, 1, 1, QStringLiteral("наша"));
    basic.SetExcelVisible(true);

    ASSERT_EQ(desktop.opened.size(), 1);
    EXPECT_FALSE(theirs.contains(desktop.opened[0])) << desktop.opened[0].toStdString();
    EXPECT_EQ(onlySheetOf(desktop.opened[0]).text(1, 1), QStringLiteral("наша"));
    for (const QString& path : theirs) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), QByteArray("not ours"));
    }
}

// The application starts whatever the folder: a folder that cannot be made is told once, in the
// standard error box with the folder and the system's reason, when the workbook goes to its file.
TEST_F(XlsxTest, AFolderThatCannotBeMadeIsToldOnceWhenTheWorkbookIsWritten) {
    blockFolder();
    ASSERT_EQ(basic.OpenWorkbook(QString()), 1);
    basic.WriteCell(1, 1, 1, QStringLiteral("x"));
    EXPECT_TRUE(ui.dialogs.shown().empty());
    EXPECT_EQ(basic.SetExcelVisible(true), 1);
    ASSERT_EQ(ui.dialogs.shown().size(), 1u);
    const ScriptedDialogs::Shown& box = ui.dialogs.shown()[0];
    EXPECT_EQ(box.kind, ScriptedDialogs::Kind::StandardError);
    EXPECT_TRUE(box.text.startsWith(QStringLiteral("Не удалось записать книгу в папку ") +
                                    QDir::toNativeSeparators(desktop.folder()) + QStringLiteral(": ")))
        << box.text.toStdString();
    EXPECT_TRUE(desktop.opened.isEmpty());

    // The folder back, the next export works.
    unblockFolder();
    ui.dialogs.clear();
    ASSERT_EQ(basic.OpenWorkbook(QString()), 1);
    basic.WriteCell(1, 1, 1, QStringLiteral("y"));
    basic.SetExcelVisible(true);
    ASSERT_EQ(desktop.files().size(), 1);
    EXPECT_EQ(onlySheetOf(desktop.files()[0]).text(1, 1), QStringLiteral("y"));
    EXPECT_TRUE(ui.dialogs.shown().empty());
}

TEST_F(XlsxTest, AFolderLostAfterAnEarlierExportIsToldOnceAgain) {
    ASSERT_EQ(basic.OpenWorkbook(QString()), 1);
    basic.WriteCell(1, 1, 1, QStringLiteral("x"));
    basic.SetExcelVisible(true);
    blockFolder();
    ASSERT_EQ(basic.OpenWorkbook(QString()), 1);
    basic.WriteCell(1, 1, 1, QStringLiteral("y"));
    basic.SetExcelVisible(true);
    ASSERT_EQ(ui.dialogs.shown().size(), 1u);
    EXPECT_TRUE(ui.dialogs.shown()[0].text.startsWith(QStringLiteral("Не удалось записать книгу в папку ")));
    EXPECT_EQ(desktop.opened.size(), 1);
}

// Only a desktop that names no folder at all cannot start the application: the writer's two
// messages, and -1.
TEST_F(XlsxTest, ADesktopWithoutAFolderGivesBothMessagesAndMinusOne) {
    spreadsheet::Desktop nowhere;
    nowhere.open = [](const QString&, const spreadsheet::OpenOutcome& outcome) { outcome(true); };
    spreadsheet::setDesktop(&nowhere);   // both writers start afresh on it
    spreadsheet::BasicWriter& writer = spreadsheet::basicWriter();
    EXPECT_EQ(writer.OpenWorkbook(QString()), -1);
    ASSERT_EQ(ui.dialogs.shown().size(), 2u);
    EXPECT_EQ(ui.dialogs.shown()[0].text, QStringLiteral("Невозможно открыть Microsoft Excel."));
    EXPECT_EQ(ui.dialogs.shown()[1].text, QStringLiteral("Ошибка открытия файла Microsoft Excel."));
    for (const ScriptedDialogs::Shown& box : ui.dialogs.shown()) {
        EXPECT_EQ(box.caption, QStringLiteral("Ошибка"));
        EXPECT_EQ(box.icon, ui::Icon::Error);
    }
    EXPECT_EQ(writer.SetExcelVisible(true), 1);   // what a caller that went on would do: nothing
}

TEST_F(XlsxTest, WithoutAProgramToShowTheFileTheUserIsToldWhereItIs) {
    desktop.openSucceeds = false;
    ASSERT_EQ(basic.OpenWorkbook(QString()), 1);
    basic.WriteCell(1, 1, 1, QStringLiteral("x"));
    EXPECT_EQ(basic.SetExcelVisible(true), 1);
    ASSERT_EQ(desktop.files().size(), 1);
    ASSERT_EQ(ui.dialogs.shown().size(), 1u);
    EXPECT_EQ(ui.dialogs.shown()[0].kind, ScriptedDialogs::Kind::Message);
    EXPECT_TRUE(ui.dialogs.shown()[0].text.contains(QDir::toNativeSeparators(desktop.files()[0])))
        << ui.dialogs.shown()[0].text.toStdString();
}

// The numbers of a workbook stand in the file as the decimal the program holds, under the C
// locale and under the department's, whose separator is a comma: the reader refuses "279,5",
// "8.380000000000001" and "1E-07". The widths of fitted columns are numbers of the file too.
TEST_F(XlsxTest, NumbersStandInTheFileAsTheExactDecimalUnderEveryLocale) {
    const struct { const char* value; const char* stored; } cases[] = {
        {"279.5", "279.5"},
        {"8.38", "8.38"},      // printed past its precision, 8.380000000000001
        {"8.03", "8.03"},
        {"0.1", "0.1"},
        {"12.5000", "12.5"},
        {"-3", "-3"},
        {"0", "0"},
        {"0.0001", "0.0001"},
        {"0.0000001", "0.0000001"},                    // no exponent
        {"10000000000000000", "10000000000000000"},   // nor here
        {"123456789012345", "123456789012345"},
        {"1234567890123456", "1234567890123460"},     // the 15 digits a spreadsheet keeps
        {"0.1234567890123456789", "0.123456789012346"},
    };
    for (const char* locale : testing_support::exportLocales) {
        SCOPED_TRACE(locale);
        const testing_support::ProcessLocale running(locale);
        ASSERT_EQ(formatting.OpenWorkbook(QString()), 1);
        formatting.SetExcelVisible(false);
        int row = 0;
        for (const auto& c : cases) {
            formatting.WriteCell(1, 1, ++row, QString::fromLatin1(c.value), true, true, false);
            formatting.WriteCell(1, 2, row, CellValue::number(dec(c.value)), false, true, row % 2 == 0);
        }
        formatting.SetExcelVisible(true);
        ASSERT_FALSE(desktop.opened.isEmpty());
        const XlsxSheet sheet = onlySheetOf(desktop.opened.back());
        row = 0;
        for (const auto& c : cases) {
            SCOPED_TRACE(c.value);
            const testing_support::XlsxCell* cell = sheet.at(++row, 2);
            ASSERT_NE(cell, nullptr);
            EXPECT_TRUE(cell->number);
            EXPECT_EQ(cell->stored, QString::fromLatin1(c.stored));
            EXPECT_EQ(cell->value.toDouble(), QString::fromLatin1(c.stored).toDouble());
            EXPECT_EQ(cell->bold, row % 2 == 0);
            EXPECT_EQ(sheet.text(row, 1), QString::fromLatin1(c.value));
        }
        ASSERT_TRUE(sheet.widths.count(1) && sheet.widths.count(2));
        EXPECT_GE(sheet.widths.at(1), 21.0);   // "0.1234567890123456789"
        EXPECT_GE(sheet.widths.at(2), 17.0);   // "10000000000000000"
    }
    EXPECT_TRUE(ui.dialogs.shown().empty()) << ui.dialogs.texts().join(u'|').toStdString();
}

// A text, from a mark or a name, is text in the file exactly as it was given, however much it
// looks like a number, with either writer.
TEST_F(XlsxTest, TextsThatLookLikeNumbersStayTextExactly) {
    const char* const texts[] = {"007", "1E5", "12.50", "-3", " 42", "42 ", "12,5", "1 000", "0", "1234567890123456"};
    for (const char* locale : testing_support::exportLocales) {
        SCOPED_TRACE(locale);
        const testing_support::ProcessLocale running(locale);
        ASSERT_EQ(basic.OpenWorkbook(QString()), 1);
        int row = 0;
        for (const char* text : texts) basic.WriteCell(1, 1, ++row, QString::fromLatin1(text));
        basic.SetExcelVisible(true);
        ASSERT_EQ(formatting.OpenWorkbook(QString()), 1);
        row = 0;
        for (const char* text : texts) formatting.WriteCell(1, 1, ++row, QString::fromLatin1(text), false, true, false);
        formatting.SetExcelVisible(true);

        ASSERT_GE(desktop.opened.size(), 2);
        for (const QString& file : desktop.opened.mid(desktop.opened.size() - 2)) {
            const XlsxSheet sheet = onlySheetOf(file);
            row = 0;
            for (const char* text : texts) {
                SCOPED_TRACE(text);
                const testing_support::XlsxCell* cell = sheet.at(++row, 1);
                ASSERT_NE(cell, nullptr);
                EXPECT_FALSE(cell->number);
                EXPECT_EQ(cell->value.toString(), QString::fromLatin1(text));
            }
        }
    }
}

// The desktop's program may fail after the export has ended (the opener waits for it): the user
// is told then, each workbook naming its own file; a program that shows them tells nothing.
TEST_F(XlsxTest, AnOpenerThatFailsAfterTheExportNamesEachFileThen) {
    for (const bool shown : {false, true}) {
        SCOPED_TRACE(shown ? "shown" : "failed");
        ui.dialogs.clear();
        desktop.opened.clear();
        desktop.answersLater = true;
        ASSERT_EQ(basic.OpenWorkbook(QString()), 1);
        basic.WriteCell(1, 1, 1, QStringLiteral("цены"));
        basic.SetExcelVisible(true);
        ASSERT_EQ(formatting.OpenWorkbook(QString()), 1);
        formatting.WriteCell(1, 1, 1, QStringLiteral("табель"), true, true, true);
        formatting.SetExcelVisible(true);
        ASSERT_EQ(desktop.opened.size(), 2);
        EXPECT_TRUE(ui.dialogs.shown().empty());

        desktop.answerPending(shown);
        if (shown) {
            EXPECT_TRUE(ui.dialogs.shown().empty());
            continue;
        }
        ASSERT_EQ(ui.dialogs.shown().size(), 2u);
        for (int n = 0; n < 2; ++n) {
            const ScriptedDialogs::Shown& box = ui.dialogs.shown()[n];
            EXPECT_EQ(box.kind, ScriptedDialogs::Kind::Message);
            EXPECT_EQ(box.icon, ui::Icon::Warning);
            EXPECT_TRUE(box.text.endsWith(u'\n' + QDir::toNativeSeparators(desktop.opened[n]))) << box.text.toStdString();
            EXPECT_TRUE(QFileInfo::exists(desktop.opened[n]));
        }
    }
}

// The program's own opener: xdg-open from the PATH, whose failure (no program for the type, or
// a program that could not open the file) is known only when it ends.
TEST_F(XlsxTest, TheDesktopsOpenerFailsWhenXdgOpenIsMissingOrFails) {
    const struct { const char* name; const char* script; bool shown; } cases[] = {
        {"no xdg-open", nullptr, false},
        // Shell builtins only: the PATH holds this folder alone.
        {"shown", "echo \"$1\" > \"${0%/*}/asked\"; exit 0", true},
        {"no program for the type", "exit 3", false},
        {"the program failed", "exit 4", false},
        {"killed", "kill -9 $$", false},
    };
    const QByteArray path = qgetenv("PATH");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir bin;
        ASSERT_TRUE(bin.isValid());
        if (c.script) {
            QFile opener(bin.filePath(QStringLiteral("xdg-open")));
            ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
            opener.write(QByteArray("#!/bin/sh\n") + c.script + '\n');
            opener.close();
            opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        qputenv("PATH", QFile::encodeName(bin.path()));
        std::optional<bool> outcome;
        const QString book = QStringLiteral("/tmp/Табель/Книга 1.xlsx");
        spreadsheet::Desktop::user().open(book, [&](bool shown) { outcome = shown; });
        qputenv("PATH", path);
        const QDeadlineTimer deadline(10000);
        while (!outcome && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        ASSERT_TRUE(outcome.has_value());
        EXPECT_EQ(*outcome, c.shown);
        if (c.shown) {
            QFile asked(bin.filePath(QStringLiteral("asked")));
            ASSERT_TRUE(asked.open(QIODevice::ReadOnly));
            EXPECT_EQ(QString::fromUtf8(asked.readAll()).trimmed(), book);
        }
    }
}

TEST(ZipArchive, AnythingButAWholeArchiveIsRefused) {
    testing_support::ScriptedUi ui;
    QTemporaryDir folder;
    spreadsheet::Desktop desktop;
    desktop.folder = folder.path();
    desktop.open = [](const QString&, const spreadsheet::OpenOutcome& outcome) { outcome(true); };
    spreadsheet::setDesktop(&desktop);
    spreadsheet::BasicWriter& writer = spreadsheet::basicWriter();
    ASSERT_EQ(writer.OpenWorkbook(QString()), 1);
    writer.WriteCell(1, 1, 1, CellValue::number(dec("8.38")));
    writer.SetExcelVisible(true);
    spreadsheet::setDesktop(nullptr);
    const QStringList files = QDir(folder.path()).entryList({QStringLiteral("*.xlsx")});
    ASSERT_EQ(files.size(), 1);
    QFile file(QDir(folder.path()).filePath(files[0]));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();

    // The archive read and written again holds the same files.
    const std::vector<spreadsheet::zip::Entry> entries = spreadsheet::zip::read(whole);
    const std::vector<spreadsheet::zip::Entry> again = spreadsheet::zip::read(spreadsheet::zip::write(entries));
    ASSERT_EQ(again.size(), entries.size());
    ASSERT_GE(entries.size(), 5u);
    for (std::size_t n = 0; n < entries.size(); ++n) {
        EXPECT_EQ(again[n].name(), entries[n].name());
        EXPECT_EQ(again[n].content(), entries[n].content());
    }

    QByteArray flipped = whole;   // a byte of the first file's packed bytes changed
    const qsizetype packed = 30 + qFromLittleEndian<quint16>(whole.constData() + 26) +
                             qFromLittleEndian<quint16>(whole.constData() + 28);
    flipped[packed + 5] = char(flipped[packed + 5] ^ 0x55);
    const struct { const char* name; QByteArray bytes; } damaged[] = {
        {"empty", QByteArray()},
        {"no zip", QByteArray(100, 'x')},
        {"cut before its directory", whole.left(whole.size() / 2)},
        {"cut inside its end record", whole.left(whole.size() - 10)},
    };
    for (const auto& d : damaged) {
        SCOPED_TRACE(d.name);
        EXPECT_THROW(spreadsheet::zip::read(d.bytes), spreadsheet::Error);
    }
    const std::vector<spreadsheet::zip::Entry> bad = spreadsheet::zip::read(flipped);
    EXPECT_THROW(bad[0].content(), spreadsheet::Error);
}

}  // namespace
