#include "timesheet/timesheet_export.h"

#include "data/dataset.h"
#include "spreadsheet/writers.h"

namespace timesheet {
namespace {

constexpr int dayColumns = 31;
constexpr int totalColumn = dayColumns + 2;

void writeHeader(spreadsheet::FormattingWriter& writer, const QString& title) {
    writer.WriteCell(1, 1, 1, title, true, true, true);
    writer.WriteCell(1, 1, 2, QStringLiteral("Фамилия И.О."), true, true, true);
    for (int day = 1; day <= dayColumns; ++day) writer.WriteCell(1, day + 1, 2, spreadsheet::CellValue::number(day), false, true, true);
    writer.WriteCell(1, totalColumn, 2, QStringLiteral("Итого"), true, true, true);
}

void writeWorker(spreadsheet::FormattingWriter& writer, const data::Dataset& hours, int row) {
    writer.WriteCell(1, 1, row, hours.field(QStringLiteral("fio")).asString(), true, true, false);
    qint64 total = 0;
    for (int day = 1; day <= dayColumns; ++day) {
        const qint64 value = hours.field(QStringLiteral("sd%1").arg(day)).asInteger();   // empty reads 0
        writer.WriteCell(1, day + 1, row, spreadsheet::CellValue::number(value), false, true, false);
        total += value;
    }
    writer.WriteCell(1, totalColumn, row, spreadsheet::CellValue::number(total), false, true, false);
}

}  // namespace

bool exportMonth(data::Dataset& hours, spreadsheet::FormattingWriter& writer, const QString& title,
                 const std::function<void(int written, int total)>& rowWritten) {
    if (writer.OpenWorkbook(QString()) == -1) return false;
    writer.SetExcelVisible(false);
    const int total = hours.recordCount();
    rowWritten(0, total);
    hours.first();
    writeHeader(writer, title);
    for (int written = 0; written < total; ++written) {
        writeWorker(writer, hours, written + 3);
        hours.next();
        rowWritten(written + 1, total);
    }
    writer.SetExcelVisible(true);
    return true;
}

}  // namespace timesheet
