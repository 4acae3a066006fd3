// The layout pass: rows and band heights in, pages of placed text out. Page breaks, headers
// repeated on new pages, groups by key with their footers, and sums that run or reset.

#include "reportengine/prepared_report.h"
#include "reportengine/rows.h"
#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>

namespace {

using namespace reportengine;

// A portrait page whose body is 297 - 10 - 10 = 277 mm, 267 mm above a 10 mm page footer.
Layout listLayout(double headerHeight, double detailHeight, bool repeatHeader) {
    Layout layout;
    Group heading;
    heading.header = Band{QStringLiteral("head"), Band::Kind::GroupHeader, headerHeight};
    heading.header.elements.push_back(label(QStringLiteral("caption"), 0, 50, QStringLiteral("Заголовок")));
    heading.repeatOnEveryPage = repeatHeader;
    layout.groups.push_back(heading);
    layout.detail = Band{QStringLiteral("row"), Band::Kind::Detail, detailHeight};
    layout.detail.elements.push_back(field(QStringLiteral("n"), 0, 20, QStringLiteral("n")));
    Band footer{QStringLiteral("foot"), Band::Kind::PageFooter, 10};
    footer.elements.push_back(pageNumber(QStringLiteral("page"), 170, 20));
    layout.pageFooter = footer;
    return layout;
}

TableRows numbered(int count) {
    std::vector<QVariantList> rows;
    for (int i = 1; i <= count; ++i) rows.push_back({i});
    return TableRows({QStringLiteral("n")}, rows);
}

struct BreakCase {
    const char* name;
    double header;
    double detail;
    bool repeat;
    int rows;
    std::vector<int> rowsPerPage;
};

TEST(LayoutPass, BreaksPagesWhereTheNextBandNoLongerFits) {
    const BreakCase cases[] = {
        {"no rows: the header alone", 7, 5, true, 0, {0}},
        {"exactly full", 7, 5, true, 52, {52}},            // 7 + 52 * 5 = 267
        {"one more row", 7, 5, true, 53, {52, 1}},
        {"repeated header takes room", 17, 5, true, 110, {50, 50, 10}},
        {"not repeated: later pages are all rows", 17, 5, false, 110, {50, 53, 7}},
        {"a band taller than a page still prints", 7, 300, false, 2, {0, 1, 1}},
    };
    for (const BreakCase& c : cases) {
        SCOPED_TRACE(c.name);
        const PreparedReport report = prepare(listLayout(c.header, c.detail, c.repeat), numbered(c.rows));
        ASSERT_EQ(report.pages.size(), c.rowsPerPage.size());
        int next = 1;
        for (size_t p = 0; p < report.pages.size(); ++p) {
            SCOPED_TRACE(p);
            const PreparedPage& page = report.pages[p];
            QStringList expected;
            if (p == 0 || c.repeat) expected << QStringLiteral("Заголовок");
            for (int r = 0; r < c.rowsPerPage[p]; ++r) expected << QString::number(next++);
            expected << QString::number(p + 1);   // the page footer's number
            EXPECT_EQ(page.texts(), expected);
            const PlacedItem* number = page.named(QStringLiteral("page"));
            ASSERT_NE(number, nullptr);
            EXPECT_DOUBLE_EQ(number->rect.top(), 277);
            if (c.detail < 267)
                for (const PlacedItem& item : page.items) EXPECT_LE(item.rect.bottom(), 287 + 1e-9);
        }
    }
}

// Workers and products with two levels of subtotals and a grand total, as the period reports
// by workers are laid out.
Layout groupedLayout() {
    Layout layout;
    Group all;
    all.header = Band{QStringLiteral("title"), Band::Kind::GroupHeader, 6};
    all.header.elements.push_back(label(QStringLiteral("QRLabel1"), 0, 100, QStringLiteral("Отчет")));
    all.children.push_back(Band{QStringLiteral("spacer"), Band::Kind::Child, 0.5});
    Band total{QStringLiteral("total"), Band::Kind::GroupFooter, 6};
    total.elements.push_back(label(QStringLiteral("totalLabel"), 100, 20, QStringLiteral("Итого:")));
    Element grand = sum(QStringLiteral("grand"), 160, 20, QStringLiteral("summa"), false);
    grand.mask = QStringLiteral("#0.00");
    total.elements.push_back(grand);
    all.footer = total;

    Group worker;
    worker.key = [](const RowView& row) { return row.value(QStringLiteral("fio")); };
    worker.header = Band{QStringLiteral("worker"), Band::Kind::GroupHeader, 6};
    worker.header.elements.push_back(field(QStringLiteral("fio"), 0, 60, QStringLiteral("fio")));
    Band workerTotal{QStringLiteral("workerTotal"), Band::Kind::GroupFooter, 6};
    Element perWorker = sum(QStringLiteral("perWorker"), 160, 20, QStringLiteral("summa"), true);
    perWorker.mask = QStringLiteral("#0.00");
    workerTotal.elements.push_back(perWorker);
    worker.footer = workerTotal;

    Group product;
    product.key = [](const RowView& row) { return row.value(QStringLiteral("nom")); };
    product.header = Band{QStringLiteral("product"), Band::Kind::GroupHeader, 6};
    product.header.elements.push_back(field(QStringLiteral("nom"), 0, 60, QStringLiteral("nom")));
    Band productTotal{QStringLiteral("productTotal"), Band::Kind::GroupFooter, 6};
    productTotal.elements.push_back(sum(QStringLiteral("perProduct"), 160, 20, QStringLiteral("summa"), true));
    product.footer = productTotal;

    layout.groups = {all, worker, product};
    layout.detail = Band{QStringLiteral("detail"), Band::Kind::Detail, 5};
    layout.detail.elements.push_back(field(QStringLiteral("summa"), 160, 20, QStringLiteral("summa")));
    return layout;
}

TEST(LayoutPass, PrintsGroupsAsTheirKeysChangeWithSubtotalsThatStartAgain) {
    const TableRows rows({QStringLiteral("fio"), QStringLiteral("nom"), QStringLiteral("summa")},
                         {{"Иванов", "Короб", QVariant::fromValue(*data::Decimal::parse(u"1.5"))},
                          {"Иванов", "Короб", 2},
                          {"Иванов", "Лист", 3},
                          {"Петров", "Лист", 4}});   // the same product under a new worker starts anew
    const PreparedReport report = prepare(groupedLayout(), rows);
    ASSERT_EQ(report.pages.size(), 1u);
    EXPECT_EQ(report.pages[0].texts(),
              (QStringList{"Отчет",
                           "Иванов", "Короб", "1.5", "2", "3.5",
                           "Лист", "3", "3",
                           "6.50",
                           "Петров", "Лист", "4", "4",
                           "4.00",
                           "Итого:", "10.50"}));
}

TEST(LayoutPass, AnEmptyReportPrintsItsHeadingAndAZeroTotal) {
    const PreparedReport report = prepare(groupedLayout(), TableRows({QStringLiteral("fio")}, {}));
    ASSERT_EQ(report.pages.size(), 1u);
    EXPECT_EQ(report.pages[0].texts(), (QStringList{"Отчет", "Итого:", "0.00"}));
}

TEST(LayoutPass, PlacesElementsInMillimetresFromTheMarginsWithLinesAndShading) {
    Layout layout = listLayout(7, 5, true);
    layout.page.landscape = true;
    layout.detail.lineAbove = true;
    layout.detail.shading = QColor(224, 224, 224);
    layout.setCaption(QStringLiteral("caption"), QStringLiteral("Ноябрь 2026 г."));
    const PreparedReport report = prepare(layout, numbered(1));
    const PreparedPage& page = report.pages.at(0);
    EXPECT_EQ(page.texts().first(), QStringLiteral("Ноябрь 2026 г."));
    const PlacedItem* n = page.named(QStringLiteral("n"));
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->rect, QRectF(10, 17, 20, 5));
    int lines = 0, shades = 0;
    for (const PlacedItem& item : page.items) {
        if (item.kind == PlacedItem::Kind::Line) {
            ++lines;
            EXPECT_EQ(item.rect, QRectF(10, 17, 277, 0));
        }
        if (item.kind == PlacedItem::Kind::Shade) {
            ++shades;
            EXPECT_EQ(item.color, QColor(224, 224, 224));
        }
    }
    EXPECT_EQ(lines, 1);
    EXPECT_EQ(shades, 1);
    EXPECT_DOUBLE_EQ(page.named(QStringLiteral("page"))->rect.top(), 190);   // 210 - 10 - 10
}

}  // namespace
