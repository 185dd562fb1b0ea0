#include "cli/clisession.h"

#include "modes/test/model/testresultparser.h"

#include "common/logfile/logfileio.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace tolvan::cli {
namespace {

// The longest script (66 steps) at 9600 baud, with retries: be generous.
constexpr int kScriptTimeoutMs = 120000;
// Longer than the engine's close pause.
constexpr int kClosePauseWaitMs = 3000;

} // namespace

CliSession::CliSession(CliApp& cli) : m_link(cli.makeLink()) {
    // As in Tolvan: a test result out of range gets the test mode's result class and is not kept.
    m_sink.setTestResultCheck([](std::span<const std::uint8_t> unit) {
        return testmode::TestResultParser::parse(unit, 0).resultClass;
    });
    m_link->session().engine().setResponseSink(&m_sink);
}

CliSession::~CliSession() {
    m_link->session().engine().setResponseSink(nullptr);
}

std::optional<ExitStatus> CliSession::open(bool dataSetting) {
    return m_link->open(dataSetting);
}

std::optional<ExitStatus> CliSession::runScript(std::uint32_t operationId, std::uint8_t script) {
    return finish(m_link->runScript(operationId, script, kScriptTimeoutMs), false);
}

std::optional<ExitStatus> CliSession::runLastScript(std::uint32_t operationId, std::uint8_t script) {
    link::LinkSession& session = m_link->session();
    bool closed = false;
    const auto connection = QObject::connect(&session.driver(), &link::LinkDriver::unitHandled, [&] {
        if (!closed && session.state().dialogueState == link::kScriptRunning &&
            session.engine().closePauseRunning()) {
            closed = true;
            session.leaveMode();
        }
    });
    const ExitStatus status = m_link->runScript(operationId, script, kScriptTimeoutMs);
    QObject::disconnect(connection);
    return finish(status, closed);
}

std::optional<ExitStatus> CliSession::finish(ExitStatus status, bool closedAtEnd) {
    // Left at the close frame, the dialogue is idle rather than in keep-alive.
    if (closedAtEnd && status == kExitNoAnswer) {
        status = kExitOk;
    }
    if (status == kExitOk) {
        return std::nullopt;
    }
    if (status == kExitNoAnswer) {
        // What Tolvan's no-data dialog says.
        printMessage(QString::fromUtf8(link::kErrorTitle), QString::fromUtf8(link::kNoDataText));
    }
    m_link->close();
    return status;
}

void CliSession::sendSingle(std::uint32_t operationId, std::uint32_t code) {
    m_link->clearLost();
    m_link->session().engine().setOperation(operationId);
    m_link->session().sendSingle(code);
}

bool CliSession::runFor(int ms, const std::function<bool()>& stop) {
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired() && !m_link->lost() && !(stop && stop())) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return !m_link->lost();
}

void CliSession::close() {
    const QDeadlineTimer deadline(kClosePauseWaitMs);
    while (m_link->state().portOpen && m_link->session().engine().closePauseRunning() &&
           !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    m_link->close();
}

ExitStatus CliSession::saveAndClose(const QString& path, const FileContents& contents) {
    std::optional<Message> error;
    if (const auto* bytes = std::get_if<QByteArray>(&contents)) {
        if (const QString failed = logfile::saveAtomically(path, *bytes); !failed.isEmpty()) {
            error = errorMessage(path + QStringLiteral(": ") + failed);
        }
    } else {
        error = std::get<Message>(contents);
    }
    close();
    if (error) {
        printMessage(error->title, error->text);
        return kExitFileError;
    }
    return kExitOk;
}

} // namespace tolvan::cli
