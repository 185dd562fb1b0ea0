#pragma once

// deferTerminationDuringPlacement: Ctrl-C or a SIGTERM that comes while a set of log files is
// being put in place ends tolvan-cli only once the set is wholly placed.

namespace tolvan::cli {

// Installs the handlers (where the platform has such signals; elsewhere it does nothing). A
// signal the shell told the program to ignore stays ignored.
void deferTerminationDuringPlacement();

} // namespace tolvan::cli
