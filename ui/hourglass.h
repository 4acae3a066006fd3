#pragma once

#include <QApplication>

namespace ui {

// Shows the hourglass while a slow operation runs; the normal cursor comes back however it ends.
class HourglassCursor {
public:
    HourglassCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~HourglassCursor() { QApplication::restoreOverrideCursor(); }
    HourglassCursor(const HourglassCursor&) = delete;
    HourglassCursor& operator=(const HourglassCursor&) = delete;
};

}  // namespace ui
