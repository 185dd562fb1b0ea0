#include "flows/provision/runnerline.h"

#include "modes/datasave/model/datasaveoperations.h"
#include "modes/datasave/model/writebackframes.h"
#include "modes/psent/model/psentframes.h"
#include "modes/psent/model/psentoperations.h"
#include "modes/psent/model/registerunder.h"

#include "link/eventwait.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace tolvan::provision {
namespace {

constexpr int kUnplugWaitMs = 600000;
// Longer than tolvan-sim's 1.5 s: a pseudo-terminal has no unplug, the simulator swaps when the
// line stays quiet.
constexpr int kPtyQuietMs = 2000;

// Turns the event loop (so a closed port is really let go, and a window stays live) until the
// time is up or the run is cancelled.
void pause(int ms, const HandsetLine::Cancelled& cancelled) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    link::runEventsUntil([&] { return cancelled && cancelled(); }, ms);
}

QString unbuiltText() {
    return QStringLiteral("書き込みデータを作れません");
}

} // namespace

QString causeOf(runner::ScriptEnd end, runner::HandsetRunner& runner) {
    if (end == runner::ScriptEnd::Fatal) {
        if (const auto fatal = runner.session().engine().fatalOutcome()) {
            return QString::fromUtf8(link::messageText(*fatal));
        }
    }
    return QString::fromUtf8(link::kNoDataText);
}

RunnerLine::RunnerLine(link::LinkSession& session, runner::HandsetRunner& runner)
    : m_session(session), m_runner(runner) {}

std::optional<QString> RunnerLine::ended(runner::ScriptEnd end) {
    if (runner::succeeded(end)) {
        return std::nullopt;
    }
    const QString cause = causeOf(end, m_runner);
    m_runner.leave();
    return cause;
}

bool RunnerLine::waitForHandset(const Cancelled& cancelled) {
    const QDeadlineTimer deadline(m_handsetWaitMs);
    while (!deadline.hasExpired() && !(cancelled && cancelled())) {
        // A USB node that is not there yet: no dialogue to try.
        if (m_session.handsetPresent() && m_runner.open()) {
            if (runner::succeeded(m_runner.runScript(datasave::op::kEntry, datasave::op::kReadAllScript))) {
                m_freshRead = true;
                return true;
            }
            m_runner.leave();
        }
        pause(m_probePauseMs, cancelled);
    }
    return false;
}

std::optional<QString> RunnerLine::readAll() {
    if (std::exchange(m_freshRead, false)) {
        return std::nullopt;
    }
    m_runner.store().clear();
    return ended(m_runner.runScript(datasave::op::kConnected, datasave::op::kReadAllScript));
}

std::uint32_t RunnerLine::modelCode() const {
    return m_session.state().modelCode;
}

handset::HandsetStore& RunnerLine::store() {
    return m_runner.store();
}

std::optional<QString> RunnerLine::writeBack() {
    if (!datasave::WriteBackFrames::fillRequestBuffers(store().pendingWrite(), m_runner.requestBuffers())) {
        return unbuiltText();
    }
    return ended(m_runner.runScript(datasave::op::kConnected, datasave::op::kWriteBackScript));
}

std::optional<QString> RunnerLine::writeSettings() {
    if (!psent::PsEntFrames::fillRequestBuffers(store().pendingWrite(), m_runner.requestBuffers())) {
        return unbuiltText();
    }
    return ended(m_runner.runScript(psent::op::kWriting, psent::op::kWriteScript));
}

std::optional<QString> RunnerLine::registerHandset(const QString& psNumber, const QString& pin) {
    return psent::registerUnder(m_runner, psNumber, pin);
}

void RunnerLine::release() {
    m_freshRead = false;
    m_runner.close();
}

bool RunnerLine::waitForUnplug(const Cancelled& cancelled) {
    const QString fixed = m_session.fixedDevicePath();
    if (fixed.startsWith(QLatin1String("/dev/pts/"))) {
        pause(kPtyQuietMs, cancelled);
        return !(cancelled && cancelled());
    }
    const QDeadlineTimer deadline(kUnplugWaitMs);
    while (!deadline.hasExpired() && !(cancelled && cancelled())) {
        if (!m_session.handsetPresent()) {
            return true;
        }
        pause(m_probePauseMs, cancelled);
    }
    return false;
}

} // namespace tolvan::provision
