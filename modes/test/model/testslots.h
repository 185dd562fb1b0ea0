#pragma once

#include <array>

namespace tolvan::testmode {

// One column ("１" to "４") of the slot lists, as list values (not indices).
struct SlotSetting {
    static constexpr int kFirstChannel = 1;
    static constexpr int kLastChannel = 77;
    static constexpr int kMaxOutputControl = 255;

    bool on = false;
    int channel = kFirstChannel;
    int outputControl = 70;
    int selection = 1; // 0 "LO", 1 "HI"
    int antenna = 0;   // 0 antenna "1", 1 antenna "2"

    bool valid() const {
        return channel >= kFirstChannel && channel <= kLastChannel && outputControl >= 0 &&
               outputControl <= kMaxOutputControl && (selection == 0 || selection == 1) &&
               (antenna == 0 || antenna == 1);
    }
    bool operator==(const SlotSetting&) const = default;
};

// The four slot columns and "出力指定スロット" (0 to 3 for slots 1 to 4).
struct SlotTable {
    static constexpr int kSlotCount = 4;

    std::array<SlotSetting, kSlotCount> columns{};
    int outputSlot = 0;

    // The screen's first selections: slot 1 on, slots 2 to 4 off, channel 1, output 70, HI,
    // antenna 1, output slot 1.
    static SlotTable initial() {
        SlotTable table;
        table.columns[0].on = true;
        return table;
    }
    bool valid() const {
        for (const SlotSetting& slot : columns) {
            if (!slot.valid()) {
                return false;
            }
        }
        return outputSlot >= 0 && outputSlot < kSlotCount;
    }
    bool operator==(const SlotTable&) const = default;
};

} // namespace tolvan::testmode
