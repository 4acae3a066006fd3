// Prepared pages saved to a PDF or printed from the preview, the PDF read back as a reader sees it,
// and every way a folder, a disk or a printer can refuse them told once, naming the cause.

#include "reportengine/painter.h"
#include "reportengine/preview_window.h"
#include "reportengine/rows.h"
#include "tests/support/disk_faults.h"
#include "tests/support/qt_printers.h"
#include "tests/support/scripted_ui.h"

#include <QDir>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

using namespace reportengine;

QString run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput());
}

void writeText(const QString& path, const QString& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}

QString readText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

int pdfPages(const QString& path) {
    for (const QString& line : run(QStringLiteral("pdfinfo"), {path}).split(u'\n'))
        if (line.startsWith(QLatin1String("Pages:"))) return line.mid(6).trimmed().toInt();
    return -1;
}

Layout twoLineLayout() {
    Layout layout;
    layout.page.landscape = true;
    Group heading;
    heading.header = Band{QStringLiteral("head"), Band::Kind::GroupHeader, 10};
    heading.header.elements.push_back(label(QStringLiteral("caption"), 0, 100, QStringLiteral("Табель за месяц"), Align::Left, {12, true}));
    heading.repeatOnEveryPage = true;
    layout.groups.push_back(heading);
    layout.detail = Band{QStringLiteral("row"), Band::Kind::Detail, 9};
    layout.detail.elements.push_back(field(QStringLiteral("name"), 0, 100, QStringLiteral("name")));
    layout.detail.lineBelow = true;
    Band footer{QStringLiteral("foot"), Band::Kind::PageFooter, 8};
    footer.elements.push_back(pageNumber(QStringLiteral("page"), 250, 27));
    layout.pageFooter = footer;
    return layout;
}

TEST(PreviewPdf, SavesEveryPreparedPageWithItsText) {
    testing_support::ScriptedUi ui;
    std::vector<QVariantList> rows;
    for (int i = 1; i <= 25; ++i) rows.push_back({QStringLiteral("Работник %1").arg(i)});
    PreviewWindow preview;
    preview.setReport(prepare(twoLineLayout(), TableRows({QStringLiteral("name")}, rows)));
    EXPECT_TRUE(preview.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(preview.Preview->zoomMode(), QPrintPreviewWidget::FitInView);
    ASSERT_EQ(preview.report().pages.size(), 2u);   // 182 mm of body: a 10 mm heading and 19 rows

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.pdf"));
    ASSERT_TRUE(preview.saveAsPdf(path));
    EXPECT_EQ(pdfPages(path), 2);
    const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    const QStringList pages = text.split(u'\f', Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), 2);
    for (const QString& page : pages.mid(0, 2)) EXPECT_TRUE(page.contains(QStringLiteral("Табель за месяц"))) << page.toStdString();
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Работник 19")));
    EXPECT_FALSE(pages[0].contains(QStringLiteral("Работник 20"))) << pages[0].toStdString();
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Работник 25")));
    EXPECT_TRUE(ui.dialogs.shown().empty());
}

// A folder or a disk that refuses the PDF: made before the save and undone after it. `reason` is
// what the message must say of it; `oldFile`, whether a file of the name is there before.
struct PdfFault {
    const char* name;
    std::function<void(const QString& folder, const QString& path)> make;
    std::function<void(const QString& folder, const QString& path)> undo;
    const char* reason;
    bool oldFile = false;
    std::function<bool()> possible = {};   // empty: the fault can always be made
};

const PdfFault pdfFaults[] = {
    {"NoSuchFolder", [](const QString&, const QString&) {},
     [](const QString& folder, const QString&) { ASSERT_TRUE(QDir().mkpath(folder)); }, "такой папки нет"},
    {"ReadOnlyFolder",
     [](const QString& folder, const QString&) {
         ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                                       QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther));
         testing_support::actAsNobody();
     },
     [](const QString& folder, const QString&) {
         testing_support::actAsItself();
         ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                       QFile::ReadOther | QFile::ExeOther));
     },
     "нет права записи в эту папку", true},
    {"AFolderOfTheName", [](const QString&, const QString& path) { ASSERT_TRUE(QDir().mkpath(path)); },
     [](const QString&, const QString& path) { ASSERT_TRUE(QDir().rmdir(path)); }, "под этим именем уже есть папка"},
    {"FileSystemFullWhileWriting", [](const QString&, const QString&) { testing_support::limitFileSize(); },
     [](const QString&, const QString&) { testing_support::liftFileSizeLimit(); }, "файл слишком велик для этого диска",
     true},
    {"DiskFull",
     [](const QString& folder, const QString& path) {
         ASSERT_TRUE(testing_support::mountFullDisk(folder));
         writeText(path, QStringLiteral("прошлый отчёт"));
     },
     [](const QString& folder, const QString&) { ASSERT_TRUE(testing_support::unmount(folder)); }, "на диске нет места",
     true, testing_support::canMount},
};

void PrintTo(const PdfFault& fault, std::ostream* os) { *os << fault.name; }

