#pragma once

#include "link/core/engine.h"
#include "link/core/splitter.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <QIODevice>

namespace tolvan::link {

// Runs the link engine over any QIODevice (a serial port, a pseudo-terminal, a test pipe): turns
// readyRead into units through the splitter as soon as a unit is complete, owns the engine's
// timers, and turns the engine's notices and messages into signals.
class LinkDriver : public QObject, private LinkHost {
    Q_OBJECT
public:
    explicit LinkDriver(OperationTable operations, QObject* parent = nullptr);
    ~LinkDriver() override;

    LinkEngine& engine() { return m_engine; }
    const LinkEngine& engine() const { return m_engine; }

    // Starts reading the device (not owned) and marks the port open in the link state.
    void attach(QIODevice* device);
    // Stops reading and marks the port closed; the device itself is left as it is.
    void detach();
    QIODevice* device() const { return m_device; }

    // Milliseconds since the driver was created, the time base of traces.
    qint64 elapsedMs() const { return m_clock.elapsed(); }

signals:
    void notice(tolvan::link::LinkNotice notice);
    void message(tolvan::link::LinkMessage message);
    // The engine closed the port (a mode was left): the device is closed and detached.
    void portClosed();
    // Every unit sent ('>') and received ('<'), for tracing.
    void traced(char direction, const QByteArray& bytes, qint64 elapsedMs);
    // A received unit went through the engine; the link state shows what it did.
    void unitHandled();

private:
    bool write(std::span<const std::uint8_t> bytes) override;
    void startTimer(LinkTimer timer, int ms) override;
    void stopTimer(LinkTimer timer) override;
    void notify(LinkNotice notice) override;
    void showMessage(LinkMessage message) override;
    void closePort() override;

    void readAvailable();
    void deliver(std::vector<Bytes>& units);
    void armInterByteTimer();
    QTimer& timerOf(LinkTimer timer);

    LinkEngine m_engine;
    UnitSplitter m_splitter;
    QPointer<QIODevice> m_device;
    QTimer m_responseTimer;
    QTimer m_pauseTimer;
    QTimer m_watchdogTimer;
    QTimer m_interByteTimer;
    QElapsedTimer m_clock;
};

} // namespace tolvan::link
