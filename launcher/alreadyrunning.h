#pragma once

#include <QString>

// The launcher's single-instance name: the name of its system-wide lock and the title of the
// refusal a second copy shows.
QString launcherInstanceName();

// Tells the user that a launcher already runs (modal, stop icon). With dismissAtOnce the
// message closes as soon as it is shown and is echoed to stderr, so a copy started headless
// by a test ends by itself.
void showAlreadyRunning(bool dismissAtOnce = false);
