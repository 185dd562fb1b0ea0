#pragma once

#include "modes/test/model/testresultparser.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace tolvan::testmode {

// The latest readings of the running test or measurement, as the screen and tolvan-cli show them.
// A reading never received is empty, which is not the same as a reading of 0.
struct TestReadings {
    std::optional<std::uint8_t> rssi;
    std::optional<std::uint8_t> fer;
    std::optional<std::uint16_t> switchData;
    std::optional<std::uint8_t> measuredValue;
    std::optional<std::uint16_t> batteryVoltage;
    std::optional<std::uint8_t> batteryState;

    // Takes the readings an update carries and keeps the others.
    void apply(const TestResultUpdate& update);
    // Tab-separated key=value fields of every reading held: rssi, fer (decimal), switches (three
    // upper-case hex digits), value, battery_voltage, battery_state (decimal).
    QString resultLine() const;

    bool operator==(const TestReadings&) const = default;
};

} // namespace tolvan::testmode
