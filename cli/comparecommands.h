#pragma once

namespace tolvan::cli {

class CliApp;

// The commands that compare: diff (two saved sets, or two log files of one kind) and check (a set
// or a log file against the handset, which is only read).
void addCompareCommands(CliApp& app);

} // namespace tolvan::cli
