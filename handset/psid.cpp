#include "handset/psid.h"

namespace tolvan::handset {

std::uint32_t decodePsId(std::span<const std::uint8_t, 4> groups) {
    return (std::uint32_t{groups[0] & 0x7Fu} << 21) | (std::uint32_t{groups[1] & 0x7Fu} << 14) |
           (std::uint32_t{groups[2] & 0x7Fu} << 7) | (groups[3] & 0x7Fu);
}

void encodePsId(std::span<std::uint8_t, 4> groups, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        const std::uint32_t bits = value >> (7 * (3 - i));
        groups[i] = static_cast<std::uint8_t>((groups[i] & 0x80) | (bits & 0x7F));
    }
}

std::uint32_t psIdOf(const HandsetBlocks& blocks) {
    return decodePsId(blocks.block(kPsIdReadCode, 4).first<4>());
}

} // namespace tolvan::handset
