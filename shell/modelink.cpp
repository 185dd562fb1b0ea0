#include "shell/modelink.h"

#include "shell/initcom.h"
#include "shell/pserrdialog.h"
#include "shell/windowhider.h"

namespace tolvan::shell {

bool ModeLink::runScript(std::uint32_t operationId, std::uint8_t script, bool reconnect) {
    link::LinkSession& session = m_context.session;
    WindowHider hider(m_owner);
    if (reconnect) {
        session.engine().setOperation(operationId);
        session.engine().setScript(script, link::kScriptRunning);
        session.engine().openRequest();
    } else {
        session.startOperation(operationId, script);
    }
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
    m_context.session.startOperation(operationId, script);
}

void ModeLink::setNoTimer(bool on) {
    m_context.session.state().noTimerFlag = on;
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
