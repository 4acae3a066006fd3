#pragma once

#include <QDate>
#include <QString>

namespace utility {

// The statement that prices every utility work of kind 7778 booked in `day`'s month at its
// worker's piece-work earnings per hour of that month on products of the work's nomenclature
// group (0 when he has no such hours). The month runs from its first day up to, not including,
// the first day of the next; December's next month is January of the following year.
QString averagePieceRateSql(const QDate& day);

}  // namespace utility
