#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace tolvan::dataset {

// Which controls of the data setting screen the connected model lets the user edit, and the
// entry rule of the digit boxes.
class DataSetRules {
public:
    static constexpr std::uint32_t kPsIdLimit = 268435455;       // 0x0FFFFFFF
    static constexpr std::uint32_t kSystemCallLimit = 536870911; // 0x1FFFFFFF

    // Area type, number of additional IDs and the hidden seamless selectors.
    static bool areaControlsEnabled(std::uint32_t modelCode);
    static bool rxGainEnabled(std::uint32_t modelCode);
    // Additional-ID rows 1..n are enabled, the others disabled.
    static int enabledIdRows(std::uint32_t modelCode, int additionalIdCountIndex);

    struct DigitEntry {
        bool emptied = false; // the edited box was emptied: the row went past its limit
        int focus = 0;        // the box that gets the input focus next
    };
    // Run after the box at index edited changed.
    static DigitEntry applyDigitEntry(std::array<QString, 9>& boxes, int edited, std::uint32_t limit);
};

} // namespace tolvan::dataset
