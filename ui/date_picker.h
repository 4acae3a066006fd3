#pragma once

#include <QDateEdit>

namespace ui {

// A date box with a drop-down calendar. A date counts as chosen when the calendar closes, however
// it closes (a day picked, Escape, a click elsewhere), or when Enter is pressed in the box;
// typing alone chooses nothing.
class DatePicker : public QDateEdit {
    Q_OBJECT

public:
    DatePicker(const QString& name, QWidget* parent = nullptr);

    // The drop-down window that holds the calendar.
    QWidget* calendarWindow() const;

signals:
    void dateChosen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace ui
