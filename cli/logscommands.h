#pragma once

namespace tolvan::cli {

class CliApp;

// The log display mode's commands: logs read (log file 3) and logs clear.
void addLogsCommands(CliApp& app);

} // namespace tolvan::cli
