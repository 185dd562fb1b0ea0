#pragma once

#include "handset/blockview.h"
#include "handset/correctionblocks.h"
#include "handset/handsetstore.h"

#include <array>
#include <cstdint>
#include <span>

namespace tolvan::testmode {

// The read codes the image covers.
inline constexpr auto kCalibrationCodes =
    handset::joinCodes(handset::kCorrectionCodes, std::to_array<std::uint16_t>({0x1006, 0x1103}));

// The test mode's typed view of the handset store: the calibration blocks exactly as the last
// read brought them (decoded bytes, eighth bits kept). Taken from the store and put back through
// one pair of functions and a value of its own in between, so a file can be loaded and checked
// before anything reaches the store. Setters rewrite only the bits a field owns, so bytes the tool
// does not understand (A and B of the DAC block, C and D of the RSSI block) go back as they came.
struct CalibrationImage : handset::BlockView<CalibrationImage, kCalibrationCodes>, handset::CorrectionBlocks {
    static constexpr int kCoefficientCount = 8;
    static constexpr int kAntennaCount = 2;

    std::array<std::uint8_t, 2> refClock{};  // 0x1006: low nibble, high nibble
    std::array<std::uint8_t, 2> backlight{}; // 0x1103: low nibble, high nibble

    // The stored bytes of a read code, empty for a code the image does not keep.
    using BlockView::block;
    std::span<std::uint8_t> block(std::uint16_t readCode);

    std::uint8_t dacPrefixA() const;
    std::uint8_t dacPrefixB() const;
    // Index 0 to 7: slot 1 high, slot 1 low, ... slot 4 low.
    std::uint32_t dacCoefficient(int index) const;
    void setDacCoefficient(int index, std::uint32_t value);
    std::uint32_t ampCoefficient(int index) const;
    void setAmpCoefficient(int index, std::uint32_t value);

    // Antenna 0 or 1.
    std::uint16_t rssiSlope(int antenna) const;
    void setRssiSlope(int antenna, std::uint16_t value);
    std::uint16_t rssiOffset(int antenna) const;
    void setRssiOffset(int antenna, std::uint16_t value);
    std::int8_t rssiByteC() const { return static_cast<std::int8_t>(rssi[6]); }
    std::int8_t rssiByteD() const { return static_cast<std::int8_t>(rssi[7]); }

    std::uint8_t referenceClock() const;
    void setReferenceClock(std::uint8_t value);
    std::uint8_t backlightLevel() const;
    void setBacklightLevel(std::uint8_t value);

    bool operator==(const CalibrationImage&) const = default;
};

} // namespace tolvan::testmode
