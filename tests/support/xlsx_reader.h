#pragma once

#include <QString>
#include <QVariant>
#include <map>
#include <utility>
#include <vector>

namespace testing_support {

// A real .xlsx file read back by python3 with openpyxl, as a spreadsheet program reads it.
struct XlsxCell {
    QVariant value;       // a number as double, text as QString
    bool number = false;  // stored as a number, not as text
    QString format;       // the number format code: "General", "@"
    bool bold = false;
};

struct XlsxSheet {
    QString name;
    std::map<std::pair<int, int>, XlsxCell> cells;   // (row, column), 1-based
    std::map<int, double> widths;                    // column -> width set in the file

    const XlsxCell* at(int row, int column) const {
        const auto found = cells.find({row, column});
        return found == cells.end() ? nullptr : &found->second;
    }
    QString text(int row, int column) const;   // the value as text; numbers in plain digits
    int rowCount() const;                      // the last row with a cell
};

// The sheets of the workbook at `path`; an empty list, with a test failure, when it cannot be read.
std::vector<XlsxSheet> readXlsx(const QString& path);

}  // namespace testing_support
