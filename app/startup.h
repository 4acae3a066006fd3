#pragma once

#include <QStringList>

// Starts the run: connects to the database named on the command line (`args` without the
// program name), creates every window, shows the login window and runs until the run ends.
// Returns the exit code.
int runProgram(const QStringList& args);
