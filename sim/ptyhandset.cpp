#include "sim/ptyhandset.h"

#include "link/virtualdevices.h"
#include "sim/handsetmodels.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace tolvan::sim {

PtyHandset::PtyHandset(const HandsetConfig& config, QObject* parent)
    : QObject(parent), m_pump(config), m_baseConfig(config) {
    connect(&m_pump, &HandsetPump::output, this, &PtyHandset::writeOut);
    // The tool has left when a close frame is followed by silence longer than the close pause
    // after which a dialogue in keep-alive opens again.
    constexpr int kToolGoneMs = 1500;
    m_toolGone.setSingleShot(true);
    m_toolGone.setInterval(kToolGoneMs);
    connect(&m_toolGone, &QTimer::timeout, this, &PtyHandset::swapToNext);
    connect(&m_pump, &HandsetPump::traffic, this, [this](char direction, const QByteArray& bytes, qint64) {
        if (direction != '>' || m_sequence.empty()) {
            return;
        }
        // A close frame: STX, class 0x21.
        if (bytes.size() > 2 && bytes[0] == '\x02' && bytes[1] == '\x21') {
            m_toolGone.start();
        } else {
            m_toolGone.stop();
        }
    });
    connect(&m_pump, &HandsetPump::unplugFaultFired, this, &PtyHandset::unplugFaultFired);
    constexpr int kLineMendMs = 200;
    m_lineMend.setInterval(kLineMendMs);
    connect(&m_lineMend, &QTimer::timeout, this, &PtyHandset::mendStrandedParity);
}

PtyHandset::~PtyHandset() {
    close();
}

QString PtyHandset::driverDescription() const {
    const auto model = modelByCode(m_pump.handset().modelCode());
    return model ? QString::fromUtf8(model->driverDescription.data(),
                                     static_cast<qsizetype>(model->driverDescription.size()))
                 : QString();
}

bool PtyHandset::open(QString* error) {
    close();
    int master = -1;
    int slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        if (error) {
            *error = QStringLiteral("openpty: ") + QString::fromLocal8Bit(std::strerror(errno));
        }
        return false;
    }
    char name[256] = {};
    if (::ttyname_r(slave, name, sizeof name) != 0) {
        if (error) {
            *error = QStringLiteral("ttyname: ") + QString::fromLocal8Bit(std::strerror(errno));
        }
        ::close(master);
        ::close(slave);
        return false;
    }
    // Raw, so the line discipline neither echoes nor translates anything.
    termios tio{};
    if (::tcgetattr(slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B9600);
        ::cfsetospeed(&tio, B9600);
        ::tcsetattr(slave, TCSANOW, &tio);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave, F_SETFD, FD_CLOEXEC);
    m_master = master;
    m_slave = slave;
    m_slavePath = QString::fromLocal8Bit(name);
    m_readNotifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
    connect(m_readNotifier.get(), &QSocketNotifier::activated, this, &PtyHandset::readMaster);
    m_writeNotifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Write);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier.get(), &QSocketNotifier::activated, this, &PtyHandset::flushPending);
    m_lineMend.start();
    return true;
}

// A tool that is killed leaves the line as it set it, and a pty keeps the odd-parity bit of that
// setting while it drops the parity enable. A serial port opened over that state is refused
// ("Invalid argument"), so the next tool could never reach the handset. A cable's own driver
// keeps both bits or neither; the handset puts the stray bit back in line while it serves.
void PtyHandset::mendStrandedParity() {
    termios tio{};
    if (m_slave >= 0 && ::tcgetattr(m_slave, &tio) == 0 && (tio.c_cflag & PARODD) != 0 &&
        (tio.c_cflag & PARENB) == 0) {
        tio.c_cflag &= ~static_cast<tcflag_t>(PARODD);
        ::tcsetattr(m_slave, TCSANOW, &tio);
    }
}

