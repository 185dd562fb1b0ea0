#pragma once

#include "modes/test/model/calibrationfields.h"

#include "common/message.h"
#include "handset/handsetstore.h"
#include "link/core/catalogue.h"

#include <cstdint>
#include <optional>

namespace tolvan::testmode {

enum class CorrectionWrite : std::uint8_t { Rssi, AmpBias };

// What "補正値書き込み2" and "補正書き込み４" (and tolvan-cli calibration write) do before their
// script runs: the screen's coefficients go into the store, and the write frame is built from it,
// so everything the screen does not show goes back as the handset sent it.
class CalibrationWrites {
public:
    struct Prepared {
        bool ready = false; // the request buffer holds the frame: run script
        std::uint8_t script = 0;
        std::uint16_t code = 0;
        std::optional<Message> message; // a typing slip; the write still goes out with 0 for it
    };
    static Prepared prepare(CorrectionWrite write, const CalibrationFields& fields,
                            handset::HandsetBlocks& store, link::RequestBuffers& buffers);
};

} // namespace tolvan::testmode
