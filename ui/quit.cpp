#include "ui/quit.h"

#include <QCoreApplication>

namespace ui {
namespace {
std::function<void()> handler;
}

void requestQuit() {
    // exit() stops every running event loop, the modal ones too, without asking windows to close.
    if (handler) handler();
    else QCoreApplication::exit(0);
}

void setQuitHandler(std::function<void()> h) { handler = std::move(h); }

}  // namespace ui
