#pragma once

#include <functional>

namespace ui {

// Runs one user operation. An error it does not handle itself (a database error, say) is shown
// in the standard error box; the operation stops where it failed and the program goes on. Every
// slot, timer and event handler of a window runs inside this, so no error crosses the toolkit.
void runGuarded(const std::function<void()>& operation) noexcept;

// A slot that runs `operation` guarded.
inline auto guarded(std::function<void()> operation) {
    return [operation = std::move(operation)] { runGuarded(operation); };
}

}  // namespace ui
