#include "data/named_params.h"

#include "data/statement.h"

namespace data {
namespace {

bool isNameStart(QChar c) { return c.isLetter() || c == u'_'; }
bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

// Index just past the quoted run that starts at i with the quote character q ('' or "" inside).
qsizetype skipQuoted(const QString& s, qsizetype i, QChar q) {
    for (++i; i < s.size(); ++i) {
        if (s[i] != q) continue;
        if (i + 1 < s.size() && s[i + 1] == q) { ++i; continue; }
        return i + 1;
    }
    return s.size();
}

qsizetype skipLineComment(const QString& s, qsizetype i) {
    const qsizetype end = s.indexOf(u'\n', i);
    return end < 0 ? s.size() : end;
}

qsizetype skipBlockComment(const QString& s, qsizetype i) {
    const qsizetype end = s.indexOf(QStringLiteral("*/"), i + 2);
    return end < 0 ? s.size() : end + 2;
}

}  // namespace

PositionalSql toPositional(const QString& sql) {
    PositionalSql out;
    out.text.reserve(sql.size());
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql[i];
        qsizetype next = i + 1;
        if (c == u'\'' || c == u'"') {
            next = skipQuoted(sql, i, c);
        } else if (c == u'-' && sql.mid(i, 2) == QLatin1String("--")) {
            next = skipLineComment(sql, i);
        } else if (c == u'/' && sql.mid(i, 2) == QLatin1String("/*")) {
            next = skipBlockComment(sql, i);
        } else if (c == u':' && i + 1 < sql.size() && sql[i + 1] == u':') {
            next = i + 2;  // a cast
        } else if (c == u':' && i + 1 < sql.size() && isNameStart(sql[i + 1])) {
            qsizetype end = i + 1;
            while (end < sql.size() && isNameChar(sql[end])) ++end;
            const QString name = sql.mid(i + 1, end - i - 1);
            qsizetype number = indexOfName(out.names, name);
            if (number < 0) {
                out.names.append(name);
                number = out.names.size() - 1;
            }
            out.text += u'$' + QString::number(number + 1);
            i = end;
            continue;
        }
        out.text += sql.mid(i, next - i);
        i = next;
    }
    return out;
}

}  // namespace data
