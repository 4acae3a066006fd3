#include "data/sql_text.h"

namespace sql {

QString integer(qint64 value) { return QString::number(value); }

QString decimal(const data::Decimal& value) { return value.toString(u'.'); }

QString date(const QDate& value) { return value.toString(QStringLiteral("dd.MM.yyyy")); }

QString escaped(const QString& value) {
    QString out = value;
    out.remove(QChar(0));   // libpq would end the statement there
    return out.replace(u'\'', QStringLiteral("''"));
}

QString text(const QString& value) { return u'\'' + escaped(value) + u'\''; }

}  // namespace sql
