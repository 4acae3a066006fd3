#include "tests/reports/report_fixture.h"

#include <algorithm>
#include <cmath>

namespace testing_support {

Lines linesOf(const reportengine::PreparedPage& page) {
    Lines lines;
    double top = -1;
    for (const reportengine::PlacedItem& item : page.items) {
        if (item.kind != reportengine::PlacedItem::Kind::Text) continue;
        if (lines.empty() || std::abs(item.rect.top() - top) > 0.01) {
            lines.emplace_back();
            top = item.rect.top();
        }
        lines.back() << item.text;
    }
    return lines;
}

Lines sortedWithin(Lines lines, size_t from, size_t to) {
    std::sort(lines.begin() + from, lines.begin() + to,
              [](const QStringList& a, const QStringList& b) { return a.join(u'|') < b.join(u'|'); });
    return lines;
}

void ReportTest::fillNovember() {
    ivanov = fixtures.worker(QStringLiteral("Иванов И.И."));
    petrov = fixtures.worker(QStringLiteral("Петров П.П."));
    const qint64 groupA = fixtures.group(QStringLiteral("Группа А"));
    const qint64 groupB = fixtures.group(QStringLiteral("Группа Б"));
    const qint64 small = fixtures.product(QStringLiteral("ШК-120"), 1.25, groupA);
    const qint64 large = fixtures.product(QStringLiteral("ШК-200"), 0.5, groupB);
    const int assembly = fixtures.kind(QStringLiteral("Сборка"));
    const int painting = fixtures.kind(QStringLiteral("Покраска"));
    const int smallAssembly = fixtures.oper(assembly, small, 0);
    const int smallPainting = fixtures.oper(painting, small, 1);
    const int largeAssembly = fixtures.oper(assembly, large, 0);

    auto record = [&](int worker, qint64 product, int oper, const QDate& day, int kolvo, int brak,
                      double cena, int color) {
        fixtures.record({.worker = worker, .product = product, .oper = oper, .day = day, .kolvo = kolvo,
                         .brak = brak, .cena = cena, .color = color});
    };
    record(ivanov, small, smallAssembly, QDate(2026, 11, 3), 10, 1, 1.25, 0);
    record(ivanov, small, smallAssembly, QDate(2026, 11, 4), 5, 0, 1.25, 0);
    record(ivanov, small, smallPainting, QDate(2026, 11, 5), 4, 0, 2.5, 1);
    record(ivanov, large, largeAssembly, QDate(2026, 11, 30), 3, 0, 0.125, 12);
    record(petrov, small, smallPainting, QDate(2026, 11, 1), 2, 0, 2.5, 12);
    record(petrov, small, smallPainting, QDate(2026, 10, 31), 100, 0, 2.5, 12);
    record(petrov, small, smallPainting, QDate(2026, 12, 1), 100, 0, 2.5, 12);
}

}  // namespace testing_support