class PdfFaultTest : public ::testing::TestWithParam<PdfFault> {};

// One message naming the file and the reason in Russian; no new file, nothing half written left
// in the folder, a file of the name as it was; and the same save working once the fault is gone.
TEST_P(PdfFaultTest, OneMessageNamingTheFileAndTheReasonAndNothingHalfWritten) {
    const PdfFault& fault = GetParam();
    if (fault.possible && !fault.possible()) GTEST_SKIP() << "this user may not mount a file system";
    testing_support::ScriptedUi ui;
    PreviewWindow preview;
    preview.setReport(prepare(twoLineLayout(), TableRows({QStringLiteral("name")}, {{QStringLiteral("Иванов И.И.")}})));
    QTemporaryDir root;
    // Readable by all, so that the user the test acts as in a fault of permissions sees what is left.
    ASSERT_TRUE(QFile::setPermissions(root.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                       QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                                       QFile::ExeOther));
    const QString folder = root.filePath(QStringLiteral("Отчёты"));
    const QString path = folder + QStringLiteral("/табель.pdf");
    if (fault.oldFile) {
        ASSERT_TRUE(QDir().mkpath(folder));
        writeText(path, QStringLiteral("прошлый отчёт"));
    }

    fault.make(folder, path);
    const bool saved = preview.saveAsPdf(path);
    const QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    const QString kept = fault.oldFile ? readText(path) : QString();
    fault.undo(folder, path);

    EXPECT_FALSE(saved);
    ASSERT_EQ(ui.dialogs.shown().size(), 1u);
    EXPECT_EQ(ui.dialogs.shown()[0].text, QStringLiteral("Не удалось записать файл %1: %2").arg(path, QString::fromUtf8(fault.reason)));
    EXPECT_EQ(ui.dialogs.shown()[0].caption, QStringLiteral("Ошибка"));
    EXPECT_EQ(left, fault.oldFile ? QStringList{QStringLiteral("табель.pdf")} : QStringList());
    if (fault.oldFile) EXPECT_EQ(kept, QStringLiteral("прошлый отчёт"));

    ui.dialogs.clear();
    EXPECT_TRUE(preview.saveAsPdf(path));
    EXPECT_TRUE(ui.dialogs.shown().empty());
    EXPECT_EQ(pdfPages(path), 1);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList{QStringLiteral("табель.pdf")});
}

INSTANTIATE_TEST_SUITE_P(Faults, PdfFaultTest, ::testing::ValuesIn(pdfFaults),
                         [](const ::testing::TestParamInfo<PdfFault>& info) { return std::string(info.param.name); });

// The print dialog's printer that prints to a file makes the same whole PDF, and tells the same
// refusal; a printer that does not take the job is told, never taken for printed.
TEST(PreviewPrint, APrinterThatPrintsToAFileWritesTheWholePdfOrTellsWhy) {
    testing_support::ScriptedUi ui;
    PreviewWindow preview;
    std::vector<QVariantList> rows;
    for (int i = 1; i <= 25; ++i) rows.push_back({QStringLiteral("Работник %1").arg(i)});
    preview.setReport(prepare(twoLineLayout(), TableRows({QStringLiteral("name")}, rows)));
    QTemporaryDir dir;

    QPrinter toFile(QPrinter::HighResolution);
    toFile.setOutputFormat(QPrinter::PdfFormat);
    toFile.setOutputFileName(dir.filePath(QStringLiteral("нет/отчёт.pdf")));
    EXPECT_FALSE(preview.printOn(toFile));
    ASSERT_EQ(ui.dialogs.shown().size(), 1u);
    EXPECT_EQ(ui.dialogs.shown()[0].text,
              QStringLiteral("Не удалось записать файл %1: такой папки нет").arg(dir.filePath(QStringLiteral("нет/отчёт.pdf"))));

    ui.dialogs.clear();
    toFile.setOutputFileName(dir.filePath(QStringLiteral("отчёт.pdf")));
    EXPECT_TRUE(preview.printOn(toFile));
    EXPECT_TRUE(ui.dialogs.shown().empty());
    EXPECT_EQ(pdfPages(dir.filePath(QStringLiteral("отчёт.pdf"))), 2);
}

TEST(PreviewPrint, APrinterThatDoesNotTakeTheJobIsToldNotTakenForPrinted) {
    const PreparedReport report = prepare(twoLineLayout(), TableRows({QStringLiteral("name")}, {{QStringLiteral("Иванов И.И.")}}));
    QPrinter refusing(QPrinter::HighResolution);
    refusing.setOutputFormat(QPrinter::PdfFormat);
    refusing.setOutputFileName(QStringLiteral("/nonexistent-folder/report.pdf"));
    setUpPrinter(report, refusing);
    try {
        print(report, refusing);
        ADD_FAILURE() << "a printer that took nothing was reported as printing";
    } catch (const OutputError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Не удалось напечатать отчёт: принтер не принял задание"));
    }
}

}  // namespace
