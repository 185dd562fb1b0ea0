#pragma once

namespace tolvan::cli {

class CliApp;

// The registration command: register BASE --ps-number NNN --pin NNNN (ZX-VA100 only).
void addRegisterCommands(CliApp& app);

} // namespace tolvan::cli
