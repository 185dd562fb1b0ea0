#pragma once

#include <utility>

namespace tolvan::shell {

// Set by the handset setting mode just before it cancels an operation, so that the progress
// dialog it opens next says that it is cancelling; the dialog takes it down when it uses it.
// One instance lives with the main menu and is handed to the modes.
class AbortTextFlag {
public:
    void raise() { m_raised = true; }
    bool isRaised() const { return m_raised; }
    bool take() { return std::exchange(m_raised, false); }

private:
    bool m_raised = false;
};

} // namespace tolvan::shell
