#pragma once

#include <QString>

namespace spreadsheet {

class Workbook;

// Writes a workbook held in memory to an .xlsx file at `path`, replacing what the file held: each
// sheet with its cells (numbers as numbers, text as shared strings, the text format "@" and bold
// kept) and the widths of its auto-fitted columns. Throws Error with the reason when the file
// cannot be written.
void writeXlsx(const Workbook& workbook, const QString& path);

}  // namespace spreadsheet
