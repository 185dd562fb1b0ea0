#pragma once

#include <QString>

#include <array>

namespace tolvan::testmode {

// What the calibration controls of the test mode screen show: two-digit hexadecimal fields,
// most significant byte first, and the selected entries of the reference clock and backlight
// lists (kNone when nothing is selected). The screen loads from and stores into this; files,
// reports and the calculations only ever see this.
struct CalibrationFields {
    static constexpr int kNone = -1;
    using Hex4 = std::array<QString, 4>;
    using Hex2 = std::array<QString, 2>;

    // Coefficient rows 1 to 8: slot 1 high, slot 1 low, ... slot 4 low.
    std::array<Hex4, 8> dac;
    std::array<Hex4, 8> amp;
    // [antenna][0 = coefficient 1 (slope), 1 = coefficient 2 (offset)].
    std::array<std::array<Hex2, 2>, 2> rssi;
    int referenceClock = kNone;
    int backlight = kNone;

    bool operator==(const CalibrationFields&) const = default;
};

} // namespace tolvan::testmode
