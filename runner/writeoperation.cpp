#include "runner/writeoperation.h"

namespace tolvan::runner {

WriteOutcome WriteOperation::end(WriteOutcome outcome) {
    m_state = State::Done;
    return outcome;
}

std::optional<WriteOutcome> WriteOperation::backUp(HandsetRunner& runner, WriteOutcome& outcome) {
    m_state = State::BackingUp;
    if (!m_plan.backUp) {
        return std::nullopt;
    }
    auto backedUp = m_plan.backUp(runner.store(), runner.modelCode());
    if (auto* failed = std::get_if<Message>(&backedUp)) {
        outcome.end = WriteOutcome::End::BackupFailed;
        outcome.message = std::move(*failed);
        return end(outcome);
    }
    outcome.backupPath = std::get<QString>(std::move(backedUp));
    return std::nullopt;
}

WriteOutcome WriteOperation::run(HandsetRunner& runner) {
    using End = WriteOutcome::End;
    WriteOutcome outcome;
    m_state = State::Opening;
    if (!runner.open()) {
        outcome.end = End::NotOpened;
        return end(outcome);
    }
    // The handset is read first: what the file does not hold goes back as read, and the model
    // decides the file's layout.
    m_state = State::Reading;
    outcome.link = runner.runScript(m_plan.readOperation, m_plan.readScript);
    if (!succeeded(outcome.link)) {
        outcome.end = End::ReadFailed;
        return end(outcome);
    }
    const std::uint32_t model = runner.modelCode();
    m_state = State::Checking;
    if (m_plan.guard) {
        if (auto refused = m_plan.guard(runner.store(), model)) {
            outcome.end = End::Refused;
            outcome.message = std::move(refused);
            return end(outcome);
        }
    }
    if (m_plan.backUpBeforeLoad) {
        if (auto failed = backUp(runner, outcome)) {
            return *failed;
        }
    }
    m_state = State::Loading;
    if (m_plan.load && !m_plan.load(runner.store(), model)) {
        outcome.end = End::NotLoaded;
        return end(outcome);
    }
    if (!m_plan.backUpBeforeLoad) {
        if (auto failed = backUp(runner, outcome)) {
            return *failed;
        }
    }
    m_state = State::Writing;
    for (std::size_t i = 0; i < m_plan.steps.size(); ++i) {
        const WriteStep& step = m_plan.steps[i];
        outcome.step = i;
        if (step.build && !step.build(runner.store(), runner.requestBuffers())) {
            outcome.end = End::FrameNotBuilt;
            return end(outcome);
        }
        const bool last = i + 1 == m_plan.steps.size() && !m_plan.dialogueFollows;
        outcome.link = last ? runner.runLastScript(step.operationId, step.script)
                            : runner.runScript(step.operationId, step.script);
        if (!succeeded(outcome.link)) {
            outcome.end = End::WriteFailed;
            return end(outcome);
        }
    }
    outcome.end = End::Written;
    return end(outcome);
}

} // namespace tolvan::runner
