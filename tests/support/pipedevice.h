#pragma once

#include "link/core/frame.h"

#include <QIODevice>

#include <algorithm>

namespace tolvan::test {

// An in-memory device: what the driver writes is kept, what the test pushes is read.
class PipeDevice : public QIODevice {
public:
    PipeDevice() { open(QIODevice::ReadWrite); }
    void push(const link::Bytes& bytes) {
        m_in.append(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
        emit readyRead();
    }
    QByteArray written;
    bool refuseWrites = false;

protected:
    qint64 readData(char* data, qint64 max) override {
        const qint64 n = std::min<qint64>(max, m_in.size());
        std::copy_n(m_in.constData(), n, data);
        m_in.remove(0, n);
        return n;
    }
    qint64 writeData(const char* data, qint64 len) override {
        if (refuseWrites) {
            return -1;
        }
        written.append(data, len);
        return len;
    }
    qint64 bytesAvailable() const override { return m_in.size() + QIODevice::bytesAvailable(); }
    bool isSequential() const override { return true; }

private:
    QByteArray m_in;
};

} // namespace tolvan::test
