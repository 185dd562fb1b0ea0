#pragma once

// The PS-ID, the handset's 28-bit identity: block 0x1201 holds it as four 7-bit groups, high
// first; each byte's eighth bit is not part of it and stays as the handset sent it.

#include "handset/handsetblocks.h"

#include <array>
#include <cstdint>
#include <span>

namespace tolvan::handset {

inline constexpr std::uint16_t kPsIdReadCode = 0x1201;

std::uint32_t decodePsId(std::span<const std::uint8_t, 4> groups);
void encodePsId(std::span<std::uint8_t, 4> groups, std::uint32_t value);
// The PS-ID the blocks hold (0 when no read brought one).
std::uint32_t psIdOf(const HandsetBlocks& blocks);

// The PS-ID block as every image that holds it names it.
struct PsIdBlock {
    std::array<std::uint8_t, 4> psId{}; // 0x1201: four 7-bit groups, high first

    std::uint32_t psIdValue() const { return decodePsId(psId); } // 28 bits
    void setPsIdValue(std::uint32_t value) { encodePsId(psId, value); }

    bool operator==(const PsIdBlock&) const = default;
};

} // namespace tolvan::handset
