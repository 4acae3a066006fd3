#include "spreadsheet/xlsx_file.h"

#include "spreadsheet/application.h"
#include "spreadsheet/exact_numbers.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <locale.h>
#include <memory>
#include <xlsxwriter.h>

namespace spreadsheet {
namespace {

// libxlsxwriter prints the numbers of the file (cell values, column widths, page margins) with
// the C library, which follows the process's LC_NUMERIC: under a Russian locale the file would
// say 279,5 and 0,7, which no spreadsheet reads. While it lives, this thread formats numbers as
// the C locale does; the rest of the program, its windows and its statements, are not touched.
class CNumbersOnThisThread {
public:
    CNumbersOnThisThread() {
        if (const locale_t base = duplocale(uselocale(locale_t(0)))) {
            cNumbers_ = newlocale(LC_NUMERIC_MASK, "C", base);
            if (!cNumbers_) freelocale(base);
        }
        if (!cNumbers_) throw Error(QStringLiteral("не хватает памяти"));
        previous_ = uselocale(cNumbers_);
    }
    ~CNumbersOnThisThread() {
        uselocale(previous_);
        freelocale(cNumbers_);
    }
    CNumbersOnThisThread(const CNumbersOnThisThread&) = delete;
    CNumbersOnThisThread& operator=(const CNumbersOnThisThread&) = delete;

private:
    locale_t cNumbers_ = locale_t(0);
    locale_t previous_ = locale_t(0);
};

// The formats a cell can have: text format and bold, each on or off.
struct Formats {
    explicit Formats(lxw_workbook* book) {
        text = workbook_add_format(book);
        format_set_num_format(text, "@");
        bold = workbook_add_format(book);
        format_set_bold(bold);
        boldText = workbook_add_format(book);
        format_set_num_format(boldText, "@");
        format_set_bold(boldText);
    }
    lxw_format* of(const Cell& cell) const {
        if (cell.asText) return cell.bold ? boldText : text;
        return cell.bold ? bold : nullptr;
    }
    lxw_format* text;
    lxw_format* bold;
    lxw_format* boldText;
};

QString reason(lxw_error error) { return QString::fromUtf8(lxw_strerror(error)); }

void writeSheet(lxw_workbook* book, const Worksheet& sheet, const Formats& formats) {
    lxw_worksheet* out = workbook_add_worksheet(book, sheet.name().toUtf8().constData());
    if (!out) throw Error(QStringLiteral("не удалось добавить лист %1").arg(sheet.name()));
    lxw_error failed = LXW_NO_ERROR;
    QByteArray utf8;
    sheet.forEachCell([&](int row, int column, const Cell& cell) {
        if (failed != LXW_NO_ERROR) return;
        const lxw_row_t r = lxw_row_t(row - 1);
        const lxw_col_t c = lxw_col_t(column - 1);
        lxw_format* format = formats.of(cell);
        if (cell.number) {
            // The nearest double; the exact decimal replaces its digits afterwards (exact_numbers.h).
            failed = worksheet_write_number(out, r, c, cell.text.toDouble(), format);
        } else if (cell.text.isEmpty()) {
            if (format) failed = worksheet_write_blank(out, r, c, format);
        } else {
            utf8 = cell.text.toUtf8();
            failed = worksheet_write_string(out, r, c, utf8.constData(), format);
        }
    });
    if (failed != LXW_NO_ERROR) throw Error(reason(failed));
    for (const auto& [column, width] : sheet.fittedColumns()) {
        failed = worksheet_set_column(out, lxw_col_t(column - 1), lxw_col_t(column - 1), width, nullptr);
        if (failed != LXW_NO_ERROR) throw Error(reason(failed));
    }
}

}  // namespace

void writeXlsx(const Workbook& workbook, const QString& path) {
    // The file is made first, so that a folder that cannot take it is told in the system's words.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) throw Error(file.errorString());
    file.close();

    {
        const CNumbersOnThisThread numbers;
        const QByteArray name = QFile::encodeName(path);
        lxw_workbook* book = workbook_new(name.constData());
        if (!book) throw Error(QStringLiteral("не хватает памяти"));
        try {
            const Formats formats(book);
            for (int number = 1; number <= workbook.sheetCount(); ++number)
                writeSheet(book, workbook.sheet(number), formats);
        } catch (...) {
            lxw_workbook_free(book);   // nothing more is written
            throw;
        }
        // The library names the step that failed; the system's error says why (a full disk, say).
        errno = 0;
        const lxw_error closed = workbook_close(book);   // writes the file and frees the workbook
        if (closed != LXW_NO_ERROR) {
            const int system = errno;
            throw Error(system ? reason(closed) + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(system))
                               : reason(closed));
        }
    }
    putExactNumbers(workbook, path);
}

}  // namespace spreadsheet
