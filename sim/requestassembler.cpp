#include "sim/requestassembler.h"

namespace tolvan::sim {

void RequestAssembler::clear() {
    m_partial.clear();
    m_inFrame = false;
    m_etxSeen = false;
}

void RequestAssembler::flush(std::vector<Unit>& out, bool frame) {
    if (!m_partial.empty()) {
        out.push_back({std::move(m_partial), frame});
    }
    clear();
}

void RequestAssembler::feed(std::span<const std::uint8_t> bytes, std::int64_t nowUs, std::vector<Unit>& out) {
    if (!m_partial.empty() && nowUs - m_lastUs > kGapLimitUs) {
        flush(out, false);
    }
    for (const std::uint8_t b : bytes) {
        if (!m_inFrame) {
            if (b == link::kStx) {
                flush(out, false);
                m_partial.push_back(b);
                m_inFrame = true;
            } else {
                m_partial.push_back(b);
            }
            continue;
        }
        if (m_etxSeen) {
            m_partial.push_back(b);
            flush(out, true);
            continue;
        }
        if (m_partial.size() >= 2 && b == link::kStx) {
            // A new frame starts inside this one: the first was broken off.
            flush(out, false);
            m_partial.push_back(b);
            m_inFrame = true;
            continue;
        }
        m_partial.push_back(b);
        if (m_partial.size() >= 3 && b == link::kEtx) {
            m_etxSeen = true;
        } else if (m_partial.size() >= link::kMaxUnitLength) {
            flush(out, false);
        }
    }
    m_lastUs = nowUs;
}

std::uint16_t requestCodeOf(std::span<const std::uint8_t> f) {
    if (f.size() < 4 || f[0] != link::kStx) {
        return 0xFFFF;
    }
    const std::size_t bodyLength = f.size() - 4;
    auto body = [&](std::size_t i) { return static_cast<std::uint8_t>(f[2 + i] - link::kBodyOffset); };
    switch (f[1]) {
    case 0x20:
        return 0x20FF;
    case 0x21:
        return 0x21FF;
    case 0x70:
    case 0x71:
    case 0x72:
        return static_cast<std::uint16_t>(f[1] << 8);
    case 0x40:
        return bodyLength >= 1 && body(0) == 1 ? 0x40FF : 0x41FF;
    case 0x30: {
        if (bodyLength == 1) {
            return static_cast<std::uint16_t>(body(0) << 8 | 0x03);
        }
        if (bodyLength < 2) {
            return 0xFFFF;
        }
        const auto code = static_cast<std::uint16_t>(body(0) << 8 | body(1));
        switch (code) {
        case 0x1B02:
            return 0x600B;
        case 0x1B03:
            return 0x6009;
        case 0x1B04:
            return 0x600A;
        default:
            return code;
        }
    }
    case 0x50:
    case 0x60:
        return bodyLength >= 1 ? static_cast<std::uint16_t>(f[1] << 8 | body(0)) : 0xFFFF;
    default:
        return 0xFFFF;
    }
}

} // namespace tolvan::sim
