#include "app/shell/modelink.h"

#include "app/shell/initcom.h"
#include "app/shell/pserrdialog.h"
#include "app/shell/windowhider.h"

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

} // namespace tolvan::shell
