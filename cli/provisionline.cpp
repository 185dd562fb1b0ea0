#include "cli/provisionline.h"

#include "modes/datasave/model/datasaveoperations.h"
#include "modes/datasave/model/writebackframes.h"
#include "modes/psent/model/handsetsettingimage.h"
#include "modes/psent/model/psentframes.h"
#include "modes/psent/model/psentoperations.h"
#include "modes/psent/model/registrationflow.h"
#include "modes/psent/model/registrationrun.h"

#include "link/core/catalogue.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

namespace tolvan::cli {
namespace {

namespace reg = psent::registration;

// A technician swaps a handset in well under this; a cable left empty longer ends the port's run.
constexpr int kHandsetWaitMs = 120000;
constexpr int kProbePauseMs = 300;
constexpr int kUnplugWaitMs = 600000;
constexpr int kPtyQuietMs = 2000; // longer than tolvan-sim's 1.5 s
constexpr int kRegistrationLimitMs = 180000;
constexpr int kStopLimitMs = 10000;
constexpr std::uint32_t kOperationRecordWrite = 0x0104;

// A pause that keeps the thread's event loop turning, so a closed port is really let go (its
// deferred deletion runs) before the next open.
void pause(int ms) {
    const QDeadlineTimer deadline(ms);
    do {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    } while (!deadline.hasExpired());
}

QString noDataText() {
    return QString::fromUtf8(link::kNoDataText);
}

} // namespace

ProvisionLine::ProvisionLine(const GlobalOptions& options, const QString& port) : m_port(port) {
    GlobalOptions own = options;
    own.port = port;
    own.trace = false; // one trace per port would interleave on stderr
    m_cli.setOptions(own);
}

ProvisionLine::~ProvisionLine() {
    release();
}

std::optional<QString> ProvisionLine::lastMessage() {
    m_err.flush();
    const QStringList lines = m_errText.split(u'\n', Qt::SkipEmptyParts);
    m_errText.clear();
    if (lines.isEmpty()) {
        return std::nullopt;
    }
    // "TITLE: TEXT": the text is what a message box would say.
    const QString& last = lines.last();
    const qsizetype colon = last.indexOf(QStringLiteral(": "));
    QString text = colon >= 0 ? last.mid(colon + 2) : last;
    if (text.startsWith(QLatin1String("tolvan-cli"))) {
        text = noDataText();
    }
    return text.replace(QStringLiteral("\\n"), QString());
}

std::optional<QString> ProvisionLine::failure(const std::optional<ExitStatus>& status) {
    if (!status) {
        m_errText.clear();
        return std::nullopt;
    }
    m_session.reset(); // the session closed its link on the failure
    return lastMessage().value_or(noDataText());
}

bool ProvisionLine::waitForHandset() {
    const QDeadlineTimer deadline(kHandsetWaitMs);
    while (!deadline.hasExpired()) {
        // A USB node that is not there yet: no dialogue to try.
        if (m_port.isEmpty() || QFileInfo::exists(m_port)) {
            m_session = std::make_unique<CliSession>(m_cli);
            if (!m_session->open()) {
                if (!m_session->runScript(datasave::op::kEntry, datasave::op::kReadAllScript)) {
                    m_freshRead = true;
                    m_errText.clear();
                    return true;
                }
            }
            m_session.reset();
        }
        m_errText.clear();
        pause(kProbePauseMs);
    }
    return false;
}

std::optional<QString> ProvisionLine::readAll() {
    if (std::exchange(m_freshRead, false)) {
        return std::nullopt;
    }
    if (!m_session) {
        return noDataText();
    }
    m_session->store().clear();
    return failure(m_session->runScript(datasave::op::kConnected, datasave::op::kReadAllScript));
}

std::uint32_t ProvisionLine::modelCode() const {
    return m_session ? m_session->modelCode() : 0;
}

handset::HandsetStore& ProvisionLine::store() {
    return m_session ? m_session->store() : m_empty;
}

std::optional<QString> ProvisionLine::writeBack() {
    if (!m_session) {
        return noDataText();
    }
    if (!datasave::WriteBackFrames::fillRequestBuffers(m_session->store().pendingWrite(),
                                                       m_session->requestBuffers())) {
        return QStringLiteral("書き込みデータを作れません");
    }
    return failure(m_session->runScript(datasave::op::kConnected, datasave::op::kWriteBackScript));
}

std::optional<QString> ProvisionLine::writeSettings() {
    if (!m_session) {
        return noDataText();
    }
    if (!psent::PsEntFrames::fillRequestBuffers(m_session->store().pendingWrite(),
                                                m_session->requestBuffers())) {
        return QStringLiteral("書き込みデータを作れません");
    }
    return failure(m_session->runScript(psent::op::kWriting, psent::op::kWriteScript));
}

std::optional<QString> ProvisionLine::registerHandset(const QString& psNumber, const QString& pin) {
    if (!m_session) {
        return noDataText();
    }
    auto failed = registerInSession(*m_session, psNumber, pin);
    if (failed && !m_session->link().state().portOpen) {
        m_session.reset();
    }
    m_errText.clear();
    return failed;
}

void ProvisionLine::release() {
    if (m_session) {
        m_session->close();
        m_session.reset();
    }
    m_errText.clear();
}

bool ProvisionLine::waitForUnplug() {
    // A pseudo-terminal (the simulator) has no unplug: the line stays quiet for a while, which
    // tolvan-sim --sequence takes as the tool gone and swaps; the next handset is the one that
    // answers next, and one already done is known by its PS-ID.
    if (m_port.startsWith(QLatin1String("/dev/pts/"))) {
        pause(kPtyQuietMs);
        return true;
    }
    const QDeadlineTimer deadline(kUnplugWaitMs);
    while (!deadline.hasExpired()) {
        if (!m_port.isEmpty() && !QFileInfo::exists(m_port)) {
            return true;
        }
        if (m_port.isEmpty()) {
            return true; // discovery finds the next one
        }
        pause(kProbePauseMs);
    }
    return false;
}

std::optional<QString> registerInSession(CliSession& session, const QString& psNumber, const QString& pin) {
    namespace op = psent::op;
    using State = psent::RegistrationRun::State;
    // The settings as held, with the PS number and PIN to register under (seamless handover off,
    // which a registration needs).
    auto prepare = [&] {
        psent::HandsetSettingImage image = psent::HandsetSettingImage::fromStore(session.store());
        for (std::size_t i = 0; i < image.psNumber.size() && static_cast<qsizetype>(i) < psNumber.size();
             ++i) {
            image.psNumber.at(i) =
                static_cast<std::uint8_t>(psNumber.at(static_cast<qsizetype>(i)).unicode());
        }
        for (std::size_t i = 0; i < image.pin.size() && static_cast<qsizetype>(i) < pin.size(); ++i) {
            image.pin.at(i) = static_cast<std::uint8_t>(pin.at(static_cast<qsizetype>(i)).unicode());
        }
        return psent::RegistrationRun::prepareWrite(image, session.store(), session.requestBuffers());
    };
    if (!prepare()) {
        return QStringLiteral("書き込みデータを作れません");
    }
    if (session.runScript(op::kWriting, op::kWriteScript)) {
        return noDataText();
    }

    psent::RegistrationRun run;
    std::optional<State> ended;
    QString cause;
    run.setListener([&](const psent::RegistrationRun::Step& step) {
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
                                                        : reg::contentErrorText();
            break;
        case State::Completed:
            ended = step.state;
            break;
        default:
            break;
        }
    });
    const bool alive =
        session.followRegistration(run, kRegistrationLimitMs, [&] { return ended.has_value(); });
    const link::LinkState& state = session.runner().state();
    if (ended && *ended != State::Completed) {
        return cause;
    }
    if (!ended) {
        if (!alive || !state.portOpen) {
            return noDataText();
        }
        // The handset is told to stop, or it would answer the next polls with its reports.
        run.abort();
        session.sendSingle(op::kRegistrationAborted, link::cmd::kRegisterOff);
        session.runFor(kStopLimitMs, [&] {
            return !state.portOpen ||
                   (state.dialogueState == link::kKeepAlive && state.currentCommand == link::cmd::kOpen);
        });
        return reg::statusText(op::kRegistrationAborted);
    }
    // As the registration ends: the settings read again and written back as it leaves them.
    if (session.runScript(op::kReading, op::kReadScript)) {
        return noDataText();
    }
    if (!prepare()) {
        return QStringLiteral("書き込みデータを作れません");
    }
    if (session.runScript(op::kWriting, op::kWriteScript)) {
        return noDataText();
    }
    return std::nullopt;
}

} // namespace tolvan::cli
