#pragma once

// The runner of one handset: its store, the sink that fills it and the link session, with the
// steps every operation is made of (open, a script, a single command, a bounded wait, close).

#include "handset/handsetstore.h"
#include "handset/storesink.h"
#include "link/linksession.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>

namespace tolvan::runner {

// How a script step ended.
enum class ScriptEnd {
    KeepAlive,  // done; the keep-alive dialogue runs on for what follows
    Closed,     // done at the script's acknowledged close frame (the last script of an operation)
    NoData,     // the dialogue went idle or the engine abandoned the operation: the no-data case
    Unfinished, // still running when its limit ran out
    Fatal,      // the engine ended the link for good
};

inline bool succeeded(ScriptEnd end) {
    return end == ScriptEnd::KeepAlive || end == ScriptEnd::Closed;
}

// How a bounded wait ended.
enum class WaitEnd {
    Stopped, // the caller's condition held
    Elapsed, // the time ran out with the link alive
    Lost,    // the engine abandoned the operation or ended the link
};

class HandsetRunner : public QObject {
    Q_OBJECT
public:
    // The longest script (66 steps) at 9600 baud, with retries: be generous.
    static constexpr int kScriptLimitMs = 120000;

    // A runner with a store and sink of its own (a command-line run, a flow's handset).
    explicit HandsetRunner(link::LinkSession& session, QObject* parent = nullptr);
    // A runner over the process-wide store, whose sink its owner (the main menu) has installed.
    HandsetRunner(link::LinkSession& session, handset::HandsetStore& store, QObject* parent = nullptr);
    ~HandsetRunner() override;
    HandsetRunner(const HandsetRunner&) = delete;
    HandsetRunner& operator=(const HandsetRunner&) = delete;

    link::LinkSession& session() { return m_session; }
    handset::HandsetStore& store() { return m_store; }
    // The runner's own sink; null over a store it does not own.
    handset::StoreSink* sink();
    const link::LinkState& state() const { return m_session.state(); }
    std::uint32_t modelCode() { return state().modelCode; }
    // The write commands' frames, filled by the mode's frame builders before a write script.
    link::RequestBuffers& requestBuffers() { return m_session.engine().requests(); }
    // A close frame was just acknowledged: the dialogue is closing.
    bool closePauseRunning() { return m_session.engine().closePauseRunning(); }
    bool fatal() { return m_session.engine().fatalOutcome().has_value(); }
    // The engine abandoned the current operation, or ended the link for good.
    bool lost() { return m_aborted || fatal(); }

    // Resets the link state and opens the handset's port; false when none opened (the session's
    // portOpenFailed says why).
    bool open();
    // Starts a script (operation id, script in dialogue state 1, then the open frame, now or in
    // place of the next keep-alive frame) for a caller that follows it itself (under a progress
    // dialog); reopen asks for the open frame at once (the handset was just reconnected).
    void startScript(std::uint32_t operationId, std::uint8_t script, bool reopen = false);
    // Runs a script and stays in the keep-alive dialogue it leaves, for what follows.
    ScriptEnd runScript(std::uint32_t operationId, std::uint8_t script, int limitMs = kScriptLimitMs);
    // Runs an operation's last script and leaves the dialogue at the script's acknowledged close
    // frame: the handset is done, so no keep-alive dialogue is opened only to be closed again.
    ScriptEnd runLastScript(std::uint32_t operationId, std::uint8_t script, int limitMs = kScriptLimitMs);
    // One command in place of the next frame of the keep-alive dialogue, under an operation id.
    void sendSingle(std::uint32_t operationId, std::uint32_t code);
    // Runs the event loop for at most ms, or until stop() holds.
    WaitEnd waitFor(int ms, const std::function<bool()>& stop = {});
    // Leaves the dialogue the way a mode does and waits (bounded) for the port to close.
    void leave();
    // Lets a running close pause run out (the engine then closes the port), then leaves.
    void close();

    // The link-state writes an operation needs; the engine takes them over in one place.
    // Registration: the answer flag to 2 (requested), the result class cleared; the engine sends the
    // registration command after the next status answer.
    void requestRegistration();
    // The dialogue state 0 without a close frame (an aborted registration, before its write-back).
    void stopDialogue();

private:
    struct OwnStore;
    HandsetRunner(link::LinkSession& session, std::unique_ptr<OwnStore> own, QObject* parent);
    void watchAborts();
    ScriptEnd runUntilEnd(std::uint32_t operationId, std::uint8_t script, int limitMs);

    link::LinkSession& m_session;
    std::unique_ptr<OwnStore> m_own;
    handset::HandsetStore& m_store;
    bool m_aborted = false;
};

} // namespace tolvan::runner
