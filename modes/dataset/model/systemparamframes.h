#pragma once

#include "modes/dataset/model/systemparamimage.h"

#include "link/core/catalogue.h"
#include "link/core/frame.h"

#include <cstdint>
#include <span>

namespace tolvan::dataset {

// Request frames of the data setting write, built from the system parameter image. Blocks the
// screen does not edit (0x0002, 0x0003, 0x0005, 0x0102, the carried bytes of 0x0001 and 0x0008)
// go out as the last read brought them, in the encodings their owners define.
class SystemParamFrames {
public:
    // Every write command the data setting write builds: the writes of script 1 and 0x0B01.
    static std::span<const std::uint16_t> writeCodes();

    // Encoded payload (after the two code bytes) of a write command; empty for other codes.
    static link::Bytes payload(std::uint16_t code, const SystemParamImage& image);
    // The complete frame, STX to check byte; empty for other codes.
    static link::Bytes frame(std::uint16_t code, const SystemParamImage& image);

    // Fills the request buffer of every code of writeCodes(). False when a buffer refused its
    // frame; the buffers filled before it keep their new frames.
    static bool fillRequestBuffers(const SystemParamImage& image, link::RequestBuffers& buffers);
};

} // namespace tolvan::dataset
