#include "ui/date_picker.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QTimer>

namespace ui {

DatePicker::DatePicker(const QString& name, QWidget* parent) : QDateEdit(parent) {
    setObjectName(name);
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    // The calendar signals a picked day, but not Escape or a click elsewhere; all three hide its
    // drop-down, so the hiding is what counts.
    calendarWindow()->installEventFilter(this);
}

QWidget* DatePicker::calendarWindow() const { return calendarWidget()->window(); }

bool DatePicker::eventFilter(QObject* watched, QEvent* event) {
    // The closing calendar may still set the box's date while its drop-down hides, after this
    // filter has seen the hiding: report once it has.
    if (watched == calendarWindow() && event->type() == QEvent::Hide)
        QTimer::singleShot(0, this, [this] { emit dateChosen(); });
    return QDateEdit::eventFilter(watched, event);
}

void DatePicker::keyPressEvent(QKeyEvent* event) {
    QDateEdit::keyPressEvent(event);
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();   // Enter chooses the date; it does not press a button of the window
        emit dateChosen();
    }
}

}  // namespace ui
