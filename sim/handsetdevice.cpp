#include "sim/handsetdevice.h"

#include <algorithm>

namespace tolvan::sim {

HandsetDevice::HandsetDevice(const HandsetConfig& config, QObject* parent)
    : QIODevice(parent), m_pump(config) {
    connect(&m_pump, &HandsetPump::output, this, [this](const QByteArray& bytes) {
        if (!isOpen()) {
            return;
        }
        m_incoming.append(bytes);
        emit readyRead();
    });
}

qint64 HandsetDevice::readData(char* data, qint64 maxSize) {
    const qint64 n = std::min<qint64>(maxSize, m_incoming.size());
    std::copy_n(m_incoming.constData(), n, data);
    m_incoming.remove(0, n);
    return n;
}

qint64 HandsetDevice::writeData(const char* data, qint64 size) {
    m_pump.feed(data, size);
    emit bytesWritten(size);
    return size;
}

} // namespace tolvan::sim
