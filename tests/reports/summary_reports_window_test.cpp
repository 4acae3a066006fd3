// The summary reports window: the previous month preset on every opening, the four report
// buttons with their titles, the end date left out, the product kind as a filter, and what each
// role may use.

#include "data/dataset.h"
#include "journal/journal_window.h"
#include "reportengine/preview_window.h"
#include "reports/detailed_products_report_layout.h"
#include "reports/detailed_workers_report_layout.h"
#include "reports/production_export.h"
#include "reports/products_report_layout.h"
#include "reports/summary_reports_window.h"
#include "reports/workers_report_layout.h"
#include "tests/reports/report_fixture.h"
#include "tests/support/login.h"
#include "tests/support/process_locale.h"
#include "tests/support/test_desktop.h"
#include "tests/support/xlsx_reader.h"
#include "ui/clock.h"
#include "ui/date_picker.h"
#include "ui/radio_group.h"

#include <QAction>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <functional>

namespace {

using reportengine::PreparedReport;
using testing_support::linesOf;
using testing_support::Lines;
using testing_support::loginAs;
using testing_support::StatementLog;

const QString planning = QStringLiteral("plivar");
const QString unrestricted = QStringLiteral("9362");

class SummaryReportsWindowTest : public testing_support::ReportTest {
protected:
    SummaryReportsWindowTest() { ui::setToday(QDate(2026, 12, 8)); }

    // Logs in with `word`, opens "Сводные отчеты" from the journal and plays `inWindow` in it.
    void openReports(const QString& word, const std::function<void(TForm18&)>& inWindow) {
        loginAs(roster, ui, word, [&](TForm1& journal) { openFromJournal(journal, inWindow); });
        expectScriptPlayed();
        EXPECT_TRUE(ui.dialogs.shown().empty()) << ui.dialogs.texts().join(u'\n').toStdString();
    }

    void openFromJournal(TForm1& journal, const std::function<void(TForm18&)>& inWindow) {
        ui.modal.expect(QStringLiteral("Form18"), [&](ui::Form&) { inWindow(*roster.Form18); });
        journal.N10->trigger();
    }

    // Presses a report button and keeps the pages its preview shows.
    PreparedReport press(QPushButton* button) {
        PreparedReport shown;
        ui.modal.expect(QStringLiteral("Preview"), [&](ui::Form& form) {
            shown = static_cast<reportengine::PreviewWindow&>(form).report();
        });
        button->click();
        return shown;
    }

    static QStringList totalOf(const PreparedReport& report) {
        const Lines lines = linesOf(report.pages.at(report.pages.size() - 1));
        return lines.at(lines.size() - 2);
    }
};

TEST_F(SummaryReportsWindowTest, EveryOpeningPresetsThePreviousCalendarMonth) {
    struct Case { QDate today, from, to; };
    const std::vector<Case> cases{
        {QDate(2026, 12, 8), QDate(2026, 11, 1), QDate(2026, 12, 1)},
        {QDate(2027, 1, 15), QDate(2026, 12, 1), QDate(2027, 1, 1)},
        {QDate(2026, 3, 31), QDate(2026, 2, 1), QDate(2026, 3, 1)},
        {QDate(2026, 2, 1), QDate(2026, 1, 1), QDate(2026, 2, 1)},
    };
    loginAs(roster, ui, planning, [&](TForm1& journal) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.today.toString(Qt::ISODate).toStdString());
            ui::setToday(c.today);
            openFromJournal(journal, [&](TForm18& window) {
                EXPECT_EQ(window.DTPicker1->date(), c.from);
                EXPECT_EQ(window.DTPicker2->date(), c.to);
                window.DTPicker1->setDate(QDate(2020, 5, 5));   // forgotten at the next opening
            });
        }
    });
    expectScriptPlayed();
}

