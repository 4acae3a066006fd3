#pragma once

#include <QString>
#include <functional>

namespace spreadsheet {

// Called once when the opening of a file has come to an end: `shown` is false when no program
// could show the file.
using OpenOutcome = std::function<void(bool shown)>;

// Opens a file with the desktop's program for its type through xdg-open, the desktop's own way on
// every Linux desktop. The outcome is known only when xdg-open ends, which may be long after this
// returns (on a bare desktop it waits for the program it started): it fails when there is no
// program for the type, or when the program cannot open the file. No xdg-open at all, or one
// that cannot start, fails at once. The outcome comes on the program's thread.
void openWithDesktopProgram(const QString& path, OpenOutcome outcome);

}  // namespace spreadsheet
