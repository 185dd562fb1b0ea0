#pragma once

#include "app/shell/modecontext.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>

namespace tolvan::shell {

// The calling order every mode repeats, in one place: run a script under the progress dialog,
// send a single command, pause the link around a file or print dialog, leave the mode.
class ModeLink {
public:
    ModeLink(ModeContext& context, QWidget* owner) : m_context(context), m_owner(owner) {}

    // Starts the script and shows the progress dialog (the owner hidden meanwhile) until it
    // ends; then the no-data dialog if the dialogue went idle. True when the script ended with
    // the dialogue in keep-alive. reconnect requests the open frame at once (after a
    // handset-reconnected event) instead of in place of the next keep-alive frame.
    bool runScript(std::uint32_t operationId, std::uint8_t script, bool reconnect = false);
    void sendSingle(std::uint32_t code) { m_context.session.sendSingle(code); }
    // Before a file or print dialog.
    void pauseForDialog() { m_context.session.pauseForDialog(m_context.portUsed); }
    void leaveMode() { m_context.session.leaveMode(); }

    link::LinkState& state() { return m_context.session.state(); }
    ModeContext& context() { return m_context; }

private:
    ModeContext& m_context;
    QPointer<QWidget> m_owner;
};

} // namespace tolvan::shell
