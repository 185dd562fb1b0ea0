#include "shell/modelink.h"

#include "shell/initcom.h"
#include "shell/pserrdialog.h"
#include "shell/windowhider.h"

#include "link/core/catalogue.h"

#include <QEventLoop>
#include <QTimer>

namespace tolvan::shell {
namespace {

// Long enough for a close frame's retries and its pause; past it the script starts anyway and the
// engine's own timers deal with a handset that does not answer.
constexpr int kClosingLimitMs = 6000;

} // namespace

bool ModeLink::dialogueClosing() const {
    const link::LinkState& s = state();
    if (!s.portOpen) {
        return false;
    }
    if (m_context.session.engine().closePauseRunning() ||
        (s.pendingFlag && s.pendingCommand == link::cmd::kClose)) {
        return true;
    }
    // A close frame sent and not yet acknowledged.
    return s.currentCommand == link::cmd::kClose && s.sendCounter > 0;
}

void ModeLink::waitForClosedDialogue() {
    if (!dialogueClosing()) {
        return;
    }
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [this, &loop] {
        if (!dialogueClosing()) {
            loop.quit();
        }
    });
    QTimer::singleShot(kClosingLimitMs, &loop, &QEventLoop::quit);
    check.start(10);
    loop.exec();
}

bool ModeLink::runScript(std::uint32_t operationId, std::uint8_t script, bool reconnect) {
    link::LinkSession& session = m_context.session;
    WindowHider hider(m_owner);
    waitForClosedDialogue();
    m_runner.startScript(operationId, script, reconnect);
    if (session.state().dialogueState == link::kScriptRunning && session.state().portOpen) {
        InitCom progress(session.state(), &m_context.abortText, m_owner);
        progress.setWindowModality(m_owner ? Qt::WindowModal : Qt::ApplicationModal);
        progress.exec();
    }
    if (session.state().dialogueState == link::kIdle) {
        PsErrDialog noData(session.state(), m_owner);
        noData.setWindowModality(m_owner ? Qt::WindowModal : Qt::ApplicationModal);
        noData.exec();
        return false;
    }
    return session.state().dialogueState == link::kKeepAlive;
}

void ModeLink::startScript(std::uint32_t operationId, std::uint8_t script) {
    waitForClosedDialogue();
    m_runner.startScript(operationId, script);
}

void ModeLink::setNoTimer(bool on) {
    m_context.session.engine().setNoTimer(on);
}

void ModeLink::requestRegistration() {
    m_context.session.engine().requestRegistration();
}

void ModeLink::stopDialogue() {
    m_context.session.engine().stopDialogue();
}

void ModeLink::sendSingle(std::uint32_t code) {
    m_context.session.sendSingle(code);
}

void ModeLink::pauseForDialog(std::uint8_t resumeScript) {
    m_context.session.pauseForDialog(m_context.portUsed, resumeScript);
}

void ModeLink::dropDialogue() {
    m_context.session.dropDialogue();
}

void ModeLink::leaveMode() {
    m_context.session.leaveMode();
}

void ModeLink::setOperation(std::uint32_t operationId) {
    m_context.session.engine().setOperation(operationId);
}

} // namespace tolvan::shell
