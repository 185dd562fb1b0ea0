#include "link/core/engine.h"

#include <algorithm>

namespace tolvan::link {

LinkEngine::LinkEngine(LinkHost& host) : m_host(host) {}

void LinkEngine::portAttached() {
    m_state.portOpen = true;
    m_state.workerRun = true;
    m_stalledTicks = 0;
    m_host.startTimer(LinkTimer::Watchdog, kWatchdogTickMs);
}

void LinkEngine::portDetached() {
    m_state.portOpen = false;
    m_state.workerRun = false;
    m_host.stopTimer(LinkTimer::Response);
    m_host.stopTimer(LinkTimer::ClosePause);
    m_host.stopTimer(LinkTimer::Watchdog);
    m_pauseRunning = false;
    m_deferred.clear();
}

void LinkEngine::setScript(std::uint8_t scriptId, std::uint32_t dialogueState) {
    m_state.scriptId = scriptId;
    m_state.dialogueState = dialogueState;
}

void LinkEngine::setPending(bool flag, std::uint32_t command) {
    m_state.pendingFlag = flag;
    m_state.pendingCommand = command;
}

void LinkEngine::openRequest() {
    if (m_fatal) {
        return;
    }
    if (m_pauseRunning) {
        m_deferred.push_back({true, {}});
        return;
    }
    send(cmd::kOpen);
}

void LinkEngine::leaveMode() {
    m_state.operationId = kOperationLeaveMode;
    if (m_state.dialogueState != kIdle) {
        m_state.dialogueState = kIdle;
        setPending(true, cmd::kClose);
    } else if (m_state.workerRun) {
        closeLink();
    }
}

void LinkEngine::send(std::uint32_t code) {
    if (m_fatal) {
        return;
    }
    if (m_state.pendingFlag) {
        // A pending command replaces this frame, unless an unanswered poll is being repeated:
        // then the poll goes again and the pending command is dropped.
        code = m_state.pollMarker == cmd::kPoll ? cmd::kPoll : m_state.pendingCommand;
        m_state.pendingFlag = false;
        m_state.pendingCommand = 0;
    } else if (code == cmd::kPoll) {
        m_state.pollMarker = cmd::kPoll;
    }
    const std::optional<Bytes> bytes = transmitBytesOf(code, m_state.requests);
    if (!bytes) {
        raise(LinkMessage::SendCommandError);
        return;
    }
    if (code != cmd::kPoll) {
        m_state.currentCommand = code;
        if (code == cmd::kOpen) {
            m_state.scriptStep = 0;
        }
    }
    if (!m_state.portOpen) {
        return;
    }
    if (!m_host.write(*bytes)) {
        m_host.stopTimer(LinkTimer::Response);
        raise(LinkMessage::SendFailure);
        return;
    }
    ++m_state.sendCounter;
    startResponseTimerFor(code);
}

void LinkEngine::startResponseTimerFor(std::uint32_t code) {
    int ms = kShortResponseMs;
    if (code == 0x6009) {
        return;
    }
    if (code == 0x600A) {
        if (m_state.noTimerFlag) {
            return;
        }
    } else if (code == cmd::kPoll) {
        const CommandInfo* current = findCommand(m_state.currentCommand);
        // While a script runs every poll is timed, so a silent handset cannot stall it.
        if (m_state.dialogueState != kScriptRunning && (current == nullptr || !current->writeType)) {
            return;
        }
        ms = kLongResponseMs;
    }
    m_host.startTimer(LinkTimer::Response, ms);
}

bool LinkEngine::acceptedWhileIdle(std::span<const std::uint8_t> unit) const {
    // Idle means no dialogue: only the close frame of a leaving mode (or of an abort) is still
    // followed, so stray input cannot start traffic. While that close frame is pending, any
    // answer of the handset is what lets it go out in place of the next frame.
    if (m_state.pendingFlag && m_state.pendingCommand == cmd::kClose) {
        return true;
    }
    const bool ackOrNak = unit.size() == 1 && (unit[0] == kAck || unit[0] == kNak);
    return ackOrNak && m_state.currentCommand == cmd::kClose;
}

void LinkEngine::receiveUnit(std::span<const std::uint8_t> unit) {
    if (m_fatal || !m_state.portOpen || unit.empty()) {
        return;
    }
    if (m_pauseRunning) {
        m_deferred.push_back({false, Bytes(unit.begin(), unit.end())});
        return;
    }
    if (m_state.dialogueState == kIdle && !acceptedWhileIdle(unit)) {
        return;
    }
    m_state.receiveBuffer.fill(0);
    m_state.receiveLength = std::min(unit.size(), kMaxUnitLength);
    std::copy_n(unit.begin(), m_state.receiveLength, m_state.receiveBuffer.begin());
    if (!validateUnit(m_state, *m_sink)) {
        handleReceiveFailure();
        return;
    }
    switch (m_state.receiveBuffer[0]) {
    case kStx:
        ++m_frames;
        m_state.receiveRetryCounter = 0;
        handleFrame();
        break;
    case kAck:
        handleAck();
        break;
    default:
        handleNak();
        break;
    }
}

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
        m_host.notify({LinkEvent::BatteryEmpty, ModeWindow::Test});
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

void LinkEngine::timerFired(LinkTimer timer) {
    if (m_fatal) {
        return;
    }
    switch (timer) {
    case LinkTimer::ClosePause:
        closePauseElapsed();
        break;
    case LinkTimer::Response:
        responseTimerExpired();
        break;
    case LinkTimer::Watchdog:
        watchdogTick();
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
    return isAnswerDrivenOperation(m_state.operationId);
}

void LinkEngine::watchdogTick() {
    Progress now{m_state.dialogueState, m_state.operationId, m_state.scriptId,
                 m_state.scriptStep,    m_state.pendingFlag, m_state.pendingCommand};
    // A running test, measurement or registration lives on the handset's answers to the polls;
    // in a script only a step forward counts, so a handset that answers but never with the data
    // cannot hold it forever.
    if (m_state.dialogueState == kKeepAlive && isAnswerDrivenOperation(m_state.operationId)) {
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
    if (m_state.operationId == kOperationLeaveMode || !abortTargetOf(m_state.operationId)) {
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

void LinkEngine::handleAck() {
    m_state.nakCounter = 0;
    m_state.sendCounter = 0;
    m_host.stopTimer(LinkTimer::Response);
    const CommandInfo* info = findCommand(m_state.currentCommand);
    switch (info ? info->afterAck : AfterAck::None) {
    case AfterAck::Poll:
        send(cmd::kPoll);
        break;
    case AfterAck::NextStep:
        nextScriptStep();
        break;
    case AfterAck::Close:
        m_host.notify({LinkEvent::DialogueClosed, ModeWindow::Test});
        m_pauseRunning = true;
        m_host.startTimer(LinkTimer::ClosePause, kClosePauseMs);
        break;
    case AfterAck::None:
        raise(LinkMessage::AckHandlingError);
        break;
    }
}

void LinkEngine::closePauseElapsed() {
    m_host.stopTimer(LinkTimer::ClosePause);
    if (!m_pauseRunning) {
        return;
    }
    m_pauseRunning = false;
    switch (m_state.dialogueState) {
    case kKeepAlive:
        send(cmd::kOpen);
        break;
    case kScriptRunning:
        if (m_state.operationId == 0xD005) {
            m_host.notify({LinkEvent::RegistrationStep, ModeWindow::HandsetSetting});
            m_state.operationId = 0xD006;
            send(cmd::kOpen);
        } else if (m_state.operationId == 0xD006) {
            m_host.notify({LinkEvent::RegistrationFinished, ModeWindow::HandsetSetting});
            m_state.operationId = 0xD007;
            m_state.dialogueState = kIdle;
        } else {
            m_state.dialogueState = kKeepAlive;
            send(cmd::kOpen);
        }
        break;
    default:
        if (m_state.operationId == kOperationLeaveMode && m_state.workerRun) {
            closeLink();
        }
        break;
    }
    runDeferred();
}

void LinkEngine::runDeferred() {
    while (!m_deferred.empty() && !m_pauseRunning && !m_fatal) {
        Deferred next = std::move(m_deferred.front());
        m_deferred.pop_front();
        if (next.openRequest) {
            send(cmd::kOpen);
        } else {
            receiveUnit(next.unit);
        }
    }
}

void LinkEngine::handleNak() {
    ++m_state.nakCounter;
    m_state.sendCounter = 0;
    m_host.stopTimer(LinkTimer::Response);
    m_state.pollMarker = 0;
    if (m_state.nakCounter < kRetryLimit) {
        send(m_state.currentCommand);
        return;
    }
    const std::uint32_t refused = m_state.currentCommand;
    if (refused == cmd::kModelQuery || refused == cmd::kModelQuery2) {
        if (m_state.dialogueState == kScriptRunning) {
            m_state.nakCounter = 0;
            m_state.modelCode = refused == cmd::kModelQuery ? 0 : 1;
            // No model, no script: end the operation instead of leaving it waiting forever.
            abortOperation();
            raise(LinkMessage::NakRetryError);
        } else if (m_state.dialogueState == kKeepAlive) {
            send(cmd::kPoll);
            m_state.currentCommand = cmd::kPoll;
        } else {
            m_state.nakCounter = 0;
            abortOperation();
            raise(LinkMessage::NakRetryError);
        }
        return;
    }
    m_state.nakCounter = 0;
    // Restart the dialogue and offer the command again. The open frame resets the script step;
    // keep the step, or the command's answer could never match it and the script would poll on.
    const std::uint8_t step = m_state.scriptStep;
    send(cmd::kOpen);
    m_state.scriptStep = step;
    send(refused);
}

void LinkEngine::handleFrame() {
    m_state.nakCounter = 0;
    m_state.sendCounter = 0;
    m_host.stopTimer(LinkTimer::Response);
    m_state.pollMarker = 0;
    const std::uint16_t id = responseId(m_state.receivedUnit());
    const std::uint32_t current = m_state.currentCommand;
    if (id == 0x2000) {
        if (m_state.registrationAnswerFlag == 0 && m_state.operationId == 0xD005) {
            send(cmd::kRegisterOn);
            return;
        }
        if (m_state.registrationAnswerFlag == 2) {
            m_state.registrationAnswerFlag = 0;
            send(cmd::kRegisterOn);
            return;
        }
        if (current == cmd::kOpen) {
            send(cmd::kModelQuery);
            return;
        }
    } else if (id >= 0x7102 && id <= 0x7104) {
        if (m_state.dialogueState == kScriptRunning) {
            nextScriptStep();
            return;
        }
    } else if ((id == 0x4000 && current == cmd::kRegisterOn) ||
               (id == 0x4040 && current == cmd::kRegisterOff)) {
        m_state.dialogueState = kScriptRunning;
        send(cmd::kClose);
        return;
    } else if (id == 0x4010 && current == cmd::kRegisterOn) {
        m_state.dialogueState = kKeepAlive;
        send(cmd::kClose);
        return;
    } else if (id == 0x5000 && current == 0x5000) {
        m_state.currentCommand = 0;
        send(cmd::kClose);
        return;
    } else if (id == 0x6000 && current == 0x6000) {
        send(cmd::kClose);
        return;
    }
    if (id == scriptEntry(m_state.scriptId, m_state.scriptStep) && m_state.resultClass == rc::kDataReceived) {
        nextScriptStep();
    } else {
        send(cmd::kPoll);
    }
}

void LinkEngine::nextScriptStep() {
    const int last = scriptLastStep(m_state.scriptId);
    int step = m_state.scriptStep + 1;
    std::uint32_t code = 0;
    while (step <= last) {
        code = scriptEntry(m_state.scriptId, step);
        if (code != cmd::kSkip && !isSkippedForModel(code, m_state.modelCode)) {
            break;
        }
        ++step;
    }
    if (step > last) {
        m_state.scriptStep = 0;
        m_state.dialogueState = kIdle;
        send(cmd::kClose);
        raise(LinkMessage::ScriptError);
        return;
    }
    m_state.scriptStep = static_cast<std::uint8_t>(step);
    send(code);
}

void LinkEngine::abortOperation() {
    notifyAborted();
    m_state.dialogueState = kIdle;
    send(cmd::kClose);
}

void LinkEngine::notifyAborted() {
    if (const auto target = abortTargetOf(m_state.operationId)) {
        m_state.operationId = target->noDataOperationId;
        m_host.notify({LinkEvent::OperationAborted, target->mode});
    } else {
        m_state.operationId = kOperationLeaveMode;
        raise(LinkMessage::StatusOutOfRange);
    }
}

void LinkEngine::raise(LinkMessage message) {
    if (m_fatal) {
        return;
    }
    if (isFatal(message)) {
        m_fatal = message;
        m_host.stopTimer(LinkTimer::Response);
        m_host.stopTimer(LinkTimer::ClosePause);
        m_host.stopTimer(LinkTimer::Watchdog);
        m_pauseRunning = false;
        m_deferred.clear();
    }
    m_host.showMessage(message);
}

void LinkEngine::closeLink() {
    m_state.workerRun = false;
    m_state.portOpen = false;
    m_host.stopTimer(LinkTimer::Response);
    m_host.stopTimer(LinkTimer::Watchdog);
    m_host.closePort();
}

} // namespace tolvan::link
