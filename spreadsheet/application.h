#pragma once

#include "data/decimal.h"
#include "spreadsheet/cell_value.h"

#include <QString>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <unordered_map>
#include <vector>

// The spreadsheet application the export writers drive, in the shape of a spreadsheet's automation
// objects: workbooks added or opened, worksheets of the active workbook by number, cells by row and
// column with a value, the text format "@" and a bold font, column auto-fit, and the application's
// visibility. This class keeps its workbooks in memory; the desktop's application (desktop.h)
// writes each to an .xlsx file and opens it when the application is made visible.
namespace spreadsheet {

// A call the application refuses, with the reason.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// The spreadsheet's limits: rows and columns counted from 1, and the text one cell holds.
inline constexpr int maxRows = 1048576;
inline constexpr int maxColumns = 16384;
inline constexpr int maxCellText = 32767;

// The number format code of text, as Excel spells it.
inline const QString textFormat = QStringLiteral("@");

// One cell as it was last written.
struct Cell {
    QString text;                          // the value's text; a number's in plain digits with a full stop
    std::optional<data::Decimal> number;   // set for a number, as the spreadsheet keeps it
    bool asText = false;           // the number format is "@"
    bool bold = false;
    bool used = false;             // the cell was reached by Cells(row, column)
};

class Worksheet {
public:
    explicit Worksheet(QString name) : name_(std::move(name)) {}

    const QString& name() const { return name_; }

    // Cells(row, column), made when first used. Throws Error outside the sheet's rows and columns.
    Cell& cell(int row, int column);
    // The cell when it was ever used, else nullptr.
    const Cell* cellAt(int row, int column) const;

    // Value: a text stays text, whatever it looks like; a number is a number, rounded to the
    // digits a spreadsheet keeps, unless the cell is in the text format, which keeps the number's
    // text. Throws Error for a text longer than a cell holds.
    void setValue(Cell& cell, int column, const CellValue& value);
    // NumberFormat: only "@" (text) and "General" are known; any other code throws Error.
    void setNumberFormat(Cell& cell, const QString& code);

    // Columns(column).AutoFit: the column gets the width of its widest text so far.
    void autoFit(int column);
    // The width set by auto-fit, in characters; nullopt for a column never fitted.
    std::optional<double> columnWidth(int column) const;

    // Every cell used, by (row, column), and the widths of the fitted columns.
    template <class Visit> void forEachCell(Visit visit) const {
        for (const auto& [row, cells] : rows_)
            for (int c = 0; c < int(cells.size()); ++c)
                if (cells[c].used) visit(row, c + 1, cells[c]);
    }
    const std::map<int, double>& fittedColumns() const { return fitted_; }

    // The width, in characters of the default font, that shows `text` whole.
    static double widthOf(const QString& text);

private:
    QString name_;
    std::unordered_map<int, std::vector<Cell>> rows_;   // row -> its cells by column - 1
    std::unordered_map<int, double> widest_;   // column -> widest text written into it
    std::map<int, double> fitted_;             // column -> width given by auto-fit
};

class Workbook {
public:
    // A new workbook has one sheet, "Лист1". A workbook opened from a file shows that file as it
    // is: this application does not read workbooks, so it has no sheets to write to.
    static std::unique_ptr<Workbook> blank();
    static std::unique_ptr<Workbook> fromFile(const QString& path);

    int sheetCount() const { return int(sheets_.size()); }
    Worksheet& sheet(int number) { return *sheets_.at(number - 1); }   // 1-based, checked by the caller
    const Worksheet& sheet(int number) const { return *sheets_.at(number - 1); }
    const QString& openedFrom() const { return openedFrom_; }

    // Whether the application has shown the workbook (written and opened it, on the desktop).
    bool shown() const { return shown_; }
    void setShown() { shown_ = true; }

private:
    std::vector<std::unique_ptr<Worksheet>> sheets_;
    QString openedFrom_;
    bool shown_ = false;
};

class Application {
public:
    virtual ~Application() = default;

    // WorkBooks.add and WorkBooks.Open: the workbook becomes the active one. Throw Error.
    virtual void addWorkbook();
    virtual void openWorkbook(const QString& path);

    // WorkSheets(number) of the active workbook. Throws Error when there is no active workbook or
    // no such sheet in it.
    virtual Worksheet& worksheet(int number);

    // Visible. Making the application visible shows every workbook not shown yet, each once; an
    // invisible application shows nothing, and showing again never repeats a workbook. Throws
    // Error with the reason when a workbook cannot be shown (the others are still shown).
    bool visible() const { return visible_; }
    virtual void setVisible(bool visible);

    const std::vector<std::unique_ptr<Workbook>>& workbooks() const { return workbooks_; }
    Workbook* activeWorkbook() const { return workbooks_.empty() ? nullptr : workbooks_.back().get(); }

protected:
    // Shows one workbook when the application becomes visible; nothing in memory.
    virtual void show(Workbook& workbook) {}

    std::vector<std::unique_ptr<Workbook>> workbooks_;   // the active one last

private:
    bool visible_ = false;
};

// Finds the running application or starts one: GetActiveObject and CreateOleObject of Excel.
class Launcher {
public:
    virtual ~Launcher() = default;
    // The application running now, or nullptr when none is.
    virtual std::shared_ptr<Application> attach() = 0;
    // A new application; throws Error when none can be started.
    virtual std::shared_ptr<Application> start() = 0;
};

}  // namespace spreadsheet
