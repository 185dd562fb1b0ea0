#pragma once

#include <QIcon>

// The launcher's icon at the sizes a title bar, a task bar and a desktop ask for.
QIcon launcherIcon();
