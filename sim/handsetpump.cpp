#include "sim/handsetpump.h"

namespace tolvan::sim {
namespace {

QByteArray toByteArray(const Bytes& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())};
}

} // namespace

HandsetPump::HandsetPump(const HandsetConfig& config, QObject* parent) : QObject(parent), m_handset(config) {
    m_clock.start();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &HandsetPump::sendDue);
    m_handset.onUnitReceived = [this](std::int64_t atUs, const Bytes& unit) {
        m_transcript.record(atUs, '>', unit);
        emit traffic('>', toByteArray(unit), atUs);
    };
}

bool HandsetPump::record(const QString& path) {
    return m_transcript.open(path.toStdString());
}

void HandsetPump::feed(const char* data, qsizetype size) {
    const bool wasPlugged = m_handset.plugged();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data);
    for (VirtualHandset::Burst& burst :
         m_handset.receive(std::span<const std::uint8_t>(bytes, static_cast<std::size_t>(size)), nowUs())) {
        m_queue.push_back(std::move(burst));
    }
    if (wasPlugged && !m_handset.plugged()) {
        drop();
        emit unplugFaultFired();
        return;
    }
    scheduleNext();
}

void HandsetPump::drop() {
    m_queue.clear();
    m_timer.stop();
}

void HandsetPump::replaceHandset(const HandsetConfig& config) {
    drop();
    auto onUnit = std::move(m_handset.onUnitReceived);
    m_handset = VirtualHandset(config);
    m_handset.onUnitReceived = std::move(onUnit);
}

void HandsetPump::scheduleNext() {
    if (m_queue.empty()) {
        m_timer.stop();
        return;
    }
    const std::int64_t waitUs = m_queue.front().atUs - nowUs();
    m_timer.start(static_cast<int>(std::max<std::int64_t>(0, (waitUs + 999) / 1000)));
}

void HandsetPump::sendDue() {
    const std::int64_t now = nowUs();
    // Within half a millisecond counts as due: the timer has millisecond resolution.
    while (!m_queue.empty() && m_queue.front().atUs <= now + 500) {
        const QByteArray bytes = toByteArray(m_queue.front().bytes);
        m_queue.pop_front();
        m_transcript.record(now, '<',
                            {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                             static_cast<std::size_t>(bytes.size())});
        emit traffic('<', bytes, now);
        emit output(bytes);
    }
    scheduleNext();
}

} // namespace tolvan::sim
