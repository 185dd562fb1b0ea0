#pragma once

namespace tolvan::cli {

class CliApp;

// A handset's history: history (the handsets known, or the versions of one with what each
// changed; old backups removed on request) and restore (a version written back).
void addHistoryCommands(CliApp& app);

} // namespace tolvan::cli
