#pragma once

#include "sim/handsetpump.h"

#include <QIODevice>

namespace tolvan::sim {

// A virtual handset as a QIODevice inside the process, no pseudo-terminal needed (tests, and
// platforms without ptys): what the link driver writes reaches the handset, and its replies
// become readable at the time the handset sends them.
class HandsetDevice : public QIODevice {
    Q_OBJECT
public:
    explicit HandsetDevice(const HandsetConfig& config, QObject* parent = nullptr);

    HandsetPump& pump() { return m_pump; }
    VirtualHandset& handset() { return m_pump.handset(); }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return m_incoming.size() + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    HandsetPump m_pump;
    QByteArray m_incoming;
};

} // namespace tolvan::sim