TEST_F(SummaryReportsWindowTest, EachButtonPreviewsItsReportOverThePeriodTitledWithTheDates) {
    fillNovember();
    struct Case {
        QPushButton* button;
        QString prefix;
        data::Dataset* dataset;
        QStringList total;
    };
    StatementLog log(dm->ADO_DB);
    openReports(planning, [&](TForm18& window) {
        const std::vector<Case> cases{
            {window.Button4, QStringLiteral("   Отчет по рабочим за период с "), &roster.Form16->t_Report,
             {QStringLiteral("Итого:"), QStringLiteral("32.88")}},
            {window.Button2, QStringLiteral("   Отчет по продукции за период с "), &roster.Form17->t_Report,
             {QStringLiteral("Итого:"), QStringLiteral("27"), QStringLiteral("23")}},
            {window.Button1, QStringLiteral("   Детальный отчет по рабочим за период с "), &roster.Form20->w_Report,
             {QStringLiteral("Итого:"), QStringLiteral("1"), QStringLiteral("24"), QStringLiteral("32.88")}},
            {window.Button3, QStringLiteral("   Детальный отчет по продукции за период с "), &roster.Form21->i_Report,
             {QStringLiteral("Итого:"), QStringLiteral("1"), QStringLiteral("27.75"), QStringLiteral("24"), QStringLiteral("32.88")}},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.prefix.toStdString());
            const PreparedReport report = press(c.button);
            ASSERT_FALSE(report.pages.empty());
            EXPECT_EQ(linesOf(report.pages[0]).front(), QStringList{c.prefix + QStringLiteral("01.11.2026 по 01.12.2026")});
            EXPECT_EQ(totalOf(report), c.total);
            EXPECT_EQ(report.zoom, reportengine::Zoom::FitWidth);
            EXPECT_FALSE(c.dataset->isOpen());
        }
    });
    int reads = 0;
    for (const data::Statement& s : log.statements()) {
        if (!s.text.contains(QLatin1String("smena.data<:data2"))) continue;
        ++reads;
        EXPECT_EQ(s.param(QStringLiteral("data1")).toDate(), QDate(2026, 11, 1));
        EXPECT_EQ(s.param(QStringLiteral("data2")).toDate(), QDate(2026, 12, 1));
    }
    EXPECT_EQ(reads, 4);
}

TEST_F(SummaryReportsWindowTest, TheEndDateIsLeftOutAndTheStartDateKept) {
    fillNovember();
    openReports(planning, [&](TForm18& window) {
        window.DTPicker1->setDate(QDate(2026, 11, 1));   // Петров's 1 November counts
        window.DTPicker2->setDate(QDate(2026, 11, 30));  // Иванов's 30 November does not
        const PreparedReport report = press(window.Button1);
        EXPECT_EQ(totalOf(report), (QStringList{QStringLiteral("Итого:"), QStringLiteral("1"), QStringLiteral("21"),
                                                QStringLiteral("32.50")}));
        EXPECT_EQ(linesOf(report.pages[0]).front(),
                  QStringList{QStringLiteral("   Детальный отчет по рабочим за период с 01.11.2026 по 30.11.2026")});
    });
}

TEST_F(SummaryReportsWindowTest, TheChosenProductKindNarrowsTheReportAndAllShowsEveryRow) {
    fillNovember();
    openReports(unrestricted, [&](TForm18& window) {
        window.RadioGroup1->setItemIndex(2);
        EXPECT_EQ(totalOf(press(window.Button2)), (QStringList{QStringLiteral("Итого:"), QStringLiteral("8"), QStringLiteral("6")}));
        window.RadioGroup1->setItemIndex(1);
        EXPECT_EQ(totalOf(press(window.Button2)), (QStringList{QStringLiteral("Итого:"), QStringLiteral("19"), QStringLiteral("17")}));
        window.RadioGroup1->setItemIndex(0);
        EXPECT_EQ(totalOf(press(window.Button2)), (QStringList{QStringLiteral("Итого:"), QStringLiteral("27"), QStringLiteral("23")}));
    });
}

