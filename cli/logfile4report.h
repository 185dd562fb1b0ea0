#pragma once

#include "cli/reportkinds.h"

namespace tolvan::cli {

// The printed report of a log file 4 (.jv4), for the print command.
ReportBuild logFile4Report(const ReportSource& source);

} // namespace tolvan::cli
