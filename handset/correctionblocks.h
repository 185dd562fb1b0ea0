#pragma once

// The three correction blocks a handset is calibrated with. The test mode edits them; the data
// setting write sends them back as read. Every image that holds them derives from this one struct,
// so their names, sizes and read codes are written once.

#include <array>
#include <cstdint>
#include <span>

namespace tolvan::handset {

inline constexpr std::array<std::uint16_t, 3> kCorrectionCodes{0x1002, 0x1003, 0x1005};

struct CorrectionBlocks {
    std::array<std::uint8_t, 44> dac{};     // 0x1002: A, B (nibble pairs), eight 32-bit coefficients
    std::array<std::uint8_t, 14> rssi{};    // 0x1003: antenna 1 slope, offset, C, D, antenna 2
    std::array<std::uint8_t, 40> ampBias{}; // 0x1005: eight 32-bit coefficients

    // The bytes of a correction block, empty for any other read code (so an image's own lookup
    // can end in it).
    std::span<std::uint8_t> correctionBlock(std::uint16_t readCode) {
        switch (readCode) {
        case 0x1002:
            return dac;
        case 0x1003:
            return rssi;
        case 0x1005:
            return ampBias;
        default:
            return {};
        }
    }

    bool operator==(const CorrectionBlocks&) const = default;
};

} // namespace tolvan::handset
