#include "link/core/splitter.h"

namespace tolvan::link {

void UnitSplitter::clear() {
    m_partial.clear();
    m_inFrame = false;
    m_runningXor = 0;
}

void UnitSplitter::flush(std::vector<Bytes>& units) {
    if (!m_partial.empty()) {
        units.push_back(std::move(m_partial));
    }
    clear();
}

std::optional<std::int64_t> UnitSplitter::deadline() const {
    if (m_partial.empty()) {
        return std::nullopt;
    }
    return m_lastByteMs + kInterByteLimitMs;
}

void UnitSplitter::expire(std::int64_t nowMs, std::vector<Bytes>& units) {
    if (!m_partial.empty() && nowMs >= m_lastByteMs + kInterByteLimitMs) {
        flush(units);
    }
}

void UnitSplitter::feed(std::span<const std::uint8_t> bytes, std::int64_t nowMs, std::vector<Bytes>& units) {
    expire(nowMs, units);
    for (const std::uint8_t b : bytes) {
        if (m_inFrame) {
            // Complete when the byte before this one is ETX and this one is the check byte.
            const bool complete = m_partial.size() >= 3 && m_partial.back() == kEtx && m_runningXor == b;
            m_partial.push_back(b);
            m_runningXor ^= b;
            if (complete || m_partial.size() >= kMaxUnitLength) {
                flush(units);
            }
            continue;
        }
        if (b == kStx || b == kAck || b == kNak) {
            flush(units); // stray bytes before it form a unit of their own
            if (b == kStx) {
                m_partial.push_back(b);
                m_inFrame = true;
            } else {
                units.push_back(Bytes{b});
            }
            continue;
        }
        m_partial.push_back(b);
        if (m_partial.size() >= kMaxUnitLength) {
            flush(units);
        }
    }
    m_lastByteMs = nowMs;
}

} // namespace tolvan::link
