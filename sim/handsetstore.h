#pragma once

#include "link/core/frame.h"

#include <cstdint>
#include <map>
#include <optional>
#include <span>

namespace tolvan::sim {

using link::Bytes;

// One of the handset's six diagnostic buffers: read in items of equal size, cleared as a whole.
struct LogBuffer {
    std::uint8_t group;     // read group 0x15 to 0x1A; the clear command is (group - 0x10) << 8 | 3
    int items;              // read items 1 .. items
    std::size_t itemBytes;  // data bytes per read response
    std::size_t entryBytes; // bytes per entry
};

inline constexpr LogBuffer kLogBuffers[] = {
    {0x15, 4, 8, 2}, {0x16, 4, 8, 2}, {0x17, 20, 8, 2}, {0x18, 1, 2, 2}, {0x19, 9, 12, 3}, {0x1A, 2, 8, 1},
};
const LogBuffer* logBufferOf(std::uint8_t group);

// Everything the handset holds that the tool can read or write, as decoded data bytes (the 0x20
// offset removed), block by block in the layout a read returns. A write lands in the same
// layout, so reading a block after writing it gives back what was written.
class HandsetStore {
public:
    // The realistic contents of a handset of that model code (2, 3 or 4).
    explicit HandsetStore(std::uint8_t modelCode);

    std::uint8_t modelCode() const { return m_model; }

    // Data bytes a read of the code returns; nullptr for a block the handset does not have.
    const Bytes* read(std::uint16_t readCode) const;
    // Data length of a readable block, 0 for an unknown one.
    static std::size_t blockLength(std::uint16_t readCode);

    // Stores the payload of a write command (decoded data bytes after the two code bytes).
    // False, with nothing stored, for an unknown command or a payload of the wrong length.
    bool write(std::uint16_t writeCode, std::span<const std::uint8_t> payload);

    // Empties a log buffer; false for a group that is not one.
    bool clearBuffer(std::uint8_t group);
    // The whole buffer as one byte run (all its read items in order).
    Bytes buffer(std::uint8_t group) const;
    // Records an entry in the first empty slot; a full buffer drops its oldest entry.
    void appendLogEntry(std::uint8_t group, std::span<const std::uint8_t> entry);

    // Replaces a block outright (scenarios and tests); false for an unknown block or length.
    bool setBlock(std::uint16_t readCode, Bytes data);

    // Baseband IC registers written by 0x0007; they cannot be read back over the link.
    std::optional<std::uint8_t> bbicRegister(std::uint16_t address) const;

private:
    void setBuffer(std::uint8_t group, const Bytes& bytes);

    std::uint8_t m_model;
    std::map<std::uint16_t, Bytes> m_blocks;
    std::map<std::uint16_t, std::uint8_t> m_bbic;
};

} // namespace tolvan::sim
