#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace tolvan::testmode {

// What a result tells the test mode screen to show.
enum class TestEvent : std::uint8_t {
    RssiFer,        // "ＲＳＳＩデータ", "ＦＥＲデータ"
    Switches,       // "SW　DATA" and the switch indicators
    MeasuredValue,  // "測定データ"
    BatteryVoltage, // "電池電圧データ" and the battery indicator
    BatteryState,   // "電池状態"
};

// One parsed result: the result class that replaces the receiver's, the readings it carries and
// the event to raise. A result that fails a range test carries no readings and no event.
struct TestResultUpdate {
    std::optional<std::uint8_t> resultClass;
    std::optional<std::uint8_t> rssi;
    std::optional<std::uint8_t> fer;
    std::optional<std::uint16_t> switchData;
    std::optional<std::uint8_t> measuredValue;
    std::optional<std::uint16_t> batteryVoltage; // 10 bits
    std::optional<std::uint8_t> batteryState;
    std::optional<TestEvent> event;

    bool operator==(const TestResultUpdate&) const = default;
};

// The parsers of the class 0x50 and 0x60 results and of the battery state answer (group 0x1B
// item 2): pure functions of the decoded unit and the operation id in force when it arrived.
class TestResultParser {
public:
    // unit: the whole decoded unit, STX to check byte. Events are raised only while the
    // operation id is the one that asked for them (0x5001, 0x5002, 0x5007, 0x6004, 0x6005).
    static TestResultUpdate parse(std::span<const std::uint8_t> unit, std::uint32_t operationId);
    // Byte 5 of a group 0x1B item 2 answer: stored and shown whatever runs.
    static TestResultUpdate batteryState(std::uint8_t value);
};

} // namespace tolvan::testmode
