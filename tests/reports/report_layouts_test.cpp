// The four period reports on real prepared pages: groups in order, subtotals that restart,
// the grand total, masks, the colour and kind expressions, the product-kind filter, an empty
// period, and the page set-up.

#include "reportengine/rows.h"
#include "reports/detailed_products_report_layout.h"
#include "reports/detailed_workers_report_layout.h"
#include "reports/period_report_bands.h"
#include "reports/products_report_layout.h"
#include "reports/workers_report_layout.h"
#include "tests/reports/report_fixture.h"

#include <gtest/gtest.h>

namespace {

using reportengine::PreparedReport;
using reports::ReportRequest;
using testing_support::Lines;
using testing_support::linesOf;
using testing_support::sortedWithin;

const QString title = QStringLiteral("   Отчет за период");

ReportRequest november(int productKind = reports::AllKinds) {
    return ReportRequest{QDate(2026, 11, 1), QDate(2026, 12, 1), productKind, title};
}

class ReportLayoutTest : public testing_support::ReportTest {
protected:
    PeriodReportForm& layout(const QString& name) {
        if (name == QLatin1String("Form16")) return *roster.Form16;
        if (name == QLatin1String("Form17")) return *roster.Form17;
        if (name == QLatin1String("Form20")) return *roster.Form20;
        return *roster.Form21;
    }
};

TEST_F(ReportLayoutTest, ByWorkersGroupsWorkerThenProductGroupWithSubtotalsThatRestart) {
    fillNovember();
    const PreparedReport report = roster.Form16->preparePeriod(november());
    EXPECT_FALSE(roster.Form16->t_Report.isOpen());
    ASSERT_EQ(report.pages.size(), 1u);
    const Lines expected{
        {title},
        {QStringLiteral("Иванов И.И.")},
        {QStringLiteral("Группа А")},
        {QStringLiteral("Готовая продукция"), QStringLiteral("Сборка"), QStringLiteral(" "), QStringLiteral("14"), QStringLiteral("17.500")},
        {QStringLiteral("Заготовки"), QStringLiteral("Покраска"), QStringLiteral(" (грунт)"), QStringLiteral("4"), QStringLiteral("10.000")},
        {QStringLiteral("18"), QStringLiteral("27.500")},
        {QStringLiteral("Группа Б")},
        {QStringLiteral("Готовая продукция"), QStringLiteral("Сборка"), QStringLiteral(" (RAL: 12)"), QStringLiteral("3"), QStringLiteral("0.375")},
        {QStringLiteral("3"), QStringLiteral("0.375")},
        {QStringLiteral("27.88")},
        {QStringLiteral("Петров П.П.")},
        {QStringLiteral("Группа А")},
        {QStringLiteral("Заготовки"), QStringLiteral("Покраска"), QStringLiteral(" (RAL: 12)"), QStringLiteral("2"), QStringLiteral("5.000")},
        {QStringLiteral("2"), QStringLiteral("5.000")},
        {QStringLiteral("5.00")},
        {QStringLiteral("Итого:"), QStringLiteral("32.88")},
        {QStringLiteral("1")},
    };
    // The statement orders by worker and group only.
    EXPECT_EQ(sortedWithin(linesOf(report.pages[0]), 3, 5), sortedWithin(expected, 3, 5));
}

TEST_F(ReportLayoutTest, ByProductsSumsBoxesOfGoodPiecesPerGroup) {
    fillNovember();
    const PreparedReport report = roster.Form17->preparePeriod(november());
    ASSERT_EQ(report.pages.size(), 1u);
    const Lines expected{
        {title},
        {QStringLiteral("Коробки"), QStringLiteral("Количество")},
        {QStringLiteral("Группа А")},
        {QStringLiteral("Готовая продукция"), QStringLiteral("Сборка"), QStringLiteral(" "), QStringLiteral("17.5"), QStringLiteral("14")},
        {QStringLiteral("Заготовки"), QStringLiteral("Покраска"), QStringLiteral(" (RAL: 12)"), QStringLiteral("2.5"), QStringLiteral("2")},
        {QStringLiteral("Заготовки"), QStringLiteral("Покраска"), QStringLiteral(" (грунт)"), QStringLiteral("5"), QStringLiteral("4")},
        {QStringLiteral("25"), QStringLiteral("20")},
        {QStringLiteral("Группа Б")},
        {QStringLiteral("Готовая продукция"), QStringLiteral("Сборка"), QStringLiteral(" (RAL: 12)"), QStringLiteral("1.5"), QStringLiteral("3")},
        {QStringLiteral("1.5"), QStringLiteral("3")},
        {QStringLiteral("Итого:"), QStringLiteral("27"), QStringLiteral("23")},   // 26.5 boxes, "#0"
        {QStringLiteral("1")},
    };
    EXPECT_EQ(sortedWithin(linesOf(report.pages[0]), 3, 6), sortedWithin(expected, 3, 6));
}

TEST_F(ReportLayoutTest, DetailedByWorkersShowsAllPiecesWithDefectsApart) {
    fillNovember();
    const PreparedReport report = roster.Form20->preparePeriod(november());
    ASSERT_EQ(report.pages.size(), 1u);
    const Lines expected{
        {title},
        {QStringLiteral("Брак"), QStringLiteral("Количество"), QStringLiteral("Сумма")},
        {QStringLiteral("Иванов И.И.")},
        {QStringLiteral("ШК-120"), QStringLiteral("Покраска"), QStringLiteral("1"), QStringLiteral("Заготовки"), QStringLiteral("0"), QStringLiteral("4"), QStringLiteral("10.00")},
        {QStringLiteral("ШК-120"), QStringLiteral("Сборка"), QStringLiteral("0"), QStringLiteral("Готовая продукция"), QStringLiteral("1"), QStringLiteral("15"), QStringLiteral("17.50")},
        {QStringLiteral("ШК-200"), QStringLiteral("Сборка"), QStringLiteral("12"), QStringLiteral("Готовая продукция"), QStringLiteral("0"), QStringLiteral("3"), QStringLiteral("0.38")},
        {QStringLiteral("1"), QStringLiteral("22"), QStringLiteral("27.88")},
        {QStringLiteral("Петров П.П.")},
        {QStringLiteral("ШК-120"), QStringLiteral("Покраска"), QStringLiteral("12"), QStringLiteral("Заготовки"), QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("5.00")},
        {QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("5.00")},
        {QStringLiteral("Итого:"), QStringLiteral("1"), QStringLiteral("24"), QStringLiteral("32.88")},
        {QStringLiteral("1")},
    };
    EXPECT_EQ(linesOf(report.pages[0]), expected);
}

TEST_F(ReportLayoutTest, DetailedByProductsCountsBoxesOfAllPiecesPerMark) {
    fillNovember();
    const PreparedReport report = roster.Form21->preparePeriod(november());
    ASSERT_EQ(report.pages.size(), 1u);
    const Lines expected{
        {title},
        {QStringLiteral("Брак"), QStringLiteral("Коробки"), QStringLiteral("Кол-во"), QStringLiteral("Сумма")},
        {QStringLiteral("Группа А")},
        {QStringLiteral("ШК-120"), QStringLiteral("Покраска"), QStringLiteral("1"), QStringLiteral("Заготовки"), QStringLiteral("0"), QStringLiteral("5"), QStringLiteral("4"), QStringLiteral("10.000")},
        {QStringLiteral("ШК-120"), QStringLiteral("Покраска"), QStringLiteral("12"), QStringLiteral("Заготовки"), QStringLiteral("0"), QStringLiteral("2.5"), QStringLiteral("2"), QStringLiteral("5.000")},
        {QStringLiteral("ШК-120"), QStringLiteral("Сборка"), QStringLiteral("0"), QStringLiteral("Готовая продукция"), QStringLiteral("1"), QStringLiteral("18.75"), QStringLiteral("15"), QStringLiteral("17.500")},
        {QStringLiteral("1"), QStringLiteral("26.25"), QStringLiteral("21"), QStringLiteral("32.50")},
        {QStringLiteral("Группа Б")},
        {QStringLiteral("ШК-200"), QStringLiteral("Сборка"), QStringLiteral("12"), QStringLiteral("Готовая продукция"), QStringLiteral("0"), QStringLiteral("1.5"), QStringLiteral("3"), QStringLiteral("0.375")},
        {QStringLiteral("0"), QStringLiteral("1.50"), QStringLiteral("3"), QStringLiteral("0.38")},
        {QStringLiteral("Итого:"), QStringLiteral("1"), QStringLiteral("27.75"), QStringLiteral("24"), QStringLiteral("32.88")},
        {QStringLiteral("1")},
    };
    // Two colours of one mark and operation are not ordered by the statement.
    EXPECT_EQ(sortedWithin(linesOf(report.pages[0]), 3, 5), sortedWithin(expected, 3, 5));
}

struct KindCase {
    const char* layout;
    int productKind;
    QStringList total;
};

TEST_F(ReportLayoutTest, TheProductKindFilterHidesRowsBeforeTheSumsAreFormed) {
    fillNovember();
    const std::vector<KindCase> cases{
        {"Form16", reports::FinishedProducts, {QStringLiteral("Итого:"), QStringLiteral("17.88")}},
        {"Form16", reports::Blanks, {QStringLiteral("Итого:"), QStringLiteral("15.00")}},
        {"Form17", reports::FinishedProducts, {QStringLiteral("Итого:"), QStringLiteral("19"), QStringLiteral("17")}},
        {"Form17", reports::Blanks, {QStringLiteral("Итого:"), QStringLiteral("8"), QStringLiteral("6")}},
        {"Form20", reports::FinishedProducts, {QStringLiteral("Итого:"), QStringLiteral("1"), QStringLiteral("18"), QStringLiteral("17.88")}},
        {"Form20", reports::Blanks, {QStringLiteral("Итого:"), QStringLiteral("0"), QStringLiteral("6"), QStringLiteral("15.00")}},
        {"Form21", reports::FinishedProducts, {QStringLiteral("Итого:"), QStringLiteral("1"), QStringLiteral("20.25"), QStringLiteral("18"), QStringLiteral("17.88")}},
        {"Form21", reports::Blanks, {QStringLiteral("Итого:"), QStringLiteral("0"), QStringLiteral("7.5"), QStringLiteral("6"), QStringLiteral("15.00")}},
    };
    for (const KindCase& c : cases) {
        SCOPED_TRACE(std::string(c.layout) + " kind " + std::to_string(c.productKind));
        PeriodReportForm& form = layout(QString::fromLatin1(c.layout));
        const Lines lines = linesOf(form.preparePeriod(november(c.productKind)).pages.at(0));
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[lines.size() - 2], c.total);
        const QString hidden = c.productKind == reports::FinishedProducts ? QStringLiteral("Заготовки")
                                                                          : QStringLiteral("Готовая продукция");
        for (const QStringList& line : lines) EXPECT_FALSE(line.contains(hidden)) << line.join(u'|').toStdString();
    }
    // The filter is switched off again for "Все".
    const Lines all = linesOf(roster.Form16->preparePeriod(november()).pages.at(0));
    EXPECT_EQ(all[all.size() - 2], (QStringList{QStringLiteral("Итого:"), QStringLiteral("32.88")}));
}

