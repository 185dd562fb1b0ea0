#pragma once

#include "modes/test/model/testlists.h"
#include "modes/test/model/testoperations.h"
#include "modes/test/model/testslots.h"

#include "link/core/catalogue.h"
#include "link/core/frame.h"

#include <optional>

namespace tolvan::testmode {

// Frames of the test and measurement commands, from the slot lists. Every data byte is a list
// value plus 0x20; the transmit output control travels as bits 0 to 6 and then a 0/1 byte for
// bit 7, so that no value of the list can reach the frame's control bytes.
class TestCommands {
public:
    // Output control as its two data bytes before the offset: 200 gives 72 and 1.
    static std::array<std::uint8_t, 2> outputControlBytes(int outputControl);
    // Six encoded bytes: on/off, channel, output control (two), selection, antenna.
    static link::Bytes slotBlock(const SlotSetting& slot);
    // Five encoded bytes: the slot block without its on/off flag.
    static link::Bytes slot1Block(const SlotSetting& slot);

    // The frame the entry sends with these lists; nothing when a list value is out of range.
    static std::optional<link::Bytes> frame(const ContentEntry& entry, const SlotTable& table);
    // Fills the entry's request buffer (the battery state read has a fixed frame and needs none);
    // false when the lists are out of range or the buffer refused the frame. The command is then
    // sent as a single command, and the operation id becomes entry.command.
    static bool prepare(const ContentEntry& entry, const SlotTable& table, link::RequestBuffers& buffers);

    // "電源OFF" and "リセット": fixed frames sent as single commands. A reset handset restarts
    // instead of answering, so its command goes out with the link's no-timer flag set.
    struct ControlCommand {
        std::uint32_t code = 0;
        bool noTimer = false;
    };
    static ControlCommand powerOff() { return {op::kPowerOffCommand, false}; }
    static ControlCommand reset() { return {op::kResetCommand, true}; }
};

} // namespace tolvan::testmode
