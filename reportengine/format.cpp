#include "reportengine/format.h"

#include "data/field.h"

namespace reportengine {

namespace {

// Digits after the point that a mask asks for.
int maskDecimals(const QString& mask) {
    const qsizetype point = mask.indexOf(u'.');
    return point < 0 ? 0 : int(mask.size() - point - 1);
}

}  // namespace

QString formatValue(const QVariant& value, const QString& mask) {
    if (value.isNull()) return {};
    if (!mask.isEmpty() && value.metaType().id() != QMetaType::QString)
        if (const auto number = data::decimalOf(value)) return number->toFixed(maskDecimals(mask));
    return data::displayText(value);
}

QString STR(const QVariant& value) { return data::displayText(value); }

}  // namespace reportengine
