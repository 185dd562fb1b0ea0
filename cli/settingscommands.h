#pragma once

namespace tolvan::cli {

class CliApp;

// The handset setting mode's commands: settings read and write (log file 4).
void addSettingsCommands(CliApp& app);

} // namespace tolvan::cli
