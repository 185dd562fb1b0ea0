#pragma once

#include "runner/handsetrunner.h"
#include "shell/modecontext.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>

namespace tolvan::shell {

// The calling order every mode repeats, in one place: run a script under the progress dialog,
// send a single command through the keep-alive dialogue, pause the link around a file or print
// dialog, leave the mode. Screens reach the link only through it.
class ModeLink {
public:
    ModeLink(ModeContext& context, QWidget* owner)
        : m_context(context), m_owner(owner), m_runner(context.session, context.store) {}

    // Starts the script and shows the progress dialog (the owner hidden meanwhile) until it
    // ends; then the no-data dialog if the dialogue went idle. True when the script ended with
    // the dialogue in keep-alive. reconnect requests the open frame at once (after a
    // handset-reconnected event) instead of in place of the next keep-alive frame.
    bool runScript(std::uint32_t operationId, std::uint8_t script, bool reconnect = false);
    // Starts a script without the progress dialog (the screen shows its own please-wait window
    // and follows the link's notices).
    void startScript(std::uint32_t operationId, std::uint8_t script);
    // One command in place of the next frame of the running dialogue.
    void sendSingle(std::uint32_t code);
    // The link engine's no-timer flag (the reset command is sent without a response timer).
    void setNoTimer(bool on);
    // Before a file or print dialog: the running dialogue is closed, and resumeScript becomes the
    // current script again for the next operation.
    void pauseForDialog(std::uint8_t resumeScript);
    // The handset was unplugged: the dialogue is dropped and the close frame made pending, so a
    // handset that comes back is addressed from the start.
    void dropDialogue();
    // "ﾒﾆｭｰに戻る".
    void leaveMode();
    // Registration: the answer flag to 0, then to 2 (registration requested), the result class
    // cleared; the engine sends the registration command after the next status answer.
    void requestRegistration();
    // The dialogue state 0 without a close frame (an aborted registration, before its write-back).
    void stopDialogue();
    // The operation id the engine reports aborts with; a screen sets it with its view state.
    void setOperation(std::uint32_t operationId);

    // What a screen may know of the link.
    const link::LinkState& state() const { return m_context.session.state(); }
    std::uint32_t modelCode() const { return state().modelCode; }
    bool keepAlive() const { return state().dialogueState == link::kKeepAlive; }
    // The write commands' frames, filled by the mode's frame builders before a write script.
    link::RequestBuffers& requestBuffers() { return m_context.session.engine().requests(); }

    ModeContext& context() { return m_context; }
    // The runner over the main menu's link and store, for operations a screen shares with the
    // command line (a registration).
    runner::HandsetRunner& runner() { return m_runner; }

private:
    // A close frame is pending, unacknowledged or in its pause (a file dialog paused the link, the
    // handset was swapped a moment ago). A script started meanwhile would be taken for the
    // keep-alive that follows the close, or its open frame replaced by the close; so runScript and
    // startScript first wait (bounded) until the close has gone through.
    bool dialogueClosing() const;
    void waitForClosedDialogue();

    ModeContext& m_context;
    QPointer<QWidget> m_owner;
    runner::HandsetRunner m_runner;
};

} // namespace tolvan::shell
