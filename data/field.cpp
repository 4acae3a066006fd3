#include "data/field.h"

#include <QLocale>
#include <cmath>

namespace data {

QString displayText(const QVariant& value) {
    if (value.isNull()) return {};
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
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

int Field::asInteger() const { return int(asLargeInt()); }

qint64 Field::asLargeInt() const {
    if (value_.isNull()) return 0;
    if (value_.typeId() == QMetaType::Double) return qint64(std::llround(value_.toDouble()));
    return value_.toString().trimmed().toLongLong();
}

double Field::asFloat() const {
    if (value_.isNull()) return 0;
    return value_.toString().trimmed().toDouble();
}

QDate Field::asDate() const { return asDateTime().date(); }

QDateTime Field::asDateTime() const {
    if (value_.typeId() == QMetaType::QDate) return value_.toDate().startOfDay();
    return value_.toDateTime();
}

}  // namespace data
