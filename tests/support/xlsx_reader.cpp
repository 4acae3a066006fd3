#include "tests/support/xlsx_reader.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

namespace testing_support {
namespace {

// openpyxl reads the workbook as a spreadsheet program does; before that, the value of every number
// cell is checked as it stands in the file, since openpyxl would read "8.380000000000001" as 8.38
// and a spreadsheet program that shows more digits would not. A number's value must be plain
// decimal digits with a full stop and the fewest digits that give its double back: no "279,5", no
// exponent, no digits past the number's precision.
const char* const script = R"PY(
import decimal, json, re, sys, zipfile
import xml.etree.ElementTree as ET
import openpyxl
from openpyxl.utils import column_index_from_string

MAIN = "{http://schemas.openxmlformats.org/spreadsheetml/2006/main}"
PLAIN = re.compile(r"-?(0|[1-9][0-9]*)(\.[0-9]*[1-9])?")

def stored_numbers(path):
    stored, bad = {}, []
    with zipfile.ZipFile(path) as package:
        for name in package.namelist():
            found = re.fullmatch(r"xl/worksheets/sheet([0-9]+)\.xml", name)
            if not found:
                continue
            for c in ET.fromstring(package.read(name)).iter(MAIN + "c"):
                v = c.find(MAIN + "v")
                if c.get("t", "n") != "n" or v is None:
                    continue
                text = v.text or ""
                stored[(int(found.group(1)), c.get("r"))] = text
                if not PLAIN.fullmatch(text) or decimal.Decimal(repr(float(text))) != decimal.Decimal(text):
                    bad.append("%s!%s holds %r" % (name, c.get("r"), text))
    return stored, bad

stored, bad = stored_numbers(sys.argv[1])
if bad:
    sys.exit("malformed numbers: " + "; ".join(bad))
book = openpyxl.load_workbook(sys.argv[1])
sheets = []
for index, ws in enumerate(book.worksheets, start=1):
    cells = []
    for row in ws.iter_rows():
        for c in row:
            if c.value is None:
                continue
            number = isinstance(c.value, (int, float))
            cells.append({"row": c.row, "column": c.column, "value": c.value, "number": number,
                          "stored": stored.get((index, c.coordinate), "") if number else "",
                          "format": c.number_format, "bold": bool(c.font is not None and c.font.b)})
    widths = {}
    for key, dim in ws.column_dimensions.items():
        if dim.customWidth and dim.width is not None:
            widths[str(column_index_from_string(key))] = dim.width
    sheets.append({"name": ws.title, "cells": cells, "widths": widths})
print(json.dumps(sheets, ensure_ascii=False))
)PY";

// The distribution's interpreter, which has python3-openpyxl, before any other on the PATH.
QString python() {
    return QFileInfo::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                                 : QStringLiteral("python3");
}

}  // namespace

QString XlsxSheet::text(int row, int column) const {
    const XlsxCell* cell = at(row, column);
    if (!cell) return {};
    return cell->number ? cell->stored : cell->value.toString();
}

int XlsxSheet::rowCount() const {
    int last = 0;
    for (const auto& [at, cell] : cells) last = std::max(last, at.first);
    return last;
}

std::vector<XlsxSheet> readXlsx(const QString& path) {
    QProcess process;
    process.start(python(), {QStringLiteral("-c"), QString::fromLatin1(script), path});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        ADD_FAILURE() << "openpyxl could not read " << path.toStdString() << ": "
                      << process.readAllStandardError().toStdString();
        return {};
    }
    std::vector<XlsxSheet> sheets;
    const QJsonArray read = QJsonDocument::fromJson(process.readAllStandardOutput()).array();
    for (const QJsonValue& s : read) {
        const QJsonObject object = s.toObject();
        XlsxSheet sheet;
        sheet.name = object.value(QStringLiteral("name")).toString();
        for (const QJsonValue& c : object.value(QStringLiteral("cells")).toArray()) {
            const QJsonObject o = c.toObject();
            XlsxCell cell;
            cell.number = o.value(QStringLiteral("number")).toBool();
            cell.value = cell.number ? QVariant(o.value(QStringLiteral("value")).toDouble())
                                     : QVariant(o.value(QStringLiteral("value")).toVariant().toString());
            cell.stored = o.value(QStringLiteral("stored")).toString();
            cell.format = o.value(QStringLiteral("format")).toString();
            cell.bold = o.value(QStringLiteral("bold")).toBool();
            sheet.cells[{o.value(QStringLiteral("row")).toInt(), o.value(QStringLiteral("column")).toInt()}] = cell;
        }
        const QJsonObject widths = object.value(QStringLiteral("widths")).toObject();
        for (auto it = widths.begin(); it != widths.end(); ++it) sheet.widths[it.key().toInt()] = it.value().toDouble();
        sheets.push_back(std::move(sheet));
    }
    return sheets;
}

}  // namespace testing_support
