#pragma once

#include "cli/reportkinds.h"

namespace tolvan::cli {

// The printed report of a log file 2 (.jv2), for the print command.
ReportBuild logFile2Report(const ReportSource& source);

} // namespace tolvan::cli
