#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tolvan::link {

inline constexpr std::uint8_t kStx = 0x02;
inline constexpr std::uint8_t kEtx = 0x03;
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kNak = 0x15;
inline constexpr std::uint8_t kBodyOffset = 0x20;
// The receive buffer of the handset link; no unit is longer.
inline constexpr std::size_t kMaxUnitLength = 256;

using Bytes = std::vector<std::uint8_t>;

// XOR of buffer bytes 1 to count-1 (STX excluded, ETX included); 0 for a count below 2.
std::uint8_t checkByte(std::span<const std::uint8_t> buffer, std::uint8_t count);

// Value encodings for request payloads. Every produced byte is 0x20 or above.
std::uint8_t encodeSmall(unsigned value);  // value + 0x20, value 0 to 0x5F
std::uint8_t encodeNibble(unsigned value); // (value & 0x0F) | 0x20
void appendGroups7of16(Bytes& out, std::uint16_t value);
void appendGroups7of32(Bytes& out, std::uint32_t value);
void appendNibblePair(Bytes& out, std::uint8_t value); // low nibble first

// A complete request frame: STX, class byte, body (already offset), ETX, check byte.
Bytes buildFrame(std::uint8_t classByte, std::span<const std::uint8_t> body);
// A data command 0xGGII with an encoded payload.
Bytes buildDataFrame(std::uint16_t code, std::span<const std::uint8_t> payload);

// Response id of a decoded unit (class byte at offset 1, decoded bytes from offset 2).
std::uint16_t responseId(std::span<const std::uint8_t> decodedUnit);

// Decoded byte at offset i of a unit, 0 when the unit is too short to hold it.
inline std::uint8_t unitByte(std::span<const std::uint8_t> unit, std::size_t i) {
    return i < unit.size() ? unit[i] : 0;
}

} // namespace tolvan::link
