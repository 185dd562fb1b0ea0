#pragma once

#include "cli/cliapp.h"
#include "cli/reportkinds.h"

namespace tolvan::cli {

// print FILE --pdf OUT: the printed report of a log file, drawn by the shared report renderer
// into a PDF instead of onto a printer.
void addPrintCommand(CliApp& app, ReportKinds kinds);

} // namespace tolvan::cli
