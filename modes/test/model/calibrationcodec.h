#pragma once

#include "modes/test/model/calibrationfields.h"
#include "modes/test/model/calibrationimage.h"

#include "common/message.h"

#include <optional>

namespace tolvan::testmode {

// Between the calibration image and the test mode screen's fields.
class CalibrationCodec {
public:
    // The screen refresh after a read: every coefficient as hex fields, most significant byte
    // first, each antenna's own RSSI coefficients in its own fields, the lists at the values read.
    static CalibrationFields fieldsOf(const CalibrationImage& image);

    // The fields into the image before a write; "入力ミスです。" when any character was not a
    // hex digit (it counted as 0). Only the coefficients of that write change.
    static std::optional<Message> takeRssi(const CalibrationFields& fields, CalibrationImage& image);
    static std::optional<Message> takeAmp(const CalibrationFields& fields, CalibrationImage& image);
    static std::optional<Message> takeDac(const CalibrationFields& fields, CalibrationImage& image);
};

} // namespace tolvan::testmode
