#pragma once

#include "link/core/frame.h"

#include <cstdint>
#include <span>

namespace tolvan::sim {

using link::Bytes;

// The handset's radio and audio test modes and its measurements. A started test or measurement
// runs until the next one (or a stop) and reports a fresh result to every poll, with values that
// drift over time the way a live radio does: RSSI and FER, pressed switches, measured values,
// battery voltage and battery state.
class TestBench {
public:
    TestBench(std::uint8_t modelCode, std::uint32_t seed);

    struct Answer {
        std::uint8_t classByte = 0;
        Bytes body; // decoded body: status, then the class's own bytes
    };

    // A class 0x50 or 0x60 command (item = its number, data = decoded bytes after it). Returns
    // false for a number the handset does not know; item 0 stops what runs.
    bool start(std::uint8_t classByte, std::uint8_t item, std::span<const std::uint8_t> data,
               std::int64_t nowUs);
    // The battery state read (0x600B): answered by group 0x1B item 2 until something else starts.
    void startBatteryState(std::int64_t nowUs);
    void stop();
    bool running() const { return m_running; }

    // The result the running test reports now.
    Answer result(std::int64_t nowUs);

    // The quantities themselves, as the handset measures them at a moment.
    int rssiAt(std::int64_t nowUs);
    int ferAt(std::int64_t nowUs);
    std::uint16_t switchDataAt(std::int64_t nowUs) const;
    int measuredValueAt(std::int64_t nowUs);
    int batteryVoltageAt(std::int64_t nowUs);
    int batteryStateAt(std::int64_t nowUs);

private:
    int jitter(int spread);

    std::uint8_t m_model;
    std::uint32_t m_random;
    bool m_running = false;
    bool m_batteryState = false;
    std::uint8_t m_class = 0;
    std::uint8_t m_item = 0;
    Bytes m_data;
    std::int64_t m_startUs = 0;
};

} // namespace tolvan::sim
