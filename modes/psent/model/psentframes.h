#pragma once

#include "modes/psent/model/handsetsettingimage.h"

#include "link/core/catalogue.h"
#include "link/core/frame.h"
#include "modes/dataset/model/systemparamimage.h"

#include <cstdint>
#include <span>

namespace tolvan::psent {

// Request frames of the handset setting write, built from the handset setting image; 0x0003 and
// 0x0406 come from the system parameter view of the same store. Records the data setting write
// also sends (0x0102, 0x0008, 0x0201) go out in the one encoding its builders define.
class PsEntFrames {
public:
    // Every write command the handset setting write builds (script 16's writes, 0x0003, 0x0406).
    static std::span<const std::uint16_t> writeCodes();

    // Encoded payload (after the two code bytes); empty for other codes.
    static link::Bytes payload(std::uint16_t code, const HandsetSettingImage& image,
                               const dataset::SystemParamImage& system);
    // The complete frame, STX to check byte; empty for other codes.
    static link::Bytes frame(std::uint16_t code, const HandsetSettingImage& image,
                             const dataset::SystemParamImage& system);
    // Fills the request buffer of every code of writeCodes(). False when a buffer refused its frame.
    static bool fillRequestBuffers(const HandsetSettingImage& image, const dataset::SystemParamImage& system,
                                   link::RequestBuffers& buffers);
    // The same from both views of the store, once the screen's values are stored into it.
    static bool fillRequestBuffers(const handset::HandsetBlocks& store, link::RequestBuffers& buffers);
};

} // namespace tolvan::psent
