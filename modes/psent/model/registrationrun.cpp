#include "modes/psent/model/registrationrun.h"

#include "modes/dataset/model/datasetoperations.h"
#include "modes/psent/model/psentframes.h"
#include "modes/psent/model/psentoperations.h"
#include "modes/psent/model/registrationflow.h"

namespace tolvan::psent {
namespace {

// The operation record: the registration starts with it.
constexpr std::uint32_t kOperationRecordWrite = 0x0104;

} // namespace

bool RegistrationRun::prepareWrite(HandsetSettingImage image, handset::HandsetStore& store,
                                   link::RequestBuffers& requests) {
    image.operation[HandsetSettingImage::Seamless] = 0;
    handset::HandsetBlocks& pending = store.prepareWrite();
    image.storeInto(pending);
    return PsEntFrames::fillRequestBuffers(pending, requests);
}

void RegistrationRun::start(runner::HandsetRunner& runner) {
    m_state = State::Running;
    runner.requestRegistration();
    runner.sendSingle(op::kRegistrationRunning, kOperationRecordWrite);
}

void RegistrationRun::enter(State state, std::uint32_t viewState, const QString& status,
                            const QString& error) {
    m_state = state;
    tell({state, viewState, status, error});
}

void RegistrationRun::tell(const Step& step) const {
    if (m_listener) {
        m_listener(step);
    }
}

void RegistrationRun::take(const handset::RegistrationReports::Report& report) {
    if (m_state == State::Aborted) {
        return;
    }
    const auto view = registration::viewOf(report);
    if (!view) {
        return;
    }
    switch (view->kind) {
    case registration::ReportView::Kind::Running:
        // A late "running" after a failure shows, and changes nothing else.
        tell({State::Running, 0, view->status, {}});
        break;
    case registration::ReportView::Kind::Failed:
        enter(State::Failed, view->viewState, view->status, view->error);
        break;
    case registration::ReportView::Kind::CommandEnded:
        enter(State::CommandEnded, view->viewState, view->status, view->error);
        break;
    case registration::ReportView::Kind::ContentError:
        enter(State::ContentError, 0, {}, view->error);
        break;
    }
}

void RegistrationRun::take(link::LinkNotice notice) {
    if (notice.event == link::LinkEvent::RegistrationStep && m_state == State::Running) {
        enter(State::SecondPhase, op::kRegistrationSecondPhase,
              registration::statusText(op::kRegistrationSecondPhase));
    } else if (notice.event == link::LinkEvent::RegistrationFinished && running()) {
        enter(State::Completed, op::kRegistrationCompleted,
              registration::statusText(op::kRegistrationCompleted));
    }
}

void RegistrationRun::abort() {
    m_state = State::Aborted;
}

runner::ScriptEnd RegistrationRun::readRegistered(runner::HandsetRunner& runner, std::uint32_t operationId) {
    const runner::ScriptEnd settings = runner.runScript(operationId, op::kReadScript);
    if (!runner::succeeded(settings)) {
        return settings;
    }
    return runner.runScript(operationId, dataset::op::kReadScript);
}

} // namespace tolvan::psent
