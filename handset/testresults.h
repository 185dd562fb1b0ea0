#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace tolvan::handset {

// The latest answers of a running test or measurement, as the handset sent them. The test mode's
// model reads its fields (RSSI, FER, switch data, measured value, battery) from them.
struct TestResults {
    // Class 0x50 or 0x60 result with status 1: class byte, item (byte 3) and the decoded unit.
    struct Result {
        std::uint8_t classByte = 0;
        std::uint8_t item = 0;
        std::vector<std::uint8_t> unit;
        bool operator==(const Result&) const = default;
    };
    std::optional<Result> latest;
    // Byte 5 of the group 0x1B item 2 answer.
    std::optional<std::uint8_t> redirect;
    // Results received since the store was cleared, battery-state answers included.
    std::uint32_t count = 0;
    // The battery-state answers among them, so a reader tells a new one from a new result.
    std::uint32_t redirects = 0;

    bool operator==(const TestResults&) const = default;
};

} // namespace tolvan::handset
