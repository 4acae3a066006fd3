// The printed timesheet: its dataset, the month caption, the header on every page, the total of
// a row with empty days, the fit between the margins, and the PDF saved from the preview.

#include "data/data_module.h"
#include "journal/journal_window.h"
#include "reportengine/preview_window.h"
#include "tests/support/login.h"
#include "tests/support/program_fixture.h"
#include "timesheet/timesheet_print_layout.h"
#include "timesheet/timesheet_rebuild.h"
#include "timesheet/timesheet_window.h"
#include "ui/clock.h"
#include "ui/date_picker.h"

#include <QAction>
#include <QComboBox>
#include <QProcess>
#include <QRegularExpression>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <algorithm>

namespace {

using testing_support::exec;
using testing_support::Fixtures;
using testing_support::loginAs;
using testing_support::ProgramTest;
using testing_support::StatementLog;
using reportengine::PreparedReport;

class TimesheetPrintTest : public ProgramTest {
protected:
    TimesheetPrintTest() { ui::setToday(QDate(2026, 12, 8)); }

    void record(int worker, const QDate& day, int shift, int hours) {
        fixtures.record({.worker = worker, .product = basics.product, .oper = basics.oper, .day = day,
                         .shift = shift, .color = nextColor++, .time = hours});
    }

    // Presses "Печать" on the timesheet of November 2026 and keeps the pages the preview shows.
    PreparedReport printNovember(const QString& pdfPath = {}) {
        PreparedReport shown;
        loginAs(roster, ui, QStringLiteral("61730482"), [&](TForm1& journal) {
            journal.DateT->setDate(QDate(2026, 11, 20));
            ui.modal.expect(QStringLiteral("Form19"), [&](ui::Form&) {
                ui.modal.expect(QStringLiteral("Preview"), [&](ui::Form& form) {
                    auto& preview = static_cast<reportengine::PreviewWindow&>(form);
                    shown = preview.report();
                    if (!pdfPath.isEmpty()) EXPECT_TRUE(preview.saveAsPdf(pdfPath));
                });
                roster.Form19->Button6->click();
            });
            journal.N11->trigger();
        });
        expectScriptPlayed();
        EXPECT_FALSE(roster.Form15->H_Tabel.isOpen());
        return shown;
    }

    Fixtures::Basics basics = fixtures.basics();
    int nextColor = 0;
};

QStringList headerTexts() {
    QStringList texts{QStringLiteral("Ноябрь 2026 г.")};
    for (int day = 1; day <= 31; ++day) texts << QString::number(day);
    return texts << QStringLiteral("Итого");
}

TEST_F(TimesheetPrintTest, PrintsEveryShiftsHoursPerNameWithTheTotalOfTheFilledDays) {
    const int other = fixtures.worker(QStringLiteral("Петров П.П."));
    record(basics.worker, QDate(2026, 11, 2), 1, 8);
    record(basics.worker, QDate(2026, 11, 2), 2, 2);
    record(basics.worker, QDate(2026, 11, 3), 4, 3);   // overtime is printed too
    record(other, QDate(2026, 11, 30), 3, 9);
    timesheet::rebuildMonth(*dm, roster.Form19->dt, 11, QStringLiteral("2026"));

    StatementLog log(dm->ADO_DB);
    const PreparedReport report = printNovember();
    ASSERT_EQ(report.pages.size(), 1u);
    QStringList expected = headerTexts();
    QStringList ivanov{QStringLiteral("Иванов И.И."), QString(), QStringLiteral("10"), QStringLiteral("3")};
    while (ivanov.size() < 32) ivanov << QString();
    QStringList petrov{QStringLiteral("Петров П.П.")};
    while (petrov.size() < 30) petrov << QString();
    petrov << QStringLiteral("9") << QString();
    expected << ivanov << QStringLiteral("13") << petrov << QStringLiteral("9") << QStringLiteral("1");
    EXPECT_EQ(report.pages[0].texts(), expected);

    const auto print = *std::find_if(log.statements().begin(), log.statements().end(), [](const data::Statement& s) {
        return s.text.contains(QLatin1String("sum(d1) as sd1"));
    });
    QString sums;
    for (int d = 1; d <= 31; ++d) sums += QStringLiteral(",sum(d%1) as sd%1").arg(d);
    EXPECT_EQ(print.text, "select person.s_caption fio" + sums +
                              " from accounts_dep.h_tabel, cmn_contractor.person person where\n"
                              "h_tabel.w_id=person.s_code::t_integer and month=:mnth and\n"
                              "year=:yea group by fio order by fio");
    EXPECT_EQ(print.param(QStringLiteral("mnth")).toInt(), 11);
    EXPECT_EQ(print.param(QStringLiteral("yea")).toInt(), 2026);
}

TEST_F(TimesheetPrintTest, AnEmptyMonthStillPrintsItsHeader) {
    const PreparedReport report = printNovember();
    ASSERT_EQ(report.pages.size(), 1u);
    EXPECT_EQ(report.pages[0].texts(), headerTexts() << QStringLiteral("1"));
    EXPECT_TRUE(report.page.landscape);
    EXPECT_EQ(report.zoom, reportengine::Zoom::FitPage);
}

TEST_F(TimesheetPrintTest, ALongMonthRepeatsTheHeaderOnEveryPageAndFitsBetweenTheMargins) {
    exec(dm->ADO_DB, QStringLiteral(
        "insert into accounts_dep.person (fio, s_staffpos_hl) select 'Работник ' || lpad(g::text, 2, '0') || "
        "' с очень длинной фамилией и инициалами', 'Цех' from generate_series(1, 80) g"));
    exec(dm->ADO_DB, QStringLiteral(
        "insert into accounts_dep.h_tabel (w_id, smena, month, year, d1, d31) "
        "select id, 1, 11, 2026, 8, 12 from accounts_dep.person where fio like 'Работник%'"));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("timesheet.pdf"));
    const PreparedReport report = printNovember(pdf);
    ASSERT_EQ(report.pages.size(), 3u);   // 35 rows under the header on a page
    int rows = 0;
    for (size_t p = 0; p < report.pages.size(); ++p) {
        const QStringList texts = report.pages[p].texts();
        EXPECT_EQ(texts.mid(0, 33), headerTexts());
        EXPECT_EQ(texts.last(), QString::number(p + 1));
        for (const reportengine::PlacedItem& item : report.pages[p].items) {
            EXPECT_GE(item.rect.left(), 10 - 1e-9);
            EXPECT_LE(item.rect.right(), 287 + 1e-9) << item.name.toStdString();
            EXPECT_LE(item.rect.bottom(), 200 + 1e-9);
            if (item.name == QLatin1String("summ")) {
                ++rows;
                EXPECT_EQ(item.text, QStringLiteral("20"));
            }
        }
    }
    EXPECT_EQ(rows, 80);

    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    info.waitForFinished();
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+3\\n")));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    text.waitForFinished();
    const QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split(u'\f', Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 3);
    for (const QString& page : pages) {
        EXPECT_TRUE(page.contains(QStringLiteral("Ноябрь 2026 г."))) << page.toStdString();
        EXPECT_TRUE(page.contains(QStringLiteral("Итого")));
    }
    EXPECT_TRUE(pages[2].contains(QStringLiteral("Работник 80")));
}

}  // namespace
