#include "runner/handsetrunner.h"

#include "link/core/catalogue.h"
#include "link/eventwait.h"

namespace tolvan::runner {
namespace {

// Longer than the engine's close pause.
constexpr int kClosePauseWaitMs = 3000;
// The close frame is acknowledged and followed by the close pause; give it a few seconds.
constexpr int kLeaveWaitMs = 5000;

} // namespace

struct HandsetRunner::OwnStore {
    handset::HandsetStore store;
    handset::StoreSink sink{store};
};

HandsetRunner::HandsetRunner(link::LinkSession& session, QObject* parent)
    : HandsetRunner(session, std::make_unique<OwnStore>(), parent) {}

HandsetRunner::HandsetRunner(link::LinkSession& session, handset::HandsetStore& store, QObject* parent)
    : QObject(parent), m_session(session), m_store(store) {
    watchAborts();
}

HandsetRunner::HandsetRunner(link::LinkSession& session, std::unique_ptr<OwnStore> own, QObject* parent)
    : QObject(parent), m_session(session), m_own(std::move(own)), m_store(m_own->store) {
    m_session.engine().setResponseSink(&m_own->sink);
    watchAborts();
}

void HandsetRunner::watchAborts() {
    connect(&m_session.driver(), &link::LinkDriver::notice, this, [this](link::LinkNotice notice) {
        if (notice.event == link::LinkEvent::OperationAborted) {
            m_aborted = true;
        }
    });
}

HandsetRunner::~HandsetRunner() {
    if (m_own) {
        m_session.engine().setResponseSink(nullptr);
    }
}

handset::StoreSink* HandsetRunner::sink() {
    return m_own ? &m_own->sink : nullptr;
}

bool HandsetRunner::open() {
    m_session.engine().resetLinkState();
    return m_session.openLink() == 0;
}

void HandsetRunner::startScript(std::uint32_t operationId, std::uint8_t script, bool reopen) {
    m_aborted = false;
    if (reopen) {
        m_session.engine().setOperation(operationId);
        m_session.engine().setScript(script, link::kScriptRunning);
        m_session.engine().openRequest();
    } else {
        m_session.startOperation(operationId, script);
    }
}

ScriptEnd HandsetRunner::runUntilEnd(std::uint32_t operationId, std::uint8_t script, int limitMs) {
    startScript(operationId, script);
    const bool done = link::runEventsUntil(
        [&] { return state().dialogueState != link::kScriptRunning || fatal() || !state().portOpen; },
        limitMs);
    if (fatal()) {
        return ScriptEnd::Fatal;
    }
    if (!done) {
        return ScriptEnd::Unfinished;
    }
    return state().dialogueState == link::kKeepAlive && !m_aborted ? ScriptEnd::KeepAlive : ScriptEnd::NoData;
}

ScriptEnd HandsetRunner::runScript(std::uint32_t operationId, std::uint8_t script, int limitMs) {
    return runUntilEnd(operationId, script, limitMs);
}

ScriptEnd HandsetRunner::runLastScript(std::uint32_t operationId, std::uint8_t script, int limitMs) {
    bool closed = false;
    const auto connection = connect(&m_session.driver(), &link::LinkDriver::unitHandled, this, [&] {
        if (!closed && state().dialogueState == link::kScriptRunning && closePauseRunning()) {
            closed = true;
            m_session.leaveMode();
        }
    });
    const ScriptEnd end = runUntilEnd(operationId, script, limitMs);
    disconnect(connection);
    // Left at the close frame, the dialogue is idle rather than in keep-alive.
    return closed && end != ScriptEnd::Fatal ? ScriptEnd::Closed : end;
}

void HandsetRunner::sendSingle(std::uint32_t operationId, std::uint32_t code) {
    m_aborted = false;
    m_session.engine().setOperation(operationId);
    m_session.sendSingle(code);
}

WaitEnd HandsetRunner::waitFor(int ms, const std::function<bool()>& stop) {
    link::runEventsUntil([&] { return lost() || (stop && stop()); }, ms);
    if (lost()) {
        return WaitEnd::Lost;
    }
    return stop && stop() ? WaitEnd::Stopped : WaitEnd::Elapsed;
}

void HandsetRunner::leave() {
    if (!state().portOpen || fatal()) {
        m_session.closePort();
        return;
    }
    m_session.leaveMode();
    link::runEventsUntil([&] { return !state().portOpen; }, kLeaveWaitMs);
    m_session.closePort();
}

void HandsetRunner::close() {
    link::runEventsUntil([&] { return !state().portOpen || !closePauseRunning(); }, kClosePauseWaitMs);
    leave();
}

void HandsetRunner::requestRegistration() {
    m_session.engine().requestRegistration();
}

void HandsetRunner::stopDialogue() {
    m_session.engine().stopDialogue();
}

} // namespace tolvan::runner
