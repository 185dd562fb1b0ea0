#pragma once

// Puts data into a store as the handset does: through its sink.

#include "handset/handsetstore.h"
#include "handset/storesink.h"

#include <cstdint>
#include <span>

namespace tolvan::test {

inline void hold(handset::HandsetStore& store, std::uint16_t readCode, std::span<const std::uint8_t> data) {
    handset::StoreSink sink(store);
    sink.dataResponse(static_cast<std::uint8_t>(readCode >> 8), static_cast<std::uint8_t>(readCode & 0xFF),
                      data);
}

// Every block of a value as the handset's answers.
inline void holdAll(handset::HandsetStore& store, const handset::HandsetBlocks& blocks,
                    std::span<const std::uint16_t> readCodes) {
    for (const std::uint16_t code : readCodes) {
        hold(store, code, blocks.block(code));
    }
}

} // namespace tolvan::test
