#include "data/field.h"

#include <QLocale>

namespace data {

std::optional<Decimal> decimalOf(const QVariant& value) {
    if (value.isNull()) return std::nullopt;
    if (value.metaType() == QMetaType::fromType<Decimal>()) return value.value<Decimal>();
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: return Decimal::fromDouble(value.toDouble());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort: return Decimal::fromInteger(value.toLongLong());
    default: return Decimal::parse(value.toString());
    }
}

QString displayText(const QVariant& value) {
    if (value.isNull()) return {};
    if (value.metaType() == QMetaType::fromType<Decimal>()) return value.value<Decimal>().toString();
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: {
        const auto exact = Decimal::fromDouble(value.toDouble());
        return exact ? exact->toString() : QString::number(value.toDouble(), 'f', QLocale::FloatingPointShortest);
    }
    case QMetaType::QDate: return value.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        if (dt.time() == QTime(0, 0)) return dt.date().toString(QStringLiteral("dd.MM.yyyy"));
        return dt.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    }
    default: return value.toString();
    }
}

QString Field::asString() const { return displayText(value_); }

QString Field::asUnpaddedString() const {
    QString text = asString();
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ') --end;
    text.truncate(end);
    return text;
}

qint64 Field::asInteger() const {
    const auto exact = decimalOf(value_);
    if (!exact) return 0;
    return exact->rounded(0).toInteger().value_or(0);
}

Decimal Field::asDecimal() const { return decimalOf(value_).value_or(Decimal()); }

QDate Field::asDate() const { return asDateTime().date(); }

QDateTime Field::asDateTime() const {
    if (value_.typeId() == QMetaType::QDate) return value_.toDate().startOfDay();
    return value_.toDateTime();
}

}  // namespace data
