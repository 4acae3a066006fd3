#pragma once

#include <QDate>

namespace ui {

// Today's date as the windows see it. Tests set another day to see what the windows do on it.
QDate today();
void setToday(const QDate& day);   // an invalid date restores the system clock

inline bool isWeekend(const QDate& day) { return day.dayOfWeek() >= Qt::Saturday; }

}  // namespace ui
