#pragma once

#include "data/decimal.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <vector>

namespace data {

// A client-side row filter over rows already fetched, in the forms the windows write:
//   fio like 'Ив%'     prefix    marka like '%12%'   contains    naimen=0    o_id = 5
// terms joined with "and". Text compares without regard to letter case. In a like pattern only
// a leading and a trailing '%' (or '*') are wildcards; every other character, '%' and '_'
// included, stands for itself, and a backslash makes the character after it literal (\% at
// either end), so a search text typed by a user is matched literally.
class RowFilter {
public:
    using ValueOf = std::function<QVariant(const QString& field)>;

    // Throws DbError when the text is not one of the forms above.
    static RowFilter parse(const QString& text);

    bool matches(const ValueOf& valueOf) const;

private:
    struct Term {
        QString field;
        bool like = false;
        QString text;        // like: pattern without its wildcards; '=': the literal
        bool anyPrefix = false;
        bool anySuffix = false;
        bool numeric = false;
        Decimal number;
    };
    std::vector<Term> terms_;
};

}  // namespace data
