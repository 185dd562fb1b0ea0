#pragma once

namespace tolvan::cli {

class CliApp;

// The provisioning run: provision PLAN --template SET --out DIR [--register] [--port DEV]...
// [--retry-failed]; one worker per port, one line per handset on stdout, journal and summary in
// DIR.
void addProvisionCommand(CliApp& app);

} // namespace tolvan::cli
