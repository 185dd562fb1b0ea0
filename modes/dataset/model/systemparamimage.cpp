#include "modes/dataset/model/systemparamimage.h"

namespace tolvan::dataset {
namespace {

// A 7-bit group rewritten with the byte's eighth bit kept.
void setGroup(std::uint8_t& byte, std::uint32_t bits) {
    byte = static_cast<std::uint8_t>((byte & 0x80) | (bits & 0x7F));
}

// A byte that holds one bit of a value: only its low bit belongs to the field.
void setLowBit(std::uint8_t& byte, std::uint32_t bit) {
    byte = static_cast<std::uint8_t>((byte & 0xFE) | (bit & 1));
}

std::uint8_t splitByte(const std::uint8_t& low7, const std::uint8_t& bit7) {
    return static_cast<std::uint8_t>((low7 & 0x7F) | ((bit7 & 1) << 7));
}

} // namespace

std::span<std::uint8_t> SystemParamImage::block(std::uint16_t readCode) {
    switch (readCode) {
    case 0x1001:
        return version;
    case 0x1008:
        return gain;
    case handset::kPsIdReadCode:
        return psId;
    case 0x1401:
        return levels;
    case 0x1402:
        return systemCall;
    case 0x1403:
        return area;
    case 0x1404:
        return std::span(additionalIds).first(8);
    case 0x1405:
        return std::span(additionalIds).last(8);
    case 0x1406:
        return channel;
    case 0x1B01:
        return faultCode;
    case 0x1C01:
        return {&accessory, 1};
    case 0x1102:
        return otherParams;
    default:
        return correctionBlock(readCode);
    }
}

std::uint32_t SystemParamImage::systemCallValue() const {
    return (std::uint32_t{systemCall[0] & 0x7Fu} << 22) | (std::uint32_t{systemCall[1] & 0x7Fu} << 15) |
           (std::uint32_t{systemCall[2] & 0x7Fu} << 8) | (std::uint32_t{systemCall[3] & 0x7Fu} << 1) |
           (systemCall[4] & 1u);
}

void SystemParamImage::setSystemCallValue(std::uint32_t value) {
    setGroup(systemCall[0], value >> 22);
    setGroup(systemCall[1], value >> 15);
    setGroup(systemCall[2], value >> 8);
    setGroup(systemCall[3], value >> 1);
    // Bit 0 goes where the read takes it from; byte 8's eighth bit cannot travel anyway.
    setLowBit(systemCall[4], value);
}

std::uint8_t SystemParamImage::ferThreshold() const {
    return splitByte(levels[5], levels[6]);
}

void SystemParamImage::setFerThreshold(std::uint8_t value) {
    setGroup(levels[5], value);
    setLowBit(levels[6], value >> 7u);
}

std::uint8_t SystemParamImage::interval() const {
    return splitByte(systemCall[5], systemCall[6]);
}

void SystemParamImage::setInterval(std::uint8_t value) {
    setGroup(systemCall[5], value);
    setLowBit(systemCall[6], value >> 7u);
}

std::uint16_t SystemParamImage::additionalId(int index) const {
    const auto i = static_cast<std::size_t>(index) * 2;
    return static_cast<std::uint16_t>(((additionalIds[i] & 0x7F) << 6) | (additionalIds[i + 1] & 0x3F));
}

void SystemParamImage::setAdditionalId(int index, std::uint16_t value) {
    const auto i = static_cast<std::size_t>(index) * 2;
    setGroup(additionalIds[i], value >> 6u);
    additionalIds[i + 1] = static_cast<std::uint8_t>((additionalIds[i + 1] & 0xC0) | (value & 0x3F));
}

} // namespace tolvan::dataset
