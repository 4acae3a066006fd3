#include "refbooks/operation_price.h"

#include <stdexcept>

namespace refbooks {
namespace {

data::Decimal times(const data::Decimal& value, const char16_t* factor) {
    const auto product = value.times(*data::Decimal::parse(factor));
    if (!product) throw std::overflow_error("price out of range");
    return *product;
}

}  // namespace

data::Decimal raisedPrice(const data::Decimal& listPrice, bool dayOff, int shift) {
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

}  // namespace refbooks
