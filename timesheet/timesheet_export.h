#pragma once

#include <QString>
#include <functional>

namespace data { class Dataset; }
namespace spreadsheet { class FormattingWriter; }

namespace timesheet {

// Writes the open print dataset of a month (one row per worker, his hours of all shifts per day
// in sd1 to sd31) to a new workbook: the title, the day numbers, then each worker with his 31 days
// and their total; an empty day is written as 0. `rowWritten(written, total)` is told before the
// first row and after each one. Returns false when no workbook could be had.
bool exportMonth(data::Dataset& hours, spreadsheet::FormattingWriter& writer, const QString& title,
                 const std::function<void(int written, int total)>& rowWritten);

}  // namespace timesheet
