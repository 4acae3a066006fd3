#include "data/row_filter.h"

#include "data/db_error.h"
#include "data/field.h"

namespace data {
namespace {

// Reads the filter text token by token: names, quoted literals ('' inside), numbers, '='.
class Tokens {
public:
    explicit Tokens(const QString& text) : s_(text) {}

    bool atEnd() { skipBlanks(); return i_ >= s_.size(); }

    QString name() {
        skipBlanks();
        const qsizetype start = i_;
        while (i_ < s_.size() && (s_[i_].isLetterOrNumber() || s_[i_] == u'_' || s_[i_] == u'.')) ++i_;
        if (i_ == start) fail();
        return s_.mid(start, i_ - start);
    }

    bool take(QLatin1String word) {
        skipBlanks();
        if (s_.mid(i_, word.size()).compare(word, Qt::CaseInsensitive) != 0) return false;
        const qsizetype after = i_ + word.size();
        if (QChar(word.front()).isLetter() && after < s_.size() && s_[after].isLetterOrNumber()) return false;
        i_ = after;
        return true;
    }

    bool atQuote() { skipBlanks(); return i_ < s_.size() && s_[i_] == u'\''; }

    QString quoted() {
        if (!atQuote()) fail();
        QString out;
        for (++i_; i_ < s_.size(); ++i_) {
            if (s_[i_] != u'\'') { out += s_[i_]; continue; }
            if (i_ + 1 < s_.size() && s_[i_ + 1] == u'\'') { out += u'\''; ++i_; continue; }
            ++i_;
            return out;
        }
        fail();
    }

    Decimal number() {
        skipBlanks();
        const qsizetype start = i_;
        while (i_ < s_.size() && (s_[i_].isDigit() || s_[i_] == u'.' || s_[i_] == u'-')) ++i_;
        const auto value = Decimal::parse(QStringView(s_).mid(start, i_ - start));
        if (!value) fail();
        return *value;
    }

    [[noreturn]] void fail() const {
        throw DbError(QStringLiteral("Неверное условие отбора: %1").arg(s_));
    }

private:
    void skipBlanks() { while (i_ < s_.size() && s_[i_].isSpace()) ++i_; }

    const QString& s_;
    qsizetype i_ = 0;
};

bool isWildcard(QChar c) { return c == u'%' || c == u'*'; }

struct LikePattern {
    QString text;
    bool anyPrefix = false;
    bool anySuffix = false;
};

// A leading and a trailing wildcard make the pattern open at that end. A backslash makes the
// character after it literal, so a search text may itself begin or end with '%' or '*'.
LikePattern likePattern(const QString& raw) {
    LikePattern pattern;
    qsizetype begin = 0;
    qsizetype end = raw.size();
    if (begin < end && isWildcard(raw[begin])) {
        pattern.anyPrefix = true;
        ++begin;
    }
    if (end > begin && isWildcard(raw[end - 1])) {
        qsizetype backslashes = 0;
        for (qsizetype i = end - 2; i >= begin && raw[i] == u'\\'; --i) ++backslashes;
        if (backslashes % 2 == 0) {
            pattern.anySuffix = true;
            --end;
        }
    }
    for (qsizetype i = begin; i < end; ++i) {
        if (raw[i] == u'\\' && i + 1 < end) ++i;
        pattern.text += raw[i];
    }
    return pattern;
}

}  // namespace

RowFilter RowFilter::parse(const QString& text) {
    RowFilter filter;
    Tokens tokens(text);
    do {
        Term term;
        term.field = tokens.name();
        if (tokens.take(QLatin1String("like"))) {
            const LikePattern pattern = likePattern(tokens.quoted());
            term.like = true;
            term.anyPrefix = pattern.anyPrefix;
            term.anySuffix = pattern.anySuffix;
            term.text = pattern.text;
        } else if (tokens.take(QLatin1String("="))) {
            if (tokens.atQuote()) {
                term.text = tokens.quoted();
            } else {
                term.numeric = true;
                term.number = tokens.number();
            }
        } else {
            tokens.fail();
        }
        filter.terms_.push_back(term);
    } while (tokens.take(QLatin1String("and")));
    if (!tokens.atEnd()) tokens.fail();
    return filter;
}

bool RowFilter::matches(const ValueOf& valueOf) const {
    for (const Term& term : terms_) {
        const QVariant value = valueOf(term.field);
        if (term.numeric) {
            const auto exact = decimalOf(value);
            if (!exact || *exact != term.number) return false;
            continue;
        }
        // Blank-padded columns compare as their text without the padding.
        const QString text = Field(value).asUnpaddedString();
        if (!term.like) {
            if (text.compare(term.text, Qt::CaseInsensitive) != 0) return false;
            continue;
        }
        const Qt::CaseSensitivity cs = Qt::CaseInsensitive;
        bool ok;
        if (term.anyPrefix && term.anySuffix) ok = text.contains(term.text, cs);
        else if (term.anySuffix) ok = text.startsWith(term.text, cs);
        else if (term.anyPrefix) ok = text.endsWith(term.text, cs);
        else ok = text.compare(term.text, cs) == 0;
        if (!ok) return false;
    }
    return true;
}

}  // namespace data
