#pragma once

#include <QIcon>

namespace tolvan::app {

// Tolvan's icon at the sizes a title bar, a task bar and a desktop ask for.
QIcon toolIcon();

} // namespace tolvan::app
