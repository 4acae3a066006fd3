#pragma once

#include "data/decimal.h"

#include <QLocale>

namespace refbooks {

// The price per piece a shift record gets from its operation's list price: doubled on a day off,
// then raised by 20 % on shift 3 and by 50 % on overtime (shift 4).
data::Decimal raisedPrice(const data::Decimal& listPrice, bool dayOff, int shift);

// A price or a sum as the record editor keeps it: at most four decimals, a half going to the even
// neighbour.
data::Decimal roundedPrice(const data::Decimal& value);

// The same, shown with the workstation's decimal separator and no trailing zeros.
QString shownPrice(const data::Decimal& value, const QLocale& locale = QLocale());

}  // namespace refbooks
