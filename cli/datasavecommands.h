#pragma once

namespace tolvan::cli {

class CliApp;

// The data save mode's commands: save (read everything into a set of .jv1, .jv3 and .jv4) and
// write-back (a saved set into the handset, optionally read again and compared).
void addDataSaveCommands(CliApp& app);

} // namespace tolvan::cli
