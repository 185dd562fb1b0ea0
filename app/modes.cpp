#include "app/modes.h"

namespace tolvan::app {

std::array<ModeEntry, 5> availableModes() {
    std::array<ModeEntry, 5> modes = CTolvanDlg::defaultModes();
    return modes;
}

} // namespace tolvan::app
