#pragma once

#include "cli/cliapp.h"

namespace tolvan::cli {

// params read FILE and params write FILE: the data setting mode's read and write without a
// screen, with log file 1 as the file between them.
void addParamsCommands(CliApp& app);

} // namespace tolvan::cli
