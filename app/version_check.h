#pragma once

#include "app/build_stamp.h"

struct Roster;

// Compares this build with the newest build that has connected to the database, kept in
// accounts_dep.ver. A newer build records its stamp there; an older one is told to start again
// later and the run ends. It also loads the database's decimal separator into the data module.
// Runs when the login window is activated and every 30 seconds from the journal's timer.
void VersionCheck(Roster& roster, const BuildStamp& build = compiledBuildStamp());
