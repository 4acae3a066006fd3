#pragma once

#include <QDateEdit>

namespace ui {

// A date box with a drop-down calendar. A date counts as chosen when the calendar closes on a day
// or Enter is pressed in the box; typing alone chooses nothing.
class DatePicker : public QDateEdit {
    Q_OBJECT

public:
    DatePicker(const QString& name, QWidget* parent = nullptr);

signals:
    void dateChosen();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace ui
