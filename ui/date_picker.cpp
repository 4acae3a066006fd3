#include "ui/date_picker.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QTimer>

namespace ui {

DatePicker::DatePicker(const QString& name, QWidget* parent) : QDateEdit(parent) {
    setObjectName(name);
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    // The box takes the clicked day after the calendar's own signal: report it once it has.
    connect(calendarWidget(), &QCalendarWidget::clicked, this,
            [this] { QTimer::singleShot(0, this, [this] { emit dateChosen(); }); });
    connect(calendarWidget(), &QCalendarWidget::activated, this,
            [this] { QTimer::singleShot(0, this, [this] { emit dateChosen(); }); });
}

void DatePicker::keyPressEvent(QKeyEvent* event) {
    QDateEdit::keyPressEvent(event);
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();   // Enter chooses the date; it does not press a button of the window
        emit dateChosen();
    }
}

}  // namespace ui