// The production export: one row per product group, operation, product kind and colour, the
// colour named after the operation, the mass in its general form and the good pieces.
TEST_F(SummaryReportsWindowTest, TheProductionExportWritesTheKindsRowsToAWorkbook) {
    fillNovember();
    testing_support::TestDesktop desktop;
    openReports(unrestricted, [&](TForm18& window) {
        window.RadioGroup1->setItemIndex(2);   // blanks
        window.Button6->click();
        EXPECT_EQ(window.Button6->text(), QStringLiteral("Excel (2 из 2)"));
        EXPECT_FALSE(window.XLS_Rep.isOpen());
    });
    ASSERT_EQ(desktop.files().size(), 1);
    const testing_support::XlsxSheet sheet = testing_support::readXlsx(desktop.files()[0]).at(0);
    ASSERT_EQ(sheet.rowCount(), 3);
    const auto rowText = [&](int row) {
        QStringList cells;
        for (int column = 1; column <= 5; ++column) cells << sheet.text(row, column);
        return cells.join(u'|');
    };
    EXPECT_EQ(rowText(1), QStringLiteral("Наименование|Операция|Вид продукции|Коробки|Кол-во"));
    QStringList rows{rowText(2), rowText(3)};
    rows.sort();   // one product group: the statement leaves the order within it open
    EXPECT_EQ(rows, (QStringList{QStringLiteral("Группа А|Покраска (грунт)|Заготовки|5|4"),
                                 QStringLiteral("Группа А|Покраска (цвет: 12)|Заготовки|2.5|2")}));
    EXPECT_TRUE(sheet.at(2, 4)->number && sheet.at(2, 5)->number);
}

// Under the C locale and the department's: group and kind names are text exactly as stored,
// however much they look like numbers, and the boxes stand in the file as the exact decimal of
// the mark's factor times the pieces (0.838 × 10 is 8.38, not 8.380000000000001).
TEST_F(SummaryReportsWindowTest, TheProductionExportWritesNamesAsTextAndBoxesAsExactDecimalsUnderEveryLocale) {
    const int worker = fixtures.worker(QStringLiteral("Иванов И.И."));
    const struct { const char* group; const char* kind; double massa; int pieces; const char* boxes; } cases[] = {
        {"007", "Сборка", 0.838, 10, "8.38"},
        {"12.50", "1E5", 279.5, 1, "279.5"},
        {" 42", "-3", 0.000001, 3, "0.000003"},
        {"1E5", "12.50", 1234567.125, 2, "2469134.25"},
    };
    int n = 0;
    for (const auto& c : cases) {
        const qint64 product = fixtures.product(QStringLiteral("ШК-%1").arg(++n), c.massa,
                                                fixtures.group(QString::fromUtf8(c.group)));
        const int oper = fixtures.oper(fixtures.kind(QString::fromUtf8(c.kind)), product, 0);
        fixtures.record({.worker = worker, .product = product, .oper = oper, .day = QDate(2026, 11, 10),
                         .kolvo = c.pieces, .cena = 1});
    }
    QStringList expected;
    for (const auto& c : cases)
        expected << QString::fromUtf8(c.group) + u'|' + QString::fromUtf8(c.kind) + QStringLiteral("|Готовая продукция|") +
                        QString::fromLatin1(c.boxes) + u'|' + QString::number(c.pieces);
    expected.sort();
    for (const char* locale : testing_support::exportLocales) {
        SCOPED_TRACE(locale);
        const testing_support::ProcessLocale running(locale);
        testing_support::TestDesktop desktop;
        openReports(unrestricted, [&](TForm18& window) { window.Button6->click(); });
        ASSERT_EQ(desktop.files().size(), 1);
        const std::vector<testing_support::XlsxSheet> sheets = testing_support::readXlsx(desktop.files()[0]);
        ASSERT_EQ(sheets.size(), 1u);
        const testing_support::XlsxSheet& sheet = sheets[0];
        QStringList rows;
        for (int row = 2; row <= sheet.rowCount(); ++row) {
            QStringList cells;
            for (int column = 1; column <= 5; ++column) {
                ASSERT_NE(sheet.at(row, column), nullptr) << row << "/" << column;
                EXPECT_EQ(sheet.at(row, column)->number, column >= 4) << row << "/" << column;
                cells << sheet.text(row, column);
            }
            rows << cells.join(u'|');
        }
        rows.sort();
        EXPECT_EQ(rows, expected);
    }
}

