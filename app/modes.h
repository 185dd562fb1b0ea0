#pragma once

#include "app/ctolvandlg.h"

namespace tolvan::app {

// The main menu's five modes with the windows that exist in this build.
std::array<ModeEntry, 5> availableModes();

} // namespace tolvan::app
