// How an operation that goes wrong ends: retries used up, status failures, a silent or stalled
// handset. Every path ends in the no-data notice to the operation's owner, a message, or both.
#include "link/core/engine.h"

namespace tolvan::link {

void LinkEngine::handleReceiveFailure() {
    const std::uint8_t resultClass = m_state.resultClass;
    const bool statusFailure = resultClass >= rc::kBatteryEmpty && resultClass <= rc::kStatus10;
    if (statusFailure || m_state.receiveRetryCounter >= kRetryLimit) {
        m_state.receiveRetryCounter = 0xFF;
        reportResultClass(resultClass);
        if (m_fatal) {
            return;
        }
        notifyAborted();
        m_state.dialogueState = kIdle;
        send(cmd::kClose);
        m_state.receiveRetryCounter = 0;
        return;
    }
    send(m_state.currentCommand);
    ++m_state.receiveRetryCounter;
}

void LinkEngine::reportResultClass(std::uint8_t resultClass) {
    switch (resultClass) {
    case rc::kRetryFailure:
        raise(LinkMessage::RetryErrorBug);
        break;
    case rc::kLengthError:
        raise(LinkMessage::ReceiveLengthError);
        break;
    case rc::kStxEtxError:
        raise(LinkMessage::StxEtxError);
        break;
    case rc::kCheckByteError:
        raise(LinkMessage::CheckByteError);
        break;
    case rc::kDataError:
        if (m_state.dialogueState != kIdle) {
            raise(LinkMessage::ReceiveDataError);
        }
        break;
    case rc::kBatteryEmpty:
        m_host.notify({LinkEvent::BatteryEmpty, m_operations.eventOwner(LinkEvent::BatteryEmpty)});
        if (m_state.dialogueState != kIdle) {
            raise(LinkMessage::BatteryEmpty);
        }
        break;
    case rc::kStatus30:
    case rc::kStatus50:
    case rc::kStatus10:
    case rc::kAccepted:
    case rc::kDataReceived:
        break;
    case rc::kCommandError:
        raise(LinkMessage::CommandError);
        break;
    default:
        raise(LinkMessage::RetryErrorUnknown);
        break;
    }
}

bool LinkEngine::operationWaiting() const {
    // Plain keep-alive with nothing asked of the handset may stay quiet until the user acts;
    // everything else is an operation someone waits for.
    if (!m_state.portOpen) {
        return false;
    }
    if (m_state.dialogueState == kScriptRunning || m_state.pendingFlag || m_pauseRunning) {
        return true;
    }
    if (m_state.dialogueState == kIdle) {
        // A close frame still unacknowledged.
        return m_state.currentCommand == cmd::kClose && m_state.sendCounter > 0;
    }
    return m_operations.isAnswerDriven(m_state.operationId);
}

void LinkEngine::watchdogTick() {
    Progress now{m_state.dialogueState, m_state.operationId, m_state.scriptId,
                 m_state.scriptStep,    m_state.pendingFlag, m_state.pendingCommand};
    // An answer-driven operation lives on the handset's answers to the polls;
    // in a script only a step forward counts, so a handset that answers but never with the data
    // cannot hold it forever.
    if (m_state.dialogueState == kKeepAlive && m_operations.isAnswerDriven(m_state.operationId)) {
        now.answers = m_frames;
    }
    if (!operationWaiting() || now != m_lastProgress) {
        m_lastProgress = now;
        m_stalledTicks = 0;
        return;
    }
    if (++m_stalledTicks * kWatchdogTickMs < kStallLimitMs) {
        return;
    }
    m_stalledTicks = 0;
    abandonStalledOperation();
}

void LinkEngine::abandonStalledOperation() {
    m_host.stopTimer(LinkTimer::Response);
    m_state.sendCounter = 0;
    m_state.nakCounter = 0;
    m_state.receiveRetryCounter = 0;
    if (m_pauseRunning) {
        m_host.stopTimer(LinkTimer::ClosePause);
        m_pauseRunning = false;
        m_deferred.clear();
    }
    setPending(false, 0);
    if (m_state.operationId == kOperationLeaveMode || !m_operations.abortTargetOf(m_state.operationId)) {
        // Nobody waits for a screen: the mode was left. Do not keep the port open for nobody.
        m_state.dialogueState = kIdle;
        closeLink();
        return;
    }
    notifyAborted();
    m_state.dialogueState = kIdle;
    send(cmd::kClose);
    raise(LinkMessage::UsbError);
}

void LinkEngine::responseTimerExpired() {
    if (m_state.receiveRetryCounter >= kRetryLimit) {
        return;
    }
    if (m_state.sendCounter < kRetryLimit) {
        send(m_state.pollMarker == cmd::kPoll ? cmd::kPoll : m_state.currentCommand);
        return;
    }
    m_state.sendCounter = 0;
    m_host.stopTimer(LinkTimer::Response);
    if (m_state.dialogueState != kIdle) {
        notifyAborted();
        m_state.dialogueState = kIdle;
        send(cmd::kClose);
        raise(LinkMessage::UsbError);
    } else if (m_state.operationId == kOperationLeaveMode && m_state.workerRun) {
        // The mode was left and the handset never acknowledged the close frame: do not keep the
        // port open for nobody.
        closeLink();
    }
}

void LinkEngine::abortOperation() {
    notifyAborted();
    m_state.dialogueState = kIdle;
    send(cmd::kClose);
}

void LinkEngine::notifyAborted() {
    if (const auto target = m_operations.abortTargetOf(m_state.operationId)) {
        m_state.operationId = target->noDataOperationId;
        m_host.notify({LinkEvent::OperationAborted, target->owner});
    } else {
        m_state.operationId = kOperationLeaveMode;
        raise(LinkMessage::StatusOutOfRange);
    }
}

} // namespace tolvan::link
