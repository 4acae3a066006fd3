#pragma once

#include <QString>
#include <QVariant>
#include <map>
#include <utility>
#include <vector>

namespace testing_support {

// A real .xlsx file read back by python3 with openpyxl, as a spreadsheet program reads it. A
// number whose value does not stand in the file as plain decimal digits with the fewest digits
// that give it back ("279,5", "8.380000000000001", "1E+16") fails the reading.
struct XlsxCell {
    QVariant value;       // a number as double, text as QString
    bool number = false;  // stored as a number, not as text
    QString stored;       // a number's value as the file holds it: "8.38"
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
    QString text(int row, int column) const;   // the value as text; a number as the file holds it
    int rowCount() const;                      // the last row with a cell
};

// The sheets of the workbook at `path`; an empty list, with a test failure, when it cannot be read.
std::vector<XlsxSheet> readXlsx(const QString& path);

}  // namespace testing_support
