// Prepared pages saved to a PDF from the preview and read back as a reader sees them.

#include "reportengine/preview_window.h"
#include "reportengine/rows.h"
#include "tests/support/qt_printers.h"
#include "tests/support/scripted_ui.h"

#include <QDir>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace reportengine;

QString run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput());
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

TEST(PreviewPdf, AFileThatCannotBeWrittenIsReportedNotSaved) {
    testing_support::ScriptedUi ui;
    PreviewWindow preview;
    preview.setReport(prepare(twoLineLayout(), TableRows({QStringLiteral("name")}, {})));
    EXPECT_FALSE(preview.saveAsPdf(QStringLiteral("/nonexistent-folder/report.pdf")));
    ASSERT_EQ(ui.dialogs.shown().size(), 1u);
    EXPECT_EQ(ui.dialogs.shown()[0].text, QStringLiteral("Не удалось записать файл /nonexistent-folder/report.pdf"));
}

}  // namespace
