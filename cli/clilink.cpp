#include "cli/clilink.h"

#include "link/core/catalogue.h"
#include "link/eventwait.h"
#include "link/linktrace.h"
#include "modes/dataset/model/datasetoperations.h"
#include "modes/modeoperations.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace tolvan::cli {

using namespace tolvan::link;

QString modelName(std::uint32_t modelCode) {
    return QString::fromLatin1(modelNameOf(modelCode));
}

CliLink::CliLink(QTextStream& out, QTextStream& err, QObject* parent)
    : QObject(parent), m_session(modeOperations()), m_out(out), m_err(err) {
    LinkDriver& driver = m_session.driver();
    connect(&driver, &LinkDriver::message, this, &CliLink::onMessage);
    connect(&driver, &LinkDriver::notice, this, [this](LinkNotice notice) {
        if (notice.event == LinkEvent::OperationAborted) {
            m_aborted = true;
        }
    });
    connect(&driver, &LinkDriver::traced, this, [this](char direction, const QByteArray& bytes, qint64 ms) {
        if (!m_trace) {
            return;
        }
        // On stderr, so stdout stays the command's result.
        m_err << traceLine(direction, bytes, ms) << '\n';
        m_err.flush();
    });
    connect(&m_session, &LinkSession::portOpenFailed, this,
            [this](const QString& path, bool permissionDenied, const QString& errorText) {
                printMessage(QStringLiteral("Tolvan"), QString::fromUtf8(kPortOpenFailedText));
                m_err << "tolvan-cli: " << path << ": " << errorText << '\n';
                if (permissionDenied) {
                    m_err << "tolvan-cli: permission denied: add your user to the dialout group "
                             "(sudo usermod -aG dialout $USER), then log out and in again\n";
                }
                m_err.flush();
            });
}

void CliLink::printMessage(const QString& title, const QString& text) {
    m_err << title << ": " << text << '\n';
    m_err.flush();
}

void CliLink::onMessage(LinkMessage message) {
    printMessage(QString::fromUtf8(kErrorTitle), QString::fromUtf8(messageText(message)));
}

bool CliLink::waitFor(const std::function<bool()>& done, int timeoutMs) {
    return runEventsUntil(done, timeoutMs);
}

std::optional<ExitStatus> CliLink::open(bool dataSetting) {
    m_session.engine().resetLinkState();
    if (m_session.openLink() != 0) {
        printMessage(QString::fromUtf8(kErrorTitle),
                     QString::fromUtf8(dataSetting ? kNoCommunicationDataSettingText : kNoCommunicationText));
        return kExitNoAnswer;
    }
    return std::nullopt;
}

std::variant<std::uint32_t, ExitStatus> CliLink::identify() {
    if (const auto failed = open()) {
        return *failed;
    }
    // A keep-alive dialogue runs no script: open frame, model query, and the model answer.
    bool answered = false;
    auto connection = connect(&m_session.driver(), &LinkDriver::unitHandled, this, [&] {
        const LinkState& s = state();
        answered = answered || (s.receiveLength >= 2 && s.receiveBuffer[0] == kStx &&
                                s.receiveBuffer[1] == 0x71 && s.resultClass == rc::kAccepted);
    });
    m_aborted = false;
    // Run as the data setting mode's read, which any abort leads back to.
    m_session.engine().setOperation(dataset::op::kReadPending);
    m_session.engine().setScript(dataset::op::kReadScript, kKeepAlive);
    m_session.engine().openRequest();
    const bool done = waitFor(
        [&] { return answered || m_aborted || m_session.engine().fatalOutcome() || !state().portOpen; },
        15000);
    disconnect(connection);
    if (m_session.engine().fatalOutcome()) {
        return kExitLinkFatal;
    }
    if (!done || !answered) {
        if (!done) {
            m_err << "tolvan-cli: the handset did not answer\n";
            m_err.flush();
        }
        close();
        return kExitNoAnswer;
    }
    const std::uint32_t model = state().modelCode;
    close();
    return model;
}

void CliLink::close() {
    if (!state().portOpen || m_session.engine().fatalOutcome()) {
        m_session.closePort();
        return;
    }
    m_session.leaveMode();
    // The close frame is acknowledged and followed by the close pause; give it a few seconds.
    waitFor([&] { return !state().portOpen; }, 5000);
    m_session.closePort();
}

} // namespace tolvan::cli
