#pragma once

// deferTerminationDuringPlacement: Ctrl-C or a SIGTERM that comes while a set of log files is
// being put in place ends tolvan-cli only once the set is wholly placed. Work with safe points (a
// provisioning run) may take the first one as a request to stop at the next of them.

namespace tolvan::cli {

// Installs the handlers (where the platform has such signals; elsewhere it does nothing). A
// signal the shell told the program to ignore stays ignored.
void deferTerminationDuringPlacement();

// While on, the first Ctrl-C or SIGTERM only asks the work to stop (stopAskedBy() says which signal
// did); a second one ends the program as usual. Turned off, a signal that asked takes its effect
// then: the program ends by it, still after a set being placed.
void askStopOnTermination(bool on);
int stopAskedBy();

} // namespace tolvan::cli
