#pragma once

// How the stored bytes of a field travel in a write frame, where the modes' blocks share a
// layout: 7-bit groups whose eighth bit stays in the store, and the coefficients made of them.

#include "link/core/frame.h"

#include <cstdint>
#include <span>

namespace tolvan::handset {

// One 7-bit group as it travels.
std::uint8_t encodeGroup(std::uint8_t stored);
// 32-bit coefficients as stored, five bytes each: four 7-bit groups (low first) and the top four bits.
void appendCoefficients32(link::Bytes& out, std::span<const std::uint8_t> stored);
// A 16-bit coefficient as stored: two 7-bit groups and the top two bits.
void appendCoefficient16(link::Bytes& out, std::span<const std::uint8_t> stored);

} // namespace tolvan::handset
