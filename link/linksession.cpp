#include "link/linksession.h"

namespace tolvan::link {

LinkSession::LinkSession(OperationTable operations, QObject* parent)
    : QObject(parent), m_driver(std::move(operations)), m_lister(presentDevices),
      m_opener(openHandsetSerialPort), m_presence(devicePresent) {
    m_reconnectTimer.setSingleShot(true);
    connect(&m_reconnectTimer, &QTimer::timeout, this, &LinkSession::reconnect);
    // The engine closes the port when a mode is left; the device goes with it.
    connect(&m_driver, &LinkDriver::portClosed, this, [this] { m_port.reset(); });
}

LinkSession::~LinkSession() {
    closePort();
}

QString LinkSession::devicePath() const {
    if (!m_fixedPath.isEmpty()) {
        return m_fixedPath;
    }
    const QList<DeviceInfo> devices = m_lister();
    return devicePathOf(devices, findHandsetPortName(devices));
}

bool LinkSession::handsetPresent() const {
    return m_fixedPath.isEmpty() ? !devicePath().isEmpty() : m_presence(m_fixedPath);
}

int LinkSession::openLink() {
    if (state().workerRun || m_port) {
        closePort();
    }
    engine().markPortClosed();
    const QString path = devicePath();
    if (path.isEmpty()) {
        return -1;
    }
    SerialOpenResult opened = m_opener(path);
    if (!opened.port) {
        emit portOpenFailed(path, opened.permissionDenied, opened.errorText);
        return -1;
    }
    m_port = std::move(opened.port);
    m_driver.attach(m_port.get());
    return 0;
}

void LinkSession::closePort() {
    m_driver.detach();
    if (m_port) {
        m_port->close();
        m_port.reset();
    }
}

void LinkSession::startOperation(std::uint32_t operationId, std::uint8_t script) {
    const bool keepAliveRuns = state().dialogueState == kKeepAlive;
    engine().setOperation(operationId);
    engine().setScript(script, kScriptRunning);
    if (keepAliveRuns) {
        engine().setPending(true, cmd::kOpen);
    } else {
        engine().openRequest();
    }
}

void LinkSession::pauseForDialog(bool portUsed, std::uint8_t resumeScript) {
    if (!portUsed || state().dialogueState == kIdle) {
        return;
    }
    engine().dropDialogue();
    engine().setScript(resumeScript, kScriptRunning);
}

void LinkSession::dropDialogue() {
    engine().dropDialogue();
}

void LinkSession::deviceTreeChanged() {
    if (m_swapsExpected) {
        m_reconnectTimer.stop();
        m_reconnectCounter = 0;
        if (!handsetPresent()) {
            closePort();
            engine().markPortClosed();
            emit handsetRemoved();
        }
        return;
    }
    if (handsetPresent()) {
        if (m_reconnectCounter == 1) {
            if (m_removedDialogUp) {
                m_removedDialogUp = false;
                emit removedDialogDismissed();
            }
            m_reconnectTimer.start(m_reconnectDelayMs);
            ++m_reconnectCounter;
        }
        ++m_reconnectCounter;
        return;
    }
    m_reconnectTimer.stop();
    closePort();
    engine().markPortClosed();
    m_reconnectCounter = 0;
    emit handsetRemoved();
    if (!m_removedDialogUp) {
        m_removedDialogUp = true;
        emit removedDialogRequested();
    }
}

void LinkSession::reconnect() {
    // Only a port that really opened is marked open: sending into nothing would end the program.
    if (openLink() != 0) {
        return;
    }
    engine().openRequest();
    emit handsetReconnected();
}

} // namespace tolvan::link
