#include "journal/record_price.h"

namespace journal {
namespace {

data::Decimal times(const data::Decimal& value, const char16_t* factor) {
    // A price of at most 28 digits times a factor of two digits always fits.
    return *value.times(*data::Decimal::parse(factor));
}

}  // namespace

data::Decimal finalPrice(const data::Decimal& listPrice, bool dayOff, int shift) {
    data::Decimal price = listPrice;
    if (dayOff) price = times(price, u"2");
    if (shift == 3) price = times(price, u"1.2");
    if (shift == 4) price = times(price, u"1.5");
    return price;
}

data::Decimal roundedPrice(const data::Decimal& value) {
    return value.rounded(4, data::Decimal::Rounding::HalfEven);
}

QString shownPrice(const data::Decimal& value, const QLocale& locale) {
    return roundedPrice(value).toString(locale.decimalPoint().front());
}

}  // namespace journal
