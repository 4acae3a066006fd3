#include "ui/quit.h"

#include <QCoreApplication>

namespace ui {
namespace {
std::function<void()> handler;
}

void requestQuit() {
    if (handler) handler();
    else QCoreApplication::quit();
}

void setQuitHandler(std::function<void()> h) { handler = std::move(h); }

}  // namespace ui
