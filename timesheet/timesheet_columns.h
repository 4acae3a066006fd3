#pragma once

#include "ui/dataset_model.h"

#include <QColor>
#include <QList>

// How the timesheet grids look: their columns, the month's weekend and beyond-month columns, and
// the drawing of a day cell by its hours.
namespace timesheet {

inline const QColor weekendRed(255, 0, 0);
inline const QColor silver(192, 192, 192);
inline const QColor longDayGreen(192, 220, 192);
inline const QColor totalBlue(225, 228, 255);

// The name, the 31 days and the total; the first shift's grid also shows the earnings.
QList<ui::GridColumn> gridColumns(bool withEarnings);

// Day column of `column`, 1..31, or 0 for the other columns.
int dayOf(const ui::GridColumn& column);

// Days of the month that fall on a weekend are red, text and title; days beyond the month are
// read-only, their values in the window's background colour and their titles silver.
void markMonth(QList<ui::GridColumn>& columns, int month, int year);

// 0 or empty: silver (red kept on a weekend, invisible beyond the month); 8: bold; more than 8:
// bold on light green. The total is bold on light blue.
void styleCell(const QVariant& value, const ui::GridColumn& column, ui::CellStyle& style);

}  // namespace timesheet
