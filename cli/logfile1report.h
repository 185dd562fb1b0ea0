#pragma once

#include "cli/reportkinds.h"

namespace tolvan::cli {

// The printed report of a log file 1, for any of the three models: the model is the one the
// header names, and the values are read as the data setting screen opens the file.
ReportBuild logFile1Report(const ReportSource& source);

} // namespace tolvan::cli
