#pragma once

#include "link/core/frame.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tolvan::link {

// Turns the received byte stream into units: an ACK or NAK byte, or a frame from STX through ETX
// and its check byte. Body bytes can be 02, 03, 06 or 15 (values of 0xE0 and above travel below
// 0x20), so a frame ends only at an ETX whose following check byte validates. A partial unit that
// gets no byte for kInterByteLimitMs, or grows to kMaxUnitLength bytes, is handed on as it stands
// and fails validation; bytes outside a frame are gathered into one stray unit the same way.
class UnitSplitter {
public:
    static constexpr std::int64_t kInterByteLimitMs = 100;

    void feed(std::span<const std::uint8_t> bytes, std::int64_t nowMs, std::vector<Bytes>& units);
    // When the partial unit must be handed on, if there is one.
    std::optional<std::int64_t> deadline() const;
    void expire(std::int64_t nowMs, std::vector<Bytes>& units);
    void clear();

private:
    void flush(std::vector<Bytes>& units);

    Bytes m_partial;
    bool m_inFrame = false;
    std::uint8_t m_runningXor = 0; // XOR of bytes 1 .. end of m_partial
    std::int64_t m_lastByteMs = 0;
};

} // namespace tolvan::link
