#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <span>

namespace tolvan::handset {

// The most bytes a data response can carry (a unit is at most 256 bytes with its framing).
inline constexpr std::size_t kBlockCapacity = 256;

// Data blocks named by their read code (0x1001 ... 0x1C01, 0x1501 ... 0x1A02), as a value: what
// the handset holds (inside the store), a write being prepared from it, or a file loaded for a
// comparison. A block never set reads as zeros.
class HandsetBlocks {
public:
    using Block = std::array<std::uint8_t, kBlockCapacity>;

    // Whether blocks of this read code are kept (every read of the catalogue, and any item of the
    // groups 0x12 and 0x18 whose item the handset may vary).
    static bool keeps(std::uint16_t readCode);

    // The whole block; empty for a code that is not kept.
    std::span<std::uint8_t> block(std::uint16_t readCode);
    std::span<const std::uint8_t> block(std::uint16_t readCode) const;
    // The first count bytes of a block (count at most kBlockCapacity).
    std::span<std::uint8_t> block(std::uint16_t readCode, std::size_t count) {
        return block(readCode).first(count);
    }
    std::span<const std::uint8_t> block(std::uint16_t readCode, std::size_t count) const {
        return block(readCode).first(count);
    }

    // Overwrites the start of a block with data; false (nothing kept) for a code that is not kept.
    bool put(std::uint16_t readCode, std::span<const std::uint8_t> data);
    // Takes one whole block from another value (a block it never set is zeros).
    void take(std::uint16_t readCode, const HandsetBlocks& from);

    void clear() { m_blocks.clear(); }

    // Equal when every block holds the same bytes (a block never set equals zeros).
    bool operator==(const HandsetBlocks& other) const;

private:
    // Blocks are created on first use; map nodes never move, so a span stays valid for the
    // value's lifetime.
    std::map<std::uint16_t, Block> m_blocks;
};

} // namespace tolvan::handset
