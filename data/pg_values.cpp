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

// The number written by the n digits at `pos` of `s`, or -1 when any of them is not a digit.
int digitsAt(const QByteArray& s, qsizetype pos, int n) {
    if (pos + n > s.size()) return -1;
    int value = 0;
    for (qsizetype i = pos; i < pos + n; ++i) {
        const char c = s[i];
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The server's ISO dates ("2024-02-14") are read digit by digit: Qt's general parser costs more
// than the rest of a journal row. Anything else (BC dates, infinity, five-digit years) takes the
// general parser.
QDate parseDate(const QByteArray& raw) {
    if (raw.size() == 10 && raw[4] == '-' && raw[7] == '-') {
        const int y = digitsAt(raw, 0, 4), m = digitsAt(raw, 5, 2), d = digitsAt(raw, 8, 2);
        if (y >= 0 && m >= 0 && d >= 0) return QDate(y, m, d);
    }
    return QDate::fromString(QString::fromLatin1(raw), Qt::ISODate);
}

// "2024-02-14 22:19:02[.123456][+03]", to the second.
QDateTime parseTimestamp(const QByteArray& raw) {
    if (raw.size() >= 19 && raw[10] == ' ' && raw[13] == ':' && raw[16] == ':') {
        const QDate date = parseDate(raw.left(10));
        const int h = digitsAt(raw, 11, 2), mi = digitsAt(raw, 14, 2), sec = digitsAt(raw, 17, 2);
        if (date.isValid() && h >= 0 && mi >= 0 && sec >= 0) return QDateTime(date, QTime(h, mi, sec));
    }
    const QString s = QString::fromLatin1(raw);
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
    case Date: return QVariant(parseDate(raw));
    case Time: return QVariant(QTime::fromString(QString::fromLatin1(raw.left(8)), Qt::ISODate));
    case Timestamp:
    case TimestampTz: return QVariant(parseTimestamp(raw));
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
