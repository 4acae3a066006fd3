#include "app/startup.h"
#include "ui/guard.h"

#include <QApplication>
#include <cstdio>

namespace {

// Catches whatever an event handler let through, so that an error never ends the run.
class Application : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        bool handled = false;
        ui::runGuarded([&] { handled = QApplication::notify(receiver, event); });
        return handled;
    }
};

bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char** argv) {
    if (!hasDisplay()) {
        std::fputs("tabel: нет графического дисплея (DISPLAY не задан); программа работает только "
                   "на рабочем столе.\ntabel: no graphical display (DISPLAY is not set).\n",
                   stderr);
        return 2;
    }
    Application application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    return runProgram(application.arguments().mid(1));
}
