#include "link/core/frame.h"

namespace tolvan::link {

std::uint8_t checkByte(std::span<const std::uint8_t> buffer, std::uint8_t count) {
    if (count < 2) {
        return 0;
    }
    std::uint8_t sum = 0;
    for (std::size_t i = 1; i < count && i < buffer.size(); ++i) {
        sum ^= buffer[i];
    }
    return sum;
}

std::uint8_t encodeSmall(unsigned value) {
    return static_cast<std::uint8_t>(value + kBodyOffset);
}

std::uint8_t encodeNibble(unsigned value) {
    return static_cast<std::uint8_t>((value & 0x0F) | 0x20);
}

void appendGroups7of16(Bytes& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>((value & 0x7F) + kBodyOffset));
    out.push_back(static_cast<std::uint8_t>(((value >> 7) & 0x7F) + kBodyOffset));
    out.push_back(static_cast<std::uint8_t>(((value >> 14) & 0x03) | 0x20));
}

void appendGroups7of32(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>((value & 0x7F) + kBodyOffset));
    out.push_back(static_cast<std::uint8_t>(((value >> 7) & 0x7F) + kBodyOffset));
    out.push_back(static_cast<std::uint8_t>(((value >> 14) & 0x7F) + kBodyOffset));
    out.push_back(static_cast<std::uint8_t>(((value >> 21) & 0x7F) + kBodyOffset));
    out.push_back(static_cast<std::uint8_t>((value >> 28) | 0x20));
}

void appendNibblePair(Bytes& out, std::uint8_t value) {
    out.push_back(static_cast<std::uint8_t>((value & 0x0F) | 0x20));
    out.push_back(static_cast<std::uint8_t>((value >> 4) | 0x20));
}

Bytes buildFrame(std::uint8_t classByte, std::span<const std::uint8_t> body) {
    Bytes frame;
    frame.reserve(body.size() + 4);
    frame.push_back(kStx);
    frame.push_back(classByte);
    frame.insert(frame.end(), body.begin(), body.end());
    frame.push_back(kEtx);
    frame.push_back(checkByte(frame, static_cast<std::uint8_t>(frame.size())));
    return frame;
}

Bytes buildDataFrame(std::uint16_t code, std::span<const std::uint8_t> payload) {
    Bytes body;
    body.reserve(payload.size() + 2);
    body.push_back(static_cast<std::uint8_t>((code >> 8) + kBodyOffset));
    body.push_back(static_cast<std::uint8_t>((code & 0xFF) + kBodyOffset));
    body.insert(body.end(), payload.begin(), payload.end());
    return buildFrame(0x30, body);
}

std::uint16_t responseId(std::span<const std::uint8_t> unit) {
    switch (unitByte(unit, 1)) {
    case 0x20:
        return 0x2000;
    case 0x30:
        return static_cast<std::uint16_t>((unitByte(unit, 3) << 8) + unitByte(unit, 4));
    case 0x40:
        return static_cast<std::uint16_t>(0x4000 + unitByte(unit, 2));
    case 0x50:
        return static_cast<std::uint16_t>(0x5000 + unitByte(unit, 3));
    case 0x60:
        return static_cast<std::uint16_t>(0x6000 + unitByte(unit, 3));
    case 0x71:
        return static_cast<std::uint16_t>(0x7100 + unitByte(unit, 2));
    default:
        return 0xFFFF;
    }
}

} // namespace tolvan::link
