#pragma once

#include "sim/transcript.h"
#include "sim/virtualhandset.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <deque>

namespace tolvan::sim {

// Runs a virtual handset in real time on the Qt event loop: bytes from the tool go in as they
// come, and each burst of the handset's reply comes out of output() when its time has come.
// The transports (pseudo-terminal, in-process device) only move the bytes.
class HandsetPump : public QObject {
    Q_OBJECT
public:
    explicit HandsetPump(const HandsetConfig& config, QObject* parent = nullptr);

    VirtualHandset& handset() { return m_handset; }
    const VirtualHandset& handset() const { return m_handset; }

    // Bytes from the tool, arriving now.
    void feed(const char* data, qsizetype size);
    // Forgets every reply not yet sent (the cable was pulled).
    void drop();
    // Another handset on the cable: what was due is forgotten, the clock and transcript go on.
    void replaceHandset(const HandsetConfig& config);

    // Writes a transcript of the traffic to the file.
    bool record(const QString& path);
    void stopRecording() { m_transcript.close(); }

    // Microseconds since the pump was created: the time base of traces and of the handset.
    std::int64_t nowUs() const { return m_clock.nsecsElapsed() / 1000; }

signals:
    // Bytes for the tool, at the time the handset sends them.
    void output(const QByteArray& bytes);
    // Every unit from the tool ('>') and every burst to it ('<'), as it happens.
    void traffic(char direction, const QByteArray& bytes, qint64 atUs);
    // An unplug fault pulled the handset off the cable.
    void unplugFaultFired();

private:
    void sendDue();
    void scheduleNext();

    VirtualHandset m_handset;
    std::deque<VirtualHandset::Burst> m_queue;
    QTimer m_timer;
    QElapsedTimer m_clock;
    Transcript m_transcript;
};

} // namespace tolvan::sim
