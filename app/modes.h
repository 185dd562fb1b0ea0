#pragma once

#include "app/ctolvandlg.h"

namespace tolvan::app {

// The main menu's five modes, in button order, each with the descriptor its screen library exports.
std::array<ModeEntry, 5> availableModes();

} // namespace tolvan::app