TEST_F(ReportLayoutTest, AnEmptyPeriodPrintsTheTitleHeadingsAndZeroTotals) {
    fillNovember();
    const ReportRequest nothing{QDate(2026, 11, 2), QDate(2026, 11, 2), reports::AllKinds, title};
    const std::vector<std::pair<const char*, Lines>> cases{
        {"Form16", {{title}, {QStringLiteral("Итого:"), QStringLiteral("0.00")}, {QStringLiteral("1")}}},
        {"Form17", {{title}, {QStringLiteral("Коробки"), QStringLiteral("Количество")},
                    {QStringLiteral("Итого:"), QStringLiteral("0"), QStringLiteral("0")}, {QStringLiteral("1")}}},
        {"Form20", {{title}, {QStringLiteral("Брак"), QStringLiteral("Количество"), QStringLiteral("Сумма")},
                    {QStringLiteral("Итого:"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0.00")},
                    {QStringLiteral("1")}}},
        {"Form21", {{title}, {QStringLiteral("Брак"), QStringLiteral("Коробки"), QStringLiteral("Кол-во"), QStringLiteral("Сумма")},
                    {QStringLiteral("Итого:"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0.00")},
                    {QStringLiteral("1")}}},
    };
    for (const auto& [name, expected] : cases) {
        SCOPED_TRACE(name);
        const PreparedReport report = layout(QString::fromLatin1(name)).preparePeriod(nothing);
        ASSERT_EQ(report.pages.size(), 1u);
        EXPECT_EQ(linesOf(report.pages[0]), expected);
    }
}

TEST(ReportExpressions, ColourAndProductKindTexts) {
    const reportengine::TableRows rows({QStringLiteral("color"), QStringLiteral("naimen")},
                                       {{0, 0}, {1, 1}, {12, 0}, {QVariant(), 1}, {-3, 2}});
    const QStringList colours{QStringLiteral(" "), QStringLiteral(" (грунт)"), QStringLiteral(" (RAL: 12)"),
                              QStringLiteral(" "), QStringLiteral(" ")};
    const QStringList kinds{QStringLiteral("Готовая продукция"), QStringLiteral("Заготовки"),
                            QStringLiteral("Готовая продукция"), QStringLiteral("Заготовки"),
                            QStringLiteral("Заготовки")};
    for (int row = 0; row < rows.count(); ++row) {
        EXPECT_EQ(reports::colorText(reportengine::RowView(rows, row)).toString(), colours[row]) << row;
        EXPECT_EQ(reports::productKindText(reportengine::RowView(rows, row)).toString(), kinds[row]) << row;
    }
}

// One worker's long month: the page set-up, the shading, and a keyed header that is not
// repeated when its group runs on to the next page.
TEST(ReportPages, ALongGroupRunsOnWithoutRepeatingItsHeaderAndNumbersEveryPage) {
    std::vector<QVariantList> data;
    for (int i = 0; i < 80; ++i)
        data.push_back({QStringLiteral("Иванов И.И."), QStringLiteral("Группа А"), 0, QStringLiteral("Сборка"),
                        0, 1, 1.5});
    const reportengine::TableRows rows(
        {QStringLiteral("fio"), QStringLiteral("nom"), QStringLiteral("naimen"), QStringLiteral("vid"),
         QStringLiteral("color"), QStringLiteral("kolvo"), QStringLiteral("summa")},
        data);
    reportengine::Layout layout = reports::workersReportLayout();
    layout.setCaption(QStringLiteral("QRLabel1"), title);
    const PreparedReport report = reportengine::prepare(layout, rows);

    EXPECT_FALSE(report.page.landscape);
    EXPECT_EQ(report.zoom, reportengine::Zoom::FitWidth);
    ASSERT_EQ(report.pages.size(), 2u);
    int details = 0;
    for (size_t p = 0; p < report.pages.size(); ++p) {
        const reportengine::PreparedPage& page = report.pages[p];
        const Lines lines = linesOf(page);
        EXPECT_EQ(lines.back(), QStringList{QString::number(p + 1)});
        const reportengine::PlacedItem* number = page.named(QStringLiteral("PageNumber"));
        ASSERT_NE(number, nullptr);
        EXPECT_NEAR(number->rect.left(), 186, 1e-9);
        EXPECT_LE(number->rect.bottom(), 287 + 1e-9);
        for (const reportengine::PlacedItem& item : page.items) {
            EXPECT_GE(item.rect.left(), 10 - 1e-9);
            EXPECT_LE(item.rect.right(), 200 + 1e-9) << item.name.toStdString();
            if (item.name == QLatin1String("kind")) ++details;
        }
    }
    EXPECT_EQ(details, 80);
    EXPECT_EQ(linesOf(report.pages[0])[1], QStringList{QStringLiteral("Иванов И.И.")});
    EXPECT_EQ(linesOf(report.pages[1]).front().size(), 5) << "the page goes on with detail lines";
    EXPECT_EQ(report.pages[1].named(QStringLiteral("fio")), nullptr);
    const Lines last = linesOf(report.pages[1]);
    EXPECT_EQ(last[last.size() - 2], (QStringList{QStringLiteral("Итого:"), QStringLiteral("120.00")}));

    auto shadeOf = [](const reportengine::PreparedPage& page, const QColor& colour) {
        return std::count_if(page.items.begin(), page.items.end(), [&](const reportengine::PlacedItem& item) {
            return item.kind == reportengine::PlacedItem::Kind::Shade && item.color == colour;
        });
    };
    EXPECT_EQ(shadeOf(report.pages[0], QColor(244, 244, 244)), 1);   // the title
    EXPECT_EQ(shadeOf(report.pages[0], QColor(224, 224, 224)), 1);   // the worker
    EXPECT_EQ(shadeOf(report.pages[1], QColor(220, 220, 220)), 1);   // the report total
    EXPECT_EQ(shadeOf(report.pages[1], QColor(239, 239, 239)), 1);   // its box
}

}  // namespace
