#include "link/linkdriver.h"

#include <QIODevice>
#include <QSerialPort>

namespace tolvan::link {

LinkDriver::LinkDriver(OperationTable operations, QObject* parent)
    : QObject(parent), m_engine(*this, std::move(operations)) {
    m_clock.start();
    m_responseTimer.setTimerType(Qt::PreciseTimer);
    m_pauseTimer.setTimerType(Qt::PreciseTimer);
    m_interByteTimer.setTimerType(Qt::PreciseTimer);
    m_interByteTimer.setSingleShot(true);
    connect(&m_responseTimer, &QTimer::timeout, this, [this] { m_engine.timerFired(LinkTimer::Response); });
    connect(&m_pauseTimer, &QTimer::timeout, this, [this] { m_engine.timerFired(LinkTimer::ClosePause); });
    connect(&m_watchdogTimer, &QTimer::timeout, this, [this] { m_engine.timerFired(LinkTimer::Watchdog); });
    connect(&m_interByteTimer, &QTimer::timeout, this, [this] {
        std::vector<Bytes> units;
        m_splitter.expire(m_clock.elapsed(), units);
        deliver(units);
        armInterByteTimer();
    });
}

LinkDriver::~LinkDriver() {
    detach();
}

void LinkDriver::attach(QIODevice* device) {
    detach();
    m_device = device;
    m_splitter.clear();
    connect(device, &QIODevice::readyRead, this, &LinkDriver::readAvailable);
    m_engine.portAttached();
    readAvailable();
}

void LinkDriver::detach() {
    if (m_device) {
        disconnect(m_device, nullptr, this, nullptr);
    }
    m_device = nullptr;
    m_splitter.clear();
    m_interByteTimer.stop();
    m_engine.portDetached();
}

void LinkDriver::readAvailable() {
    if (!m_device) {
        return;
    }
    const QByteArray data = m_device->readAll();
    if (data.isEmpty()) {
        return;
    }
    std::vector<Bytes> units;
    const auto* begin = reinterpret_cast<const std::uint8_t*>(data.constData());
    m_splitter.feed({begin, static_cast<std::size_t>(data.size())}, m_clock.elapsed(), units);
    deliver(units);
    armInterByteTimer();
}

void LinkDriver::deliver(std::vector<Bytes>& units) {
    for (const Bytes& unit : units) {
        emit traced(
            '<', QByteArray(reinterpret_cast<const char*>(unit.data()), static_cast<qsizetype>(unit.size())),
            m_clock.elapsed());
        m_engine.receiveUnit(unit);
        emit unitHandled();
        if (!m_device) {
            break; // the engine closed the port
        }
    }
    units.clear();
}

void LinkDriver::armInterByteTimer() {
    const auto deadline = m_splitter.deadline();
    if (!deadline) {
        m_interByteTimer.stop();
        return;
    }
    m_interByteTimer.start(static_cast<int>(std::max<qint64>(0, *deadline - m_clock.elapsed())));
}

bool LinkDriver::write(std::span<const std::uint8_t> bytes) {
    if (!m_device || !m_device->isWritable()) {
        return false;
    }
    const QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    emit traced('>', data, m_clock.elapsed());
    if (m_device->write(data) != data.size()) {
        return false;
    }
    // A serial port holds what is written until its event loop turns again; a caller that goes on
    // with other work right after a send (the next step of a run) would hold the frame back.
    if (auto* port = qobject_cast<QSerialPort*>(m_device.data())) {
        port->flush();
    }
    return true;
}

QTimer& LinkDriver::timerOf(LinkTimer timer) {
    switch (timer) {
    case LinkTimer::Response:
        return m_responseTimer;
    case LinkTimer::ClosePause:
        return m_pauseTimer;
    case LinkTimer::Watchdog:
        break;
    }
    return m_watchdogTimer;
}

void LinkDriver::startTimer(LinkTimer timer, int ms) {
    timerOf(timer).start(ms);
}

void LinkDriver::stopTimer(LinkTimer timer) {
    timerOf(timer).stop();
}

void LinkDriver::notify(LinkNotice n) {
    emit notice(n);
}

void LinkDriver::showMessage(LinkMessage m) {
    emit message(m);
}

void LinkDriver::closePort() {
    QIODevice* device = m_device;
    detach();
    if (device) {
        device->close();
    }
    emit portClosed();
}

} // namespace tolvan::link
