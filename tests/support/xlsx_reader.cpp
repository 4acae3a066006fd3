#include "tests/support/xlsx_reader.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

namespace testing_support {
namespace {

const char* const script = R"PY(
import json, sys
import openpyxl
from openpyxl.utils import column_index_from_string
book = openpyxl.load_workbook(sys.argv[1])
sheets = []
for ws in book.worksheets:
    cells = []
    for row in ws.iter_rows():
        for c in row:
            if c.value is None:
                continue
            cells.append({"row": c.row, "column": c.column, "value": c.value,
                          "number": isinstance(c.value, (int, float)), "format": c.number_format,
                          "bold": bool(c.font is not None and c.font.b)})
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
    if (!cell->number) return cell->value.toString();
    return QString::number(cell->value.toDouble(), 'g', 17);
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
