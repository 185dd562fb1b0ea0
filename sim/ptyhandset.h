#pragma once

#include "sim/handsetpump.h"
#include "sim/simcommandline.h"

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>

#include <memory>
#include <vector>

namespace tolvan::sim {

// A virtual handset served on a pseudo-terminal in real time: the tool opens the slave side
// like a serial port (raw, so every byte passes unchanged) while the handset answers on the
// master side. It can also list itself as a device for port discovery ("ZX-VA150 USB Serial Ports
// Driver (pts/N)") and plug or unplug itself with the device-change notifications of real
// hardware.
class PtyHandset : public QObject {
    Q_OBJECT
public:
    explicit PtyHandset(const HandsetConfig& config, QObject* parent = nullptr);
    ~PtyHandset() override;

    // Opens the pair and starts serving; false with a reason when the system refuses.
    bool open(QString* error = nullptr);
    void close();
    bool isOpen() const { return m_master >= 0; }
    // The device the tool opens, e.g. /dev/pts/3.
    QString slavePath() const { return m_slavePath; }
    QString driverDescription() const;

    VirtualHandset& handset() { return m_pump.handset(); }
    HandsetPump& pump() { return m_pump; }

    // Lists the handset for port discovery and raises the notifications of a USB plug; a handset
    // off the cable is back on it.
    void plug(int notificationCount = 3);
    // Takes it off the list (one notification, if it was listed) and lets it fall silent.
    void unplug(int notificationCount = 1);
    bool isListed() const { return m_listed; }
    // Off the cable: unplugged, or pulled off by an unplug fault.
    bool isOffCable() const { return m_cableOff; }
    // After an unplug fault the handset comes back after this long; 0 leaves it unplugged.
    void setReplugAfterMs(int ms) { m_replugAfterMs = ms; }

    // A fresh handset of that model with that PS-ID in place of the one served: another unit
    // swapped onto the cable (unplug before, plug after).
    void putOn(std::uint8_t modelCode, std::uint32_t psId, std::uint32_t seedOffset = 0);

    // Writes a transcript of the traffic to the file.
    bool record(const QString& path) { return m_pump.record(path); }

    // Serves the handsets one after another: the first now, each next one swapMs after the tool
    // left the one before (its close frame, then silence); then the cable stays empty.
    void setSequence(std::vector<SequencedHandset> sequence, int swapMs);

signals:
    // The handset went off the cable (false) or came back (true).
    void pluggedChanged(bool plugged);

private:
    void readMaster();
    void writeOut(const QByteArray& bytes);
    void flushPending();
    void unplugFaultFired();
    void putOnCable(std::size_t index);
    void swapToNext();
    void mendStrandedParity();

    HandsetPump m_pump;
    int m_master = -1;
    int m_slave = -1; // held open so the master never sees a hang-up while no tool is attached
    QString m_slavePath;
    std::unique_ptr<QSocketNotifier> m_readNotifier;
    std::unique_ptr<QSocketNotifier> m_writeNotifier;
    QByteArray m_pendingWrite;
    bool m_listed = false;
    bool m_cableOff = false;
    int m_replugAfterMs = 0;
    HandsetConfig m_baseConfig;
    std::vector<SequencedHandset> m_sequence;
    std::size_t m_current = 0;
    int m_swapMs = 0;
    QTimer m_toolGone;
    QTimer m_lineMend;
};

} // namespace tolvan::sim
