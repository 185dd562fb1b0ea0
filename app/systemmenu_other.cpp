#include "app/systemmenu.h"

namespace tolvan::app {

// X11 and Wayland window managers own the window menu; Qt has no way into it.
bool addToSystemMenu(QWidget*, const QString&, std::function<void()>) {
    return false;
}

} // namespace tolvan::app
