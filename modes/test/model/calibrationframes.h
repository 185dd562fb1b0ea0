#pragma once

#include "modes/test/model/calibrationimage.h"

#include "link/core/catalogue.h"
#include "link/core/frame.h"

#include <cstdint>
#include <optional>
#include <span>

namespace tolvan::testmode {

// Request frames of the calibration writes, built from the calibration image: 0x0002 (DAC),
// 0x0003 (RSSI), 0x0005 (amplifier bias), 0x0006 (reference clock), 0x0103 (backlight), and
// 0x0007 (one baseband IC register), which carries no stored block.
class CalibrationFrames {
public:
    // Every code built from the image.
    static std::span<const std::uint16_t> imageCodes();

    // Encoded payload (after the two code bytes); empty for any other code.
    static link::Bytes payload(std::uint16_t code, const CalibrationImage& image);
    // The complete frame, STX to check byte; empty for any other code.
    static link::Bytes frame(std::uint16_t code, const CalibrationImage& image);
    // Puts the frame of one code into its request buffer; false when the code is not one of
    // imageCodes() or the buffer refused it.
    static bool fillRequestBuffer(std::uint16_t code, const CalibrationImage& image,
                                  link::RequestBuffers& buffers);

    // The register lists offer addresses 0x000 to 0x3DF; nothing is built for another address.
    static constexpr std::uint16_t kLastBbicAddress = 0x3DF;
    static std::optional<link::Bytes> bbicRegisterFrame(std::uint16_t address, std::uint8_t data);
};

} // namespace tolvan::testmode
