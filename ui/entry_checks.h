#pragma once

#include <QString>

// Checks of typed values against the columns they are written to, made before any statement is
// sent: the user reads which box is wrong instead of the server's error, and nothing is written.
// Each shows its message ("Ошибка", error icon) and returns false when the value does not fit.
namespace ui {

// At most `limit` characters, counted as the server counts them (a character beyond the basic
// plane, such as an emoji, is one).
bool textFits(const QString& text, int limit, const QString& caption);

// A whole number in decimal digits (a minus allowed in front) between `min` and `max`.
bool wholeNumberFits(const QString& text, qint64 min, qint64 max, const QString& caption);

// Column ranges of the whole-number types.
constexpr qint64 smallintMax = 32767;
constexpr qint64 integerMin = -2147483648LL;
constexpr qint64 integerMax = 2147483647;

}  // namespace ui
