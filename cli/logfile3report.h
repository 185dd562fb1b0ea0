#pragma once

#include "cli/reportkinds.h"

namespace tolvan::cli {

// The printed report of a log file 3 (.jv3), for the print command.
ReportBuild logFile3Report(const ReportSource& source);

} // namespace tolvan::cli
