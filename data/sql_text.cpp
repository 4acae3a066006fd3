#include "data/sql_text.h"

#include <QLocale>

namespace sql {

QString integer(qint64 value) { return QString::number(value); }

QString decimal(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString date(const QDate& value) { return value.toString(QStringLiteral("dd.MM.yyyy")); }

QString escaped(const QString& value) {
    QString out = value;
    out.remove(QChar(0));   // libpq would end the statement there
    return out.replace(u'\'', QStringLiteral("''"));
}

QString text(const QString& value) { return u'\'' + escaped(value) + u'\''; }

}  // namespace sql
