#include "data/pg_values.h"

#include "data/decimal.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTime>

namespace data {
namespace {

// Type oids of pg_type that the program reads.
enum Oid : unsigned int {
    Bool = 16, Int8 = 20, Int2 = 21, Int4 = 23, Oid_ = 26,
    Float4 = 700, Float8 = 701, Numeric = 1700,
    Date = 1082, Time = 1083, Timestamp = 1114, TimestampTz = 1184,
};

QDateTime parseTimestamp(const QString& s) {
    // ISO output: "2024-02-14 22:19:02[.123456][+03]"
    QDateTime dt = QDateTime::fromString(s.left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!dt.isValid()) dt = QDateTime::fromString(s.left(10), QStringLiteral("yyyy-MM-dd"));
    return dt;
}

}  // namespace

QVariant fromPgText(unsigned int typeOid, const char* text, int length) {
    const QByteArray raw = QByteArray::fromRawData(text, length);
    switch (typeOid) {
    case Bool: return QVariant(raw == "t");
    case Int2:
    case Int4: return QVariant(raw.toInt());
    case Int8:
    case Oid_: return QVariant(raw.toLongLong());
    case Float4:
    case Float8: return QVariant(raw.toDouble());
    case Numeric: {
        // Kept as the digits the server sent; NaN, the one value that is no number, stays text.
        const auto decimal = Decimal::parse(QString::fromLatin1(raw));
        return decimal ? QVariant::fromValue(*decimal) : QVariant(QString::fromLatin1(raw));
    }
    case Date: return QVariant(QDate::fromString(QString::fromLatin1(raw), Qt::ISODate));
    case Time: return QVariant(QTime::fromString(QString::fromLatin1(raw.left(8)), Qt::ISODate));
    case Timestamp:
    case TimestampTz: return QVariant(parseTimestamp(QString::fromLatin1(raw)));
    default: return QVariant(QString::fromUtf8(raw));
    }
}

std::optional<QByteArray> toPgText(const QVariant& value) {
    if (value.isNull()) return std::nullopt;
    if (value.metaType() == QMetaType::fromType<Decimal>()) return value.value<Decimal>().toString().toLatin1();
    switch (value.typeId()) {
    case QMetaType::Bool: return QByteArray(value.toBool() ? "t" : "f");
    case QMetaType::Double:
    case QMetaType::Float:
        return QByteArray::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QMetaType::QDate: return value.toDate().toString(Qt::ISODate).toLatin1();
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1();
    default: return value.toString().toUtf8();
    }
}

}  // namespace data
