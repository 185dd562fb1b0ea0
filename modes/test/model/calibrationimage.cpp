#include "modes/test/model/calibrationimage.h"

#include <algorithm>

namespace tolvan::testmode {
namespace {

// Rewrites the bits of a byte that a field owns; the others stay as read.
void setBits(std::uint8_t& byte, std::uint32_t value, std::uint8_t mask) {
    byte = static_cast<std::uint8_t>((byte & ~mask) | (value & mask));
}

std::uint32_t coefficient32(std::span<const std::uint8_t> b) {
    return (b[0] & 0x7Fu) | ((b[1] & 0x7Fu) << 7) | ((b[2] & 0x7Fu) << 14) | ((b[3] & 0x7Fu) << 21) |
           ((b[4] & 0x0Fu) << 28);
}

void setCoefficient32(std::span<std::uint8_t> b, std::uint32_t v) {
    setBits(b[0], v, 0x7F);
    setBits(b[1], v >> 7, 0x7F);
    setBits(b[2], v >> 14, 0x7F);
    setBits(b[3], v >> 21, 0x7F);
    setBits(b[4], v >> 28, 0x0F);
}

std::uint16_t coefficient16(std::span<const std::uint8_t> b) {
    return static_cast<std::uint16_t>((b[0] & 0x7Fu) | ((b[1] & 0x7Fu) << 7) | ((b[2] & 0x03u) << 14));
}

void setCoefficient16(std::span<std::uint8_t> b, std::uint16_t v) {
    setBits(b[0], v, 0x7F);
    setBits(b[1], v >> 7u, 0x7F);
    setBits(b[2], v >> 14u, 0x03);
}

// Both nibble blocks are read as nibbles, so any answer selects an entry of a 256-entry list.
std::uint8_t nibblePair(const std::array<std::uint8_t, 2>& b) {
    return static_cast<std::uint8_t>((b[0] & 0x0F) | ((b[1] & 0x0F) << 4));
}

void setNibblePair(std::array<std::uint8_t, 2>& b, std::uint8_t v) {
    setBits(b[0], v, 0x0F);
    setBits(b[1], v >> 4u, 0x0F);
}

std::size_t coefficientAt(int index) {
    return static_cast<std::size_t>(std::clamp(index, 0, CalibrationImage::kCoefficientCount - 1)) * 5;
}

// Slope of antenna 0 or 1; its offset follows three bytes later. C and D sit between the antennas.
std::size_t antennaAt(int antenna) {
    return antenna == 1 ? 8 : 0;
}

} // namespace

std::span<std::uint8_t> CalibrationImage::block(std::uint16_t readCode) {
    switch (readCode) {
    case 0x1006:
        return refClock;
    case 0x1103:
        return backlight;
    default:
        return correctionBlock(readCode);
    }
}

std::uint8_t CalibrationImage::dacPrefixA() const {
    return static_cast<std::uint8_t>((dac[0] & 0x0F) | ((dac[1] & 0x0F) << 4));
}

std::uint8_t CalibrationImage::dacPrefixB() const {
    return static_cast<std::uint8_t>((dac[2] & 0x0F) | ((dac[3] & 0x0F) << 4));
}

std::uint32_t CalibrationImage::dacCoefficient(int index) const {
    return coefficient32(std::span(dac).subspan(4 + coefficientAt(index), 5));
}

void CalibrationImage::setDacCoefficient(int index, std::uint32_t value) {
    setCoefficient32(std::span(dac).subspan(4 + coefficientAt(index), 5), value);
}

std::uint32_t CalibrationImage::ampCoefficient(int index) const {
    return coefficient32(std::span(ampBias).subspan(coefficientAt(index), 5));
}

void CalibrationImage::setAmpCoefficient(int index, std::uint32_t value) {
    setCoefficient32(std::span(ampBias).subspan(coefficientAt(index), 5), value);
}

std::uint16_t CalibrationImage::rssiSlope(int antenna) const {
    return coefficient16(std::span(rssi).subspan(antennaAt(antenna), 3));
}

void CalibrationImage::setRssiSlope(int antenna, std::uint16_t value) {
    setCoefficient16(std::span(rssi).subspan(antennaAt(antenna), 3), value);
}

std::uint16_t CalibrationImage::rssiOffset(int antenna) const {
    return coefficient16(std::span(rssi).subspan(antennaAt(antenna) + 3, 3));
}

void CalibrationImage::setRssiOffset(int antenna, std::uint16_t value) {
    setCoefficient16(std::span(rssi).subspan(antennaAt(antenna) + 3, 3), value);
}

std::uint8_t CalibrationImage::referenceClock() const {
    return nibblePair(refClock);
}

void CalibrationImage::setReferenceClock(std::uint8_t value) {
    setNibblePair(refClock, value);
}

std::uint8_t CalibrationImage::backlightLevel() const {
    return nibblePair(backlight);
}

void CalibrationImage::setBacklightLevel(std::uint8_t value) {
    setNibblePair(backlight, value);
}

} // namespace tolvan::testmode
