#include "spreadsheet/exact_numbers.h"

#include "spreadsheet/application.h"
#include "spreadsheet/zip_archive.h"

#include <QByteArrayMatcher>
#include <QFile>
#include <QSaveFile>
#include <algorithm>

namespace spreadsheet {
namespace {

// The row and column of a reference such as "AB12"; nullopt for anything else.
std::optional<std::pair<int, int>> rowAndColumn(QByteArrayView reference) {
    qsizetype i = 0;
    qint64 column = 0;
    while (i < reference.size() && reference[i] >= 'A' && reference[i] <= 'Z' && column <= maxColumns)
        column = column * 26 + (reference[i++] - 'A' + 1);
    qint64 row = 0;
    const qsizetype digits = i;
    while (i < reference.size() && reference[i] >= '0' && reference[i] <= '9' && row <= maxRows)
        row = row * 10 + (reference[i++] - '0');
    if (i != reference.size() || digits == 0 || i == digits || column > maxColumns || row > maxRows)
        return std::nullopt;
    return std::pair<int, int>(int(row), int(column));
}

bool hasNumbers(const Worksheet& sheet) {
    bool found = false;
    sheet.forEachCell([&](int, int, const Cell& cell) { found = found || cell.number.has_value(); });
    return found;
}

QByteArray sheetEntryName(int number) { return "xl/worksheets/sheet" + QByteArray::number(number) + ".xml"; }

}  // namespace

// The library writes a number cell as <c r="B2" s="1"><v>8.380000000000001</v></c>, and a text
// cell with a type: <c r="A2" t="s"><v>0</v></c>.
std::optional<QByteArray> withExactNumbers(const QByteArray& xml, const Worksheet& sheet) {
    static const QByteArrayMatcher cellStart(QByteArrayLiteral("<c r=\""));
    const QByteArrayView view(xml);
    QByteArray out;
    out.reserve(xml.size() + xml.size() / 8);
    qsizetype copied = 0;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = cellStart.indexIn(xml, from);
        if (at < 0) break;
        const qsizetype referenceAt = at + cellStart.pattern().size();
        const qsizetype referenceEnd = xml.indexOf('"', referenceAt);
        const qsizetype tagEnd = referenceEnd < 0 ? -1 : xml.indexOf('>', referenceEnd);
        if (tagEnd < 0) break;
        from = tagEnd + 1;
        if (xml[tagEnd - 1] == '/' || view.sliced(referenceEnd, tagEnd - referenceEnd).contains(" t=\""))
            continue;   // a cell without a value, or not a number
        const qsizetype textAt = tagEnd + 4;
        if (!view.sliced(tagEnd + 1).startsWith("<v>")) continue;
        const qsizetype valueEnd = xml.indexOf('<', textAt);
        if (valueEnd < 0 || !view.sliced(valueEnd).startsWith("</v>")) continue;
        const auto place = rowAndColumn(view.sliced(referenceAt, referenceEnd - referenceAt));
        const Cell* cell = place ? sheet.cellAt(place->first, place->second) : nullptr;
        if (!cell || !cell->number) continue;
        if (QLatin1String(xml.constData() + textAt, valueEnd - textAt) == cell->text) continue;
        out += view.sliced(copied, textAt - copied);
        out += cell->text.toLatin1();
        copied = valueEnd;
        from = valueEnd;
    }
    if (copied == 0) return std::nullopt;
    out += view.sliced(copied);
    return out;
}

void putExactNumbers(const Workbook& workbook, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw Error(file.errorString());
    std::vector<zip::Entry> entries = zip::read(file.readAll());
    file.close();

    bool changed = false;
    for (int number = 1; number <= workbook.sheetCount(); ++number) {
        const Worksheet& sheet = workbook.sheet(number);
        if (!hasNumbers(sheet)) continue;
        const QByteArray name = sheetEntryName(number);
        const auto entry = std::find_if(entries.begin(), entries.end(),
                                        [&](const zip::Entry& e) { return e.name() == name; });
        if (entry == entries.end()) throw Error(QStringLiteral("в книге нет листа %1").arg(number));
        const std::optional<QByteArray> exact = withExactNumbers(entry->content(), sheet);
        if (!exact) continue;
        entry->setContent(*exact);
        changed = true;
    }
    if (!changed) return;

    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) throw Error(out.errorString());
    const QByteArray archive = zip::write(entries);
    if (out.write(archive) != archive.size() || !out.commit()) throw Error(out.errorString());
}

}  // namespace spreadsheet
