#include "sim/testbench.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tolvan::sim {
namespace {

double wave(std::int64_t nowUs, double periodMs) {
    return std::sin(2.0 * std::numbers::pi * static_cast<double>(nowUs) / (periodMs * 1000.0));
}

void addLow7High(Bytes& out, int value, int highMask) {
    out.push_back(static_cast<std::uint8_t>(value & 0x7F));
    out.push_back(static_cast<std::uint8_t>((value >> 7) & highMask));
}

// The first n decoded data bytes of the command, zero-filled when it brought fewer.
Bytes head(std::span<const std::uint8_t> data, std::size_t n) {
    Bytes out(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(std::min(n, data.size())));
    out.resize(n, 0);
    return out;
}

} // namespace

TestBench::TestBench(std::uint8_t modelCode, std::uint32_t seed) : m_model(modelCode), m_random(seed | 1u) {}

int TestBench::jitter(int spread) {
    // A small linear congruential generator: the same seed gives the same run.
    m_random = m_random * 1664525u + 1013904223u;
    return static_cast<int>((m_random >> 16) % static_cast<std::uint32_t>(2 * spread + 1)) - spread;
}

bool TestBench::start(std::uint8_t classByte, std::uint8_t item, std::span<const std::uint8_t> data,
                      std::int64_t nowUs) {
    const std::uint8_t last = classByte == 0x50 ? 7 : 8;
    if ((classByte != 0x50 && classByte != 0x60) || item > last) {
        return false;
    }
    m_class = classByte;
    m_item = item;
    m_data.assign(data.begin(), data.end());
    m_startUs = nowUs;
    m_running = item != 0;
    m_batteryState = false;
    return true;
}

void TestBench::startBatteryState(std::int64_t nowUs) {
    m_running = true;
    m_batteryState = true;
    m_startUs = nowUs;
}

void TestBench::stop() {
    m_running = false;
    m_batteryState = false;
}

int TestBench::rssiAt(std::int64_t nowUs) {
    return std::clamp(46 + static_cast<int>(std::lround(6.0 * wave(nowUs, 4000))) + jitter(2), 0, 127);
}

int TestBench::ferAt(std::int64_t nowUs) {
    return std::clamp(4 + static_cast<int>(std::lround(4.0 * wave(nowUs, 7000))) + jitter(1), 0, 127);
}

std::uint16_t TestBench::switchDataAt(std::int64_t nowUs) const {
    // One switch after another is pressed for 600 ms, with 600 ms released between.
    static constexpr int kVa100[] = {0, 1, 2, 3, 5, 6, 7, 8};
    static constexpr int kVa150[] = {0, 1, 2, 3, 4};
    const std::int64_t phase = nowUs / 600'000;
    if (phase % 2 == 0) {
        return 0;
    }
    const auto index = static_cast<std::size_t>(phase / 2);
    const int bit = m_model == 2 ? kVa100[index % std::size(kVa100)] : kVa150[index % std::size(kVa150)];
    return static_cast<std::uint16_t>(1u << bit);
}

int TestBench::measuredValueAt(std::int64_t nowUs) {
    return std::clamp(150 + static_cast<int>(std::lround(3.0 * wave(nowUs, 5000))) + jitter(2), 0, 255);
}

int TestBench::batteryVoltageAt(std::int64_t nowUs) {
    // The battery runs down slowly while the handset is on the bench.
    const auto drained = static_cast<int>(nowUs / 2'000'000);
    return std::clamp(820 - drained, 600, 1023) + jitter(2);
}

int TestBench::batteryStateAt(std::int64_t nowUs) {
    const int v = batteryVoltageAt(nowUs);
    return v >= 760 ? 3 : v >= 700 ? 2 : v >= 640 ? 1 : 0;
}

TestBench::Answer TestBench::result(std::int64_t nowUs) {
    if (m_batteryState) {
        return {0x30, {0x00, 0x1B, 0x02, static_cast<std::uint8_t>(batteryStateAt(nowUs))}};
    }
    Answer a{m_class, {0x01, m_item}};
    Bytes& out = a.body;
    auto receiveHeader = [&] {
        // 0, channel, output control low and high, output control selection as commanded.
        const Bytes h = head(m_data, 5);
        out.insert(out.end(), h.begin(), h.end());
    };
    if (!m_running) {
        return a; // the stop confirmation carries nothing
    }
    if (m_class == 0x50) {
        switch (m_item) {
        case 1:
            receiveHeader();
            addLow7High(out, rssiAt(nowUs), 1);
            addLow7High(out, ferAt(nowUs), 1);
            out.push_back(1);
            break;
        case 2: {
            const Bytes h = head(m_data, 25);
            out.insert(out.end(), h.begin(), h.end());
            addLow7High(out, rssiAt(nowUs), 1);
            addLow7High(out, ferAt(nowUs), 1);
            break;
        }
        case 7: {
            const std::uint16_t sw = switchDataAt(nowUs);
            for (int shift = 0; shift < 16; shift += 4) {
                out.push_back(static_cast<std::uint8_t>((sw >> shift) & 0x0F));
            }
            break;
        }
        default:
            // Transmit tests confirm what they transmit.
            out.insert(out.end(), m_data.begin(), m_data.end());
            break;
        }
        return a;
    }
    switch (m_item) {
    case 3:
    case 8: {
        const Bytes h = head(m_data, 24);
        out.insert(out.end(), h.begin(), h.end());
        break;
    }
    case 5:
        addLow7High(out, batteryVoltageAt(nowUs), 0x07);
        break;
    default:
        receiveHeader();
        addLow7High(out, measuredValueAt(nowUs), 1);
        out.push_back(1);
        break;
    }
    return a;
}

} // namespace tolvan::sim
