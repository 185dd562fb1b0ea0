#include "handset/writefields.h"

namespace tolvan::handset {

std::uint8_t encodeGroup(std::uint8_t stored) {
    return static_cast<std::uint8_t>((stored & 0x7F) + link::kBodyOffset);
}

void appendCoefficients32(link::Bytes& out, std::span<const std::uint8_t> stored) {
    for (std::size_t i = 0; i + 5 <= stored.size(); i += 5) {
        for (std::size_t k = 0; k < 4; ++k) {
            out.push_back(encodeGroup(stored[i + k]));
        }
        out.push_back(link::encodeNibble(stored[i + 4]));
    }
}

void appendCoefficient16(link::Bytes& out, std::span<const std::uint8_t> stored) {
    out.push_back(encodeGroup(stored[0]));
    out.push_back(encodeGroup(stored[1]));
    out.push_back(static_cast<std::uint8_t>((stored[2] & 0x03) | 0x20));
}

} // namespace tolvan::handset
