#pragma once

#include "app/ctolvandlg.h"

namespace tolvan::app {

// The main menu's five modes, each with the descriptor its screen library exports. A mode whose
// screen is not built yet keeps the main menu's entry without a window (its button disabled).
std::array<ModeEntry, 5> availableModes();

} // namespace tolvan::app
