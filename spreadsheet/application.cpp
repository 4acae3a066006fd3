#include "spreadsheet/application.h"

#include <QFileInfo>
#include <algorithm>

namespace spreadsheet {

Cell& Worksheet::cell(int row, int column) {
    if (row < 1 || row > maxRows || column < 1 || column > maxColumns)
        throw Error(QStringLiteral("Нет ячейки в строке %1, столбце %2").arg(row).arg(column));
    std::vector<Cell>& cells = rows_[row];
    if (int(cells.size()) < column) cells.resize(std::max<std::size_t>(column, cells.size() * 2));
    Cell& cell = cells[column - 1];
    cell.used = true;
    return cell;
}

const Cell* Worksheet::cellAt(int row, int column) const {
    const auto found = rows_.find(row);
    if (found == rows_.end() || column < 1 || column > int(found->second.size())) return nullptr;
    const Cell& cell = found->second[column - 1];
    return cell.used ? &cell : nullptr;
}

// Characters of the default font, with room for a bold font and the cell's margins.
double Worksheet::widthOf(const QString& text) {
    qsizetype longestLine = 0;
    qsizetype line = 0;
    for (const QChar c : text) {
        line = c == u'\n' ? 0 : line + 1;
        longestLine = std::max(longestLine, line);
    }
    return std::min(255.0, double(longestLine) * 1.1 + 1.0);
}

void Worksheet::setValue(Cell& cell, int column, const CellValue& value) {
    if (value.text().size() > maxCellText)
        throw Error(QStringLiteral("Текст длиннее %1 знаков не помещается в ячейку").arg(maxCellText));
    const std::optional<data::Decimal>& number = value.numberValue();
    if (number && !cell.asText) {
        cell.number = number->roundedToSignificant(data::spreadsheetDigits);
        cell.text = data::exportNumberText(*cell.number, u'.');
    } else {
        cell.number.reset();
        cell.text = value.text();
    }
    double& widest = widest_[column];
    widest = std::max(widest, widthOf(cell.text));
}

void Worksheet::setNumberFormat(Cell& cell, const QString& code) {
    if (code == textFormat) cell.asText = true;
    else if (code.compare(QLatin1String("General"), Qt::CaseInsensitive) == 0) cell.asText = false;
    else throw Error(QStringLiteral("Неизвестный формат ячейки: %1").arg(code));
}

void Worksheet::autoFit(int column) {
    if (column < 1 || column > maxColumns) throw Error(QStringLiteral("Нет столбца %1").arg(column));
    const auto widest = widest_.find(column);
    fitted_[column] = widest == widest_.end() ? 0.0 : widest->second;
}

std::optional<double> Worksheet::columnWidth(int column) const {
    const auto found = fitted_.find(column);
    return found == fitted_.end() ? std::nullopt : std::optional<double>(found->second);
}

std::unique_ptr<Workbook> Workbook::blank() {
    auto book = std::make_unique<Workbook>();
    book->sheets_.push_back(std::make_unique<Worksheet>(QStringLiteral("Лист1")));
    return book;
}

std::unique_ptr<Workbook> Workbook::fromFile(const QString& path) {
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable()) throw Error(QStringLiteral("Нет файла %1").arg(path));
    auto book = std::make_unique<Workbook>();
    book->openedFrom_ = file.absoluteFilePath();
    return book;
}

void Application::addWorkbook() { workbooks_.push_back(Workbook::blank()); }

void Application::openWorkbook(const QString& path) { workbooks_.push_back(Workbook::fromFile(path)); }

Worksheet& Application::worksheet(int number) {
    Workbook* book = activeWorkbook();
    if (!book) throw Error(QStringLiteral("Нет открытой книги"));
    if (number < 1 || number > book->sheetCount())
        throw Error(QStringLiteral("В книге нет листа %1").arg(number));
    return book->sheet(number);
}

void Application::setVisible(bool visible) {
    visible_ = visible;
    if (!visible) return;
    std::optional<Error> failure;
    for (const auto& book : workbooks_) {
        if (book->shown()) continue;
        book->setShown();   // a workbook that failed is not tried again by a later export
        try {
            show(*book);
        } catch (const Error& e) {
            if (!failure) failure = e;
        }
    }
    if (failure) throw *failure;
}

}  // namespace spreadsheet