TEST_F(SummaryReportsWindowTest, AnEmptyPeriodExportsTheHeaderOnly) {
    testing_support::TestDesktop desktop;
    openReports(unrestricted, [&](TForm18& window) {
        window.Button6->click();
        EXPECT_EQ(window.Button6->text(), QStringLiteral("Excel (0 из 0)"));
    });
    ASSERT_EQ(desktop.files().size(), 1);
    EXPECT_EQ(testing_support::readXlsx(desktop.files()[0]).at(0).rowCount(), 1);
}

TEST(ProductionExport, NamesTheColourAfterTheOperation) {
    EXPECT_EQ(reports::operationWithColour(QStringLiteral("Покраска"), 0), QStringLiteral("Покраска"));
    EXPECT_EQ(reports::operationWithColour(QStringLiteral("Покраска"), -3), QStringLiteral("Покраска"));
    EXPECT_EQ(reports::operationWithColour(QStringLiteral("Покраска"), 1), QStringLiteral("Покраска (грунт)"));
    EXPECT_EQ(reports::operationWithColour(QStringLiteral("Покраска"), 7), QStringLiteral("Покраска (цвет: 7)"));
}

TEST_F(SummaryReportsWindowTest, TheReportPrintsToPdfFromItsPreview) {
    fillNovember();
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    openReports(planning, [&](TForm18& window) {
        ui.modal.expect(QStringLiteral("Preview"), [&](ui::Form& form) {
            EXPECT_TRUE(static_cast<reportengine::PreviewWindow&>(form).saveAsPdf(pdf));
        });
        window.Button4->click();
    });
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    text.waitForFinished();
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    for (const QString& expected : {QStringLiteral("Отчет по рабочим за период с 01.11.2026 по 01.12.2026"),
                                    QStringLiteral("Иванов И.И."), QStringLiteral("Группа Б"),
                                    QStringLiteral("(RAL: 12)"), QStringLiteral("27.88"), QStringLiteral("Итого:"),
                                    QStringLiteral("32.88")})
        EXPECT_TRUE(printed.contains(expected)) << expected.toStdString() << "\n" << printed.toStdString();
}

struct RoleCase {
    const char* word;
    bool allReports;      // Button1, Button2, Button4, Button6
    int fixedKind;        // -1: the kind is free to choose
};

class SummaryReportsRoleTest : public SummaryReportsWindowTest,
                               public ::testing::WithParamInterface<RoleCase> {};

TEST_P(SummaryReportsRoleTest, TheRoleDecidesWhatTheWindowOffers) {
    fillNovember();
    const RoleCase role = GetParam();
    openReports(QString::fromLatin1(role.word), [&](TForm18& window) {
        for (QPushButton* button : {window.Button1, window.Button2, window.Button4, window.Button6})
            EXPECT_EQ(button->isEnabled(), role.allReports) << button->objectName().toStdString();
        EXPECT_TRUE(window.Button3->isEnabled());
        EXPECT_TRUE(window.Button5->isEnabled());
        EXPECT_EQ(window.RadioGroup1->isEnabled(), role.fixedKind < 0);
        if (role.fixedKind >= 0) {
            EXPECT_EQ(window.RadioGroup1->itemIndex(), role.fixedKind);
        }
        const QStringList expected =
            role.fixedKind == 1
                ? QStringList{QStringLiteral("Итого:"), QStringLiteral("1"), QStringLiteral("20.25"), QStringLiteral("18"), QStringLiteral("17.88")}
                : QStringList{QStringLiteral("Итого:"), QStringLiteral("1"), QStringLiteral("27.75"), QStringLiteral("24"), QStringLiteral("32.88")};
        EXPECT_EQ(totalOf(press(window.Button3)), expected);
    });
}

INSTANTIATE_TEST_SUITE_P(Roles, SummaryReportsRoleTest,
                         ::testing::Values(RoleCase{"plivar", true, -1}, RoleCase{"brunzel", false, -1},
                                           RoleCase{"tovik", false, 1}, RoleCase{"61730482", true, -1}));

}  // namespace
