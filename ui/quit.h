#pragma once

#include <functional>

namespace ui {

// Asks the application to end: the event loops stop and the run ends. Tests replace the handler
// to see that the program asked.
void requestQuit();
void setQuitHandler(std::function<void()> handler);   // empty restores the default

}  // namespace ui
