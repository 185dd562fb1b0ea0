#pragma once

#include "shell/modecontext.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class QWidget;

namespace tolvan::shell {

class ModeScreen;

// How a mode joins Tolvan's main menu: its button, the operation id and read script the menu
// starts it with, and the window it opens afterwards. Each mode's screen library exports one; a
// mode without a window in this build has no factory and its button stays disabled.
struct ModeDescriptor {
    using Factory = std::function<std::unique_ptr<ModeScreen>(ModeContext&, QWidget*)>;

    QString buttonText;
    std::uint32_t operationId = 0;
    std::uint8_t readScript = 0;
    Factory open;
};

// The factory of a mode whose window class is made from the context and a parent.
template <typename Screen> ModeDescriptor::Factory windowFactory() {
    return [](ModeContext& context, QWidget* parent) -> std::unique_ptr<ModeScreen> {
        return std::make_unique<Screen>(context, parent);
    };
}

} // namespace tolvan::shell
