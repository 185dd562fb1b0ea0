#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace tolvan::app {

// Adds a separator and an item to the window's system menu (the menu behind its title-bar icon)
// that runs action. False where the platform's windows have no system menu Qt lets us reach;
// the caller then offers the item elsewhere.
bool addToSystemMenu(QWidget* window, const QString& text, std::function<void()> action);

} // namespace tolvan::app
