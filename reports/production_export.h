#pragma once

#include <QString>
#include <functional>

namespace data { class Dataset; }
namespace spreadsheet { class BasicWriter; }

namespace reports {

// The statement of the production export: good pieces and their mass per product group,
// operation kind, product kind and colour of a period.
QString productionSql();

// An operation kind with its colour: " (грунт)" for primer, " (цвет: N)" for a colour number,
// nothing for none.
QString operationWithColour(const QString& vid, qint64 color);

// Writes the open production rows to a new workbook: the header, then one row per line of the
// dataset. `rowWritten(written, total)` is told before the first row and after each one. Returns
// false when no workbook could be had.
bool exportProduction(data::Dataset& rows, spreadsheet::BasicWriter& writer,
                      const std::function<void(int written, int total)>& rowWritten);

}  // namespace reports
