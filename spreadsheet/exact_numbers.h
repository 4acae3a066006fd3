#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace spreadsheet {

class Workbook;
class Worksheet;

// libxlsxwriter, as the distribution builds it, prints a number cell's value with sixteen
// significant digits, past a double's precision: 8.38 goes into the file as 8.380000000000001,
// and a spreadsheet that shows more digits shows that. The library offers no other way to write
// a number, so once it has written the file, every number cell whose value is not the decimal the
// workbook holds gets that decimal, and the file is written again; when every value already
// stands as it should, the file is left as the library wrote it.
//
// `path` holds the .xlsx just written from `workbook`, its sheets in the workbook's order. Throws
// Error when the file cannot be read or written again.
void putExactNumbers(const Workbook& workbook, const QString& path);

// A sheet's XML with each number cell's value set to the exact text of that cell of `sheet`;
// nullopt when every value already stands so.
std::optional<QByteArray> withExactNumbers(const QByteArray& sheetXml, const Worksheet& sheet);

}  // namespace spreadsheet
