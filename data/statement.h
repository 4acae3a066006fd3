#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <functional>

namespace data {

// Where `name` stands in `names`, letter case ignored; -1 when it does not.
inline qsizetype indexOfName(const QStringList& names, const QString& name) {
    for (qsizetype i = 0; i < names.size(); ++i)
        if (names[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

// One statement as the program wrote it: the text with its named parameters (":data") and the
// values bound to them, in the order the names first appear in the text.
struct Statement {
    QString text;
    QStringList paramNames;
    QVariantList paramValues;

    QVariant param(const QString& name) const {
        const qsizetype i = indexOfName(paramNames, name);
        return i < 0 ? QVariant() : paramValues.at(i);
    }
};

// Sees every statement sent through a connection, in order. Tests use it to check the exact text.
using StatementListener = std::function<void(const Statement&)>;

}  // namespace data
