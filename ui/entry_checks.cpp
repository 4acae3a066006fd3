#include "ui/entry_checks.h"

#include "ui/dialogs.h"

#include <QRegularExpression>

namespace ui {

bool textFits(const QString& text, int limit, const QString& caption) {
    if (text.toUcs4().size() <= limit) return true;
    showError(QStringLiteral("Поле «") + caption + QStringLiteral("»: не больше ") + QString::number(limit) +
              QStringLiteral(" знаков!"));
    return false;
}

bool wholeNumberFits(const QString& text, qint64 min, qint64 max, const QString& caption) {
    static const QRegularExpression wholeNumber(QStringLiteral("^-?[0-9]+$"));
    const QString prefix = QStringLiteral("Поле «") + caption + QStringLiteral("»: ");
    if (!wholeNumber.match(text).hasMatch()) {
        showError(prefix + QStringLiteral("только цифры!"));
        return false;
    }
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);   // more digits than 64 bits hold are out of range too
    const bool negative = text.startsWith(u'-');
    if ((!ok && negative) || (ok && value < min)) {
        showError(prefix + QStringLiteral("число не меньше ") + QString::number(min) + u'!');
        return false;
    }
    if (!ok || value > max) {
        showError(prefix + QStringLiteral("число не больше ") + QString::number(max) + u'!');
        return false;
    }
    return true;
}

}  // namespace ui
