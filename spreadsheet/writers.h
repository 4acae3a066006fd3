#pragma once

#include "spreadsheet/cell_value.h"

#include <QString>
#include <memory>

namespace spreadsheet {

class Application;
class Launcher;

// The spreadsheet writers of the exports. Each holds its own application handle: empty at the start of
// the run, replaced by every OpenWorkbook, kept until the run ends. Results are 1 for success (a
// skipped write included) and -1 for failure; every failure has been shown to the user in a message
// box with the error icon by the time the result comes back. A cell's value comes typed by its
// column: a text stays text, a number is a number (cell_value.h).
//
// The calling order of every export: OpenWorkbook with an empty path, stopping on -1; any number of
// WriteCell, whose results the callers ignore; SetExcelVisible(true).
class Writer {
public:
    explicit Writer(Launcher& launcher) : launcher_(launcher) {}
    virtual ~Writer() = default;

    // Attaches to the running application or starts one, then adds a workbook (empty path) or
    // opens the file at `path`.
    int OpenWorkbook(const QString& path);

    // Shows or hides the application; showing writes and opens the workbooks not shown yet. A
    // workbook that cannot be written is told in the standard error box, with the reason. Always 1.
    int SetExcelVisible(bool visible);

    // The application the handle holds now; nullptr before the first OpenWorkbook.
    Application* application() const { return application_.get(); }

protected:
    struct Formatting {
        bool asText;
        bool autoFit;
        bool bold;
    };
    int write(int sheet, int column, int row, const CellValue& value, const Formatting* formatting);

private:
    Launcher& launcher_;
    std::shared_ptr<Application> application_;
};

// The writer of the price-list export and the production export: values only.
class BasicWriter : public Writer {
public:
    using Writer::Writer;
    int WriteCell(int sheet, int column, int row, const CellValue& value);
};

// The writer of the timesheet export: values with the text format, auto-fit and bold.
class FormattingWriter : public Writer {
public:
    using Writer::Writer;
    int WriteCell(int sheet, int column, int row, const CellValue& value, bool asText, bool autoFit, bool bold);
};

}  // namespace spreadsheet
