#pragma once

#include "link/core/linkstate.h"
#include "link/core/messages.h"
#include "link/core/operations.h"
#include "link/core/receiver.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <span>

namespace tolvan::link {

enum class LinkTimer : std::uint8_t {
    Response,   // resend / abort timer, periodic until stopped
    ClosePause, // the pause after an acknowledged close frame
    Watchdog,   // a tick while the port is open, so no operation waits without end
};

// The engine's only way to act on the world.
class LinkHost {
public:
    virtual ~LinkHost() = default;
    // Transmit the bytes; false when the port refused them.
    virtual bool write(std::span<const std::uint8_t> bytes) = 0;
    // Periodic timer: fires every ms until stopped; starting it again restarts it.
    virtual void startTimer(LinkTimer timer, int ms) = 0;
    virtual void stopTimer(LinkTimer timer) = 0;
    virtual void notify(LinkNotice notice) = 0;
    // A fatal message is the engine's last act: it stops after it and the program ends.
    virtual void showMessage(LinkMessage message) = 0;
    virtual void closePort() = 0;
};

inline constexpr std::uint32_t kOperationLeaveMode = 0xFFFF;
inline constexpr int kShortResponseMs = 500;
inline constexpr int kLongResponseMs = 2000;
inline constexpr int kClosePauseMs = 900;
inline constexpr std::uint32_t kRetryLimit = 5;
// An operation that makes no progress for this long is abandoned, whatever the handset sends.
inline constexpr int kWatchdogTickMs = 1000;
inline constexpr int kStallLimitMs = 20000;

// The link engine: sends request frames named by command codes, follows ACK, NAK and response
// frames through a command script, and owns the response timer, the retry counters and the
// abort procedure. Plain C++ on one thread, driven by received units, timer expiries and the
// modes' calls. What it knows of the operations it runs comes from the table it is given.
class LinkEngine {
public:
    LinkEngine(LinkHost& host, OperationTable operations);

    // The link state is written by the engine alone; everyone else reads it.
    const LinkState& state() const { return m_state; }
    // For test harnesses only: puts the link straight into a state a conversation would take
    // long to reach.
    LinkState& stateForTests() { return m_state; }
    // The frames the modes' builders fill: the engine's input for the write commands.
    RequestBuffers& requests() { return m_state.requests; }
    const OperationTable& operations() const { return m_operations; }
    void setResponseSink(ResponseSink* sink) { m_sink = sink ? sink : &m_nullSink; }

    // Inputs.
    void receiveUnit(std::span<const std::uint8_t> unit);
    void timerFired(LinkTimer timer);

    // Port lifecycle, told by whoever owns the port.
    void portAttached();
    void portDetached();

    // Calls of the modes.
    void resetLinkState() { m_state.reset(); }
    void setOperation(std::uint32_t operationId) { m_state.operationId = operationId; }
    void setScript(std::uint8_t scriptId, std::uint32_t dialogueState);
    void setPending(bool flag, std::uint32_t command);
    // Power off and reset sent with the no-timer flag expect no answer at all.
    void setNoTimer(bool on) { m_state.noTimerFlag = on; }
    // The next status answer brings the register-on command.
    void requestRegistration();
    // The dialogue ends here; nothing more is sent for it.
    void stopDialogue() { m_state.dialogueState = kIdle; }
    // The dialogue ends and its close frame goes out in place of the next frame.
    void dropDialogue();
    // The port is known to be gone before the driver detached it.
    void markPortClosed() { m_state.portOpen = false; }
    // The open request: sends the open frame (after the close pause, if one runs).
    void openRequest();
    // What every mode does when it returns to the main menu.
    void leaveMode();
    void send(std::uint32_t code);

    // Set once a fatal message was raised; the engine does nothing more.
    std::optional<LinkMessage> fatalOutcome() const { return m_fatal; }
    bool closePauseRunning() const { return m_pauseRunning; }

private:
    void handleAck();
    void handleNak();
    void handleFrame();
    void handleReceiveFailure();
    void responseTimerExpired();
    void closePauseElapsed();
    void nextScriptStep();
    void abortOperation();
    void notifyAborted();
    void reportResultClass(std::uint8_t resultClass);
    void raise(LinkMessage message);
    void closeLink();
    bool acceptedWhileIdle(std::span<const std::uint8_t> unit) const;
    void startResponseTimerFor(std::uint32_t code);
    void runDeferred();
    void watchdogTick();
    bool operationWaiting() const;
    void abandonStalledOperation();

    NoticeOwner ownerOf(std::uint32_t operationId) const;

    LinkHost& m_host;
    OperationTable m_operations;
    LinkState m_state;
    NullResponseSink m_nullSink;
    ResponseSink* m_sink = &m_nullSink;
    bool m_pauseRunning = false;
    // Units and open requests that arrived during the close pause, handled after it in order.
    struct Deferred {
        bool openRequest = false;
        Bytes unit;
    };
    std::deque<Deferred> m_deferred;
    std::optional<LinkMessage> m_fatal;
    // What the watchdog last saw of the running operation, and for how many ticks it stayed so.
    struct Progress {
        std::uint32_t dialogueState = 0;
        std::uint32_t operationId = 0;
        std::uint8_t scriptId = 0;
        std::uint8_t scriptStep = 0;
        bool pendingFlag = false;
        std::uint32_t pendingCommand = 0;
        std::uint64_t answers = 0; // counted only where any answer is progress
        bool operator==(const Progress&) const = default;
    };
    Progress m_lastProgress;
    int m_stalledTicks = 0;
    std::uint64_t m_frames = 0; // validated frames received
};

} // namespace tolvan::link
