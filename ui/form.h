#pragma once

#include <QDialog>
#include <QString>

class QPushButton;

namespace ui {

// A window of the program. It exists once for the whole run and keeps its state between
// showings. Its mode lives in its tag: for editors 1 = new, 2 = change; for lists 0 = list mode,
// another value names the opener in picker mode.
class Form : public QDialog {
    Q_OBJECT

public:
    Form(const QString& name, const QString& caption, QWidget* parent = nullptr);

    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    // Runs when the window becomes the active window: when it is shown, and again when a window
    // opened from it closes. Message boxes do not count.
    virtual void formActivate() {}

private:
    int tag_ = 0;
};

// A push button named as the control it is. Enter presses only the window's default button,
// never the button that happens to have the focus.
QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption);

}  // namespace ui
