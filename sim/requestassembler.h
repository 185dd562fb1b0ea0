#pragma once

#include "link/core/frame.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tolvan::sim {

using link::Bytes;

// The handset's receive side: collects request frames (STX, class byte, body, ETX, check byte)
// from the byte stream. Request bodies never hold a byte below 0x20, so the first ETX after the
// class byte ends the body. Bytes outside a frame (the zero byte after command 8, line noise)
// and a frame left incomplete for kGapLimitUs come out as junk.
class RequestAssembler {
public:
    static constexpr std::int64_t kGapLimitUs = 100'000;

    struct Unit {
        Bytes bytes;
        bool frame = false; // a complete frame; its check byte is not yet verified
    };

    void feed(std::span<const std::uint8_t> bytes, std::int64_t nowUs, std::vector<Unit>& out);
    void clear();

private:
    void flush(std::vector<Unit>& out, bool frame);

    Bytes m_partial;
    bool m_inFrame = false;
    bool m_etxSeen = false;
    std::int64_t m_lastUs = 0;
};

// The command code a request frame stands for, as the tool's catalogue names it: 0x20FF open,
// 0x21FF close, 0x7000 poll, 0x7100 and 0x7200 model queries, 0x40FF and 0x41FF registration
// control, 0xNN03 buffer clears, 0x6009, 0x600A and 0x600B for the reads of group 0x1B items 3, 4
// and 2, 0x50NN and 0x60NN test commands, 0xGGII data commands; 0xFFFF for anything else.
std::uint16_t requestCodeOf(std::span<const std::uint8_t> frame);

} // namespace tolvan::sim
