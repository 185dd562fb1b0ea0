#pragma once

#include "link/core/frame.h"

#include <cstdint>
#include <map>

namespace tolvan::sim {

// Factory contents of a handset of the model code (2, 3 or 4), block by block (read code to
// decoded data bytes). Values are chosen to exercise the tool: every level inside its range,
// nine-digit identities, menu gaps, a code-8 key, call numbers at the edges of every accepted
// range, log entries with known texts, unknown codes and all marker flags, and data bytes of
// 0xE0 and above that travel as 02, 03, 06 and 15.
std::map<std::uint16_t, link::Bytes> defaultBlocks(std::uint8_t modelCode);

} // namespace tolvan::sim
