#pragma once

#include "handset/handsetstore.h"
#include "link/core/catalogue.h"
#include "sim/handsetstore.h"
#include "tests/support/heldblocks.h"

#include <cstdint>

namespace tolvan::datasave::test {

// The tool's store after script 18 read the virtual handset of a model: every block the read
// brings for that model, with the sim's factory data.
inline handset::HandsetStore storeReadFromSim(std::uint8_t modelCode) {
    const sim::HandsetStore handset(modelCode);
    handset::HandsetStore store;
    for (int step = 1; step <= link::scriptLastStep(18); ++step) {
        const auto code = static_cast<std::uint16_t>(link::scriptEntry(18, step));
        if (link::isSkippedForModel(code, modelCode)) {
            continue;
        }
        if (const link::Bytes* block = handset.read(code); block != nullptr) {
            tolvan::test::hold(store, code, *block);
        }
    }
    return store;
}

} // namespace tolvan::datasave::test
