#include "link/core/engine.h"

#include <algorithm>
#include <utility>

namespace tolvan::link {

LinkEngine::LinkEngine(LinkHost& host, OperationTable operations)
    : m_host(host), m_operations(std::move(operations)) {}

NoticeOwner LinkEngine::ownerOf(std::uint32_t operationId) const {
    const auto target = m_operations.abortTargetOf(operationId);
    return target ? target->owner : NoticeOwner{};
}

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

void LinkEngine::requestRegistration() {
    m_state.registrationAnswerFlag = 2; // cleared, then "requested": only the last value is ever seen
    m_state.resultClass = rc::kRetryFailure;
}

void LinkEngine::dropDialogue() {
    m_state.dialogueState = kIdle;
    setPending(true, cmd::kClose);
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
    const CommandInfo* info = findCommand(code);
    const ResponseTimer rule = info ? info->responseTimer : ResponseTimer::Always;
    if (rule == ResponseTimer::Never || (rule == ResponseTimer::UnlessNoTimer && m_state.noTimerFlag)) {
        return;
    }
    if (code == cmd::kPoll) {
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
        m_host.notify({LinkEvent::DialogueClosed, m_operations.eventOwner(LinkEvent::DialogueClosed)});
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
        if (const OperationRules* rules = m_operations.rulesOf(m_state.operationId);
            rules != nullptr && rules->afterClosePause) {
            const ClosePhase phase = *rules->afterClosePause;
            m_host.notify({phase.notice, ownerOf(m_state.operationId)});
            m_state.operationId = phase.nextOperationId;
            if (phase.reopen) {
                send(cmd::kOpen);
            } else {
                m_state.dialogueState = kIdle;
            }
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
        const OperationRules* rules = m_operations.rulesOf(m_state.operationId);
        if (m_state.registrationAnswerFlag == 0 && rules != nullptr && rules->registersOnOpenAnswer) {
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
    } else if (const CommandInfo* info = findCommand(current);
               id == current && info != nullptr && info->ownAnswer != OwnAnswer::None) {
        if (info->ownAnswer == OwnAnswer::CloseAndForget) {
            m_state.currentCommand = 0;
        }
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
