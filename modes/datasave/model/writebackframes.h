#pragma once

#include "handset/handsetstore.h"
#include "link/core/catalogue.h"

#include <cstdint>
#include <vector>

namespace tolvan::datasave {

// The request frames of the write-back (script 19), built from the store: the handset setting
// records (0x01xx, 0x0301, 0x0407) from the handset setting view, the system parameter records
// (0x0401 to 0x0406, 0x0C01) from the system parameter view; 0x0201 and 0x0102 are the same bytes
// in both views.
class WriteBackFrames {
public:
    // Every write command script 19 sends, in the script's order.
    static std::vector<std::uint16_t> writeCodes();
    // Fills the request buffer of every code of writeCodes(). False when a frame could not be
    // built or a buffer refused it: a frame left unfilled would end the script in a send error.
    static bool fillRequestBuffers(const handset::HandsetBlocks& store, link::RequestBuffers& buffers);
    // A clone keeps the handset's identity: its PS-ID, PS number and PIN go back as it holds
    // them, whatever the set says.
    static void keepIdentity(handset::HandsetBlocks& pending, const handset::HandsetBlocks& held);
};

} // namespace tolvan::datasave
