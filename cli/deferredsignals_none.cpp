#include "cli/deferredsignals.h"

namespace tolvan::cli {

// Windows ends a console program by a control event, not by these signals; a placement cut short
// there is recovered by the next use of the set.
void deferTerminationDuringPlacement() {}

void askStopOnTermination(bool) {}

int stopAskedBy() {
    return 0;
}

} // namespace tolvan::cli
