#include "modes/psent/model/registerunder.h"

#include "modes/psent/model/psentoperations.h"
#include "modes/psent/model/registrationflow.h"

#include "link/core/catalogue.h"

namespace tolvan::psent {
namespace {

// A handset registers within a minute or two of the base being put into registration.
constexpr int kRegistrationLimitMs = 180000;
constexpr int kStopLimitMs = 10000;

QString noDataText() {
    return QString::fromUtf8(link::kNoDataText);
}

} // namespace

bool followRegistration(RegistrationRun& run, runner::HandsetRunner& runner, int limitMs,
                        const std::function<bool()>& done) {
    handset::HandsetStore& held = runner.store();
    held.clearRegistration();
    held.setRegistrationListener(
        [&](const handset::RegistrationReports::Report& report) { run.take(report); });
    const auto connection = QObject::connect(&runner.session().driver(), &link::LinkDriver::notice,
                                             [&](link::LinkNotice n) { run.take(n); });
    run.start(runner);
    const link::LinkState& state = runner.state();
    const bool alive =
        runner.waitFor(limitMs, [&] { return done() || !state.portOpen; }) != runner::WaitEnd::Lost;
    QObject::disconnect(connection);
    held.setRegistrationListener({});
    return alive;
}

std::optional<QString> registerUnder(runner::HandsetRunner& runner, const QString& psNumber,
                                     const QString& pin) {
    using State = RegistrationRun::State;
    // Each script either leaves the keep-alive dialogue for the next, or the dialogue is left.
    auto script = [&](std::uint32_t operationId, std::uint8_t number) {
        if (runner::succeeded(runner.runScript(operationId, number))) {
            return true;
        }
        runner.leave();
        return false;
    };
    // The settings as held, with the PS number and PIN to register under (seamless handover off,
    // which a registration needs).
    auto prepare = [&] {
        HandsetSettingImage image = HandsetSettingImage::fromStore(runner.store());
        image.putDigits(psNumber, pin);
        return RegistrationRun::prepareWrite(image, runner.store(), runner.requestBuffers());
    };
    if (!prepare()) {
        return QStringLiteral("書き込みデータを作れません");
    }
    if (!script(op::kWriting, op::kWriteScript)) {
        return noDataText();
    }

    RegistrationRun run;
    std::optional<State> ended;
    QString cause;
    run.setListener([&](const RegistrationRun::Step& step) {
        if (ended) {
            return;
        }
        switch (step.state) {
        case State::Failed:
        case State::CommandEnded:
        case State::ContentError:
            ended = step.state;
            cause = step.state == State::Failed         ? step.error
                    : step.state == State::CommandEnded ? step.status
                                                        : registration::contentErrorText();
            break;
        case State::Completed:
            ended = step.state;
            break;
        default:
            break;
        }
    });
    const bool alive =
        followRegistration(run, runner, kRegistrationLimitMs, [&] { return ended.has_value(); });
    const link::LinkState& state = runner.state();
    if (ended && *ended != State::Completed) {
        return cause;
    }
    if (!ended) {
        if (!alive || !state.portOpen) {
            runner.leave();
            return noDataText();
        }
        // The handset is told to stop, or it would answer the next polls with its reports.
        run.abort();
        runner.sendSingle(op::kRegistrationAborted, link::cmd::kRegisterOff);
        runner.waitFor(kStopLimitMs, [&] {
            return !state.portOpen ||
                   (state.dialogueState == link::kKeepAlive && state.currentCommand == link::cmd::kOpen);
        });
        return registration::statusText(op::kRegistrationAborted);
    }
    // As the registration ends: the settings read again and written back as it leaves them.
    if (!script(op::kReading, op::kReadScript)) {
        return noDataText();
    }
    if (!prepare()) {
        return QStringLiteral("書き込みデータを作れません");
    }
    if (!script(op::kWriting, op::kWriteScript)) {
        return noDataText();
    }
    return std::nullopt;
}

} // namespace tolvan::psent
