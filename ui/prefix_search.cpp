#include "ui/prefix_search.h"

#include "data/dataset.h"
#include "data/sql_text.h"
#include "ui/guard.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace ui {

PrefixSearch::PrefixSearch(QLineEdit* box, data::Dataset& dataset, QString field, bool onlyTyping, Match match)
    : QObject(box), box_(box), dataset_(dataset), field_(std::move(field)), onlyTyping_(onlyTyping), match_(match) {
    box_->installEventFilter(this);
    connect(box_, &QLineEdit::textChanged, this,
            [this](const QString& text) { runGuarded([&] { search(text); }); });
}

// Every wildcard character and backslash of the typed text is escaped: a text that begins with
// '%' would otherwise open the pattern at its front and show every row.
QString PrefixSearch::filterFor(const QString& field, const QString& text, Match match) {
    QString literal;
    for (const QChar c : text) {
        if (c == u'\\' || c == u'%' || c == u'*') literal += u'\\';
        literal += c;
    }
    const QString anyBefore = match == Match::Contains ? QStringLiteral("%") : QString();
    return field + QStringLiteral(" like '") + anyBefore + sql::escaped(literal) + QStringLiteral("%'");
}

void PrefixSearch::search(const QString& text) {
    if (match_ == Match::Contains ? text.trimmed().isEmpty() : text.isEmpty()) {
        dataset_.setFiltered(false);
        return;
    }
    dataset_.setFilter(filterFor(field_, text, match_));
    dataset_.setFiltered(true);
}

bool PrefixSearch::eventFilter(QObject* watched, QEvent* event) {
    if (watched != box_ || event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Up) {
        runGuarded([this] { dataset_.prior(); });
        return true;
    }
    if (key->key() == Qt::Key_Down) {
        runGuarded([this] { dataset_.next(); });
        return true;
    }
    if (!onlyTyping_) return false;
    // The keys that move the cursor or delete without typing; typing, Backspace, Enter, Esc and
    // the clipboard keys still reach the box and the window.
    switch (key->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Delete:
    case Qt::Key_Insert:
        return true;
    default:
        return false;
    }
}

}  // namespace ui