void PtyHandset::close() {
    m_lineMend.stop();
    if (m_listed) {
        m_listed = false;
        link::VirtualDevices::instance().unplug(m_slavePath, 1);
    }
    m_pump.drop();
    m_readNotifier.reset();
    m_writeNotifier.reset();
    m_pendingWrite.clear();
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
    if (m_slave >= 0) {
        ::close(m_slave);
        m_slave = -1;
    }
}

void PtyHandset::plug(int notificationCount) {
    VirtualHandset& handset = m_pump.handset();
    const bool wasOff = m_cableOff || !handset.plugged();
    m_cableOff = false;
    if (!handset.plugged()) {
        handset.replug();
    }
    m_listed = true;
    link::VirtualDevices::instance().plug({driverDescription(), m_slavePath}, notificationCount);
    if (wasOff) {
        emit pluggedChanged(true);
    }
}

void PtyHandset::unplug(int notificationCount) {
    const bool wasOn = !m_cableOff;
    m_cableOff = true;
    m_pump.drop();
    if (m_listed) {
        m_listed = false;
        link::VirtualDevices::instance().unplug(m_slavePath, notificationCount);
    }
    if (wasOn) {
        emit pluggedChanged(false);
    }
}

void PtyHandset::readMaster() {
    char buf[512];
    for (;;) {
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n <= 0) {
            break;
        }
        if (!m_cableOff) {
            m_pump.feed(buf, n);
        }
    }
}

void PtyHandset::unplugFaultFired() {
    const bool wasListed = m_listed;
    unplug();
    if (m_replugAfterMs > 0) {
        QTimer::singleShot(m_replugAfterMs, this, [this, wasListed] {
            if (!isOpen()) {
                return;
            }
            if (wasListed) {
                plug();
            } else {
                m_cableOff = false;
                m_pump.handset().replug();
                emit pluggedChanged(true);
            }
        });
    }
}

void PtyHandset::setSequence(std::vector<SequencedHandset> sequence, int swapMs) {
    m_sequence = std::move(sequence);
    m_swapMs = swapMs;
    if (!m_sequence.empty()) {
        putOnCable(0);
    }
}

void PtyHandset::putOnCable(std::size_t index) {
    const SequencedHandset& next = m_sequence.at(index);
    m_current = index;
    putOn(next.modelCode, next.psId, static_cast<std::uint32_t>(index));
}

void PtyHandset::putOn(std::uint8_t modelCode, std::uint32_t psId, std::uint32_t seedOffset) {
    HandsetConfig config = m_baseConfig;
    config.modelCode = modelCode;
    config.seed = m_baseConfig.seed + seedOffset;
    m_pump.replaceHandset(config);
    const std::uint32_t v = psId;
    m_pump.handset().store().setBlock(
        0x1201, {static_cast<std::uint8_t>((v >> 21) & 0x7F), static_cast<std::uint8_t>((v >> 14) & 0x7F),
                 static_cast<std::uint8_t>((v >> 7) & 0x7F), static_cast<std::uint8_t>(v & 0x7F)});
}

void PtyHandset::swapToNext() {
    const bool wasListed = m_listed;
    unplug();
    if (m_current + 1 >= m_sequence.size()) {
        return;
    }
    QTimer::singleShot(m_swapMs, this, [this, wasListed] {
        if (!isOpen()) {
            return;
        }
        putOnCable(m_current + 1);
        if (wasListed) {
            plug();
        } else {
            m_cableOff = false;
            emit pluggedChanged(true);
        }
    });
}

void PtyHandset::writeOut(const QByteArray& bytes) {
    m_pendingWrite.append(bytes);
    flushPending();
}

void PtyHandset::flushPending() {
    while (!m_pendingWrite.isEmpty() && m_master >= 0) {
        const ssize_t n =
            ::write(m_master, m_pendingWrite.constData(), static_cast<size_t>(m_pendingWrite.size()));
        if (n <= 0) {
            break;
        }
        m_pendingWrite.remove(0, n);
    }
    if (m_writeNotifier) {
        m_writeNotifier->setEnabled(!m_pendingWrite.isEmpty());
    }
}

} // namespace tolvan::sim
