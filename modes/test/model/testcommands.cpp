#include "modes/test/model/testcommands.h"

namespace tolvan::testmode {

std::array<std::uint8_t, 2> TestCommands::outputControlBytes(int outputControl) {
    const auto value = static_cast<unsigned>(outputControl);
    return {static_cast<std::uint8_t>(value & 0x7F), static_cast<std::uint8_t>((value & 0x80) != 0 ? 1 : 0)};
}

link::Bytes TestCommands::slotBlock(const SlotSetting& slot) {
    link::Bytes out{link::encodeSmall(slot.on ? 1 : 0)};
    const link::Bytes rest = slot1Block(slot);
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}

link::Bytes TestCommands::slot1Block(const SlotSetting& slot) {
    const auto output = outputControlBytes(slot.outputControl);
    return {link::encodeSmall(static_cast<unsigned>(slot.channel)), link::encodeSmall(output[0]),
            link::encodeSmall(output[1]), link::encodeSmall(static_cast<unsigned>(slot.selection)),
            link::encodeSmall(static_cast<unsigned>(slot.antenna))};
}

std::optional<link::Bytes> TestCommands::frame(const ContentEntry& entry, const SlotTable& table) {
    if (entry.data == CommandData::FixedFrame) {
        const link::CommandInfo* info = link::findCommand(entry.command);
        return info != nullptr ? std::optional(info->fixedFrame) : std::nullopt;
    }
    if (!table.valid()) {
        return std::nullopt;
    }
    link::Bytes body{link::encodeSmall(entry.command & 0xFF)};
    auto append = [&body](const link::Bytes& bytes) { body.insert(body.end(), bytes.begin(), bytes.end()); };
    switch (entry.data) {
    case CommandData::ZeroAndSlot1:
        body.push_back(link::encodeSmall(0));
        append(slot1Block(table.columns[0]));
        break;
    case CommandData::OutputSlotAndAll:
        body.push_back(link::encodeSmall(static_cast<unsigned>(table.outputSlot)));
        [[fallthrough]];
    case CommandData::AllSlots:
        for (const SlotSetting& slot : table.columns) {
            append(slotBlock(slot));
        }
        break;
    default:
        break;
    }
    return link::buildFrame(static_cast<std::uint8_t>(entry.command >> 8), body);
}

bool TestCommands::prepare(const ContentEntry& entry, const SlotTable& table, link::RequestBuffers& buffers) {
    const auto built = frame(entry, table);
    if (!built) {
        return false;
    }
    return entry.data == CommandData::FixedFrame ||
           buffers.set(static_cast<std::uint16_t>(entry.command), *built);
}

} // namespace tolvan::testmode
