#pragma once

// How a mode's typed view of the store (an image, the buffers) is taken from the blocks and put
// back: the view names the read codes it covers and gives its share of each (block(code)); the
// share is the start of the block, and bytes of a block past it stay as they are in the store.

#include "handset/handsetblocks.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

namespace tolvan::handset {

template <typename View>
View viewFromBlocks(const HandsetBlocks& blocks, std::span<const std::uint16_t> codes) {
    View view;
    for (const std::uint16_t code : codes) {
        const std::span<std::uint8_t> target = view.block(code);
        const std::span<const std::uint8_t> source = blocks.block(code, target.size());
        std::copy(source.begin(), source.end(), target.begin());
    }
    return view;
}

template <typename View>
void putViewIntoBlocks(const View& view, HandsetBlocks& blocks, std::span<const std::uint16_t> codes) {
    for (const std::uint16_t code : codes) {
        const std::span<const std::uint8_t> source = view.block(code);
        const std::span<std::uint8_t> target = blocks.block(code, source.size());
        std::copy(source.begin(), source.end(), target.begin());
    }
}

// The read codes of several lists as one list, in order (an image's own codes and those of the
// blocks it shares with other images).
template <std::size_t... Sizes>
constexpr std::array<std::uint16_t, (Sizes + ...)>
joinCodes(const std::array<std::uint16_t, Sizes>&... lists) {
    std::array<std::uint16_t, (Sizes + ...)> joined{};
    auto next = joined.begin();
    ((next = std::copy(lists.begin(), lists.end(), next)), ...);
    return joined;
}

constexpr bool coversCode(std::span<const std::uint16_t> codes, std::uint16_t code) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

// The base of a view: Codes, an array at namespace scope, are the read codes the view covers; the
// view gives its share of each through a non-const block(code) and `using BlockView::block;`.
template <typename View, const auto& Codes> struct BlockView {
    // The blocks of the store that the view covers, and back.
    static View fromStore(const HandsetBlocks& store) { return viewFromBlocks<View>(store, Codes); }
    void storeInto(HandsetBlocks& store) const { putViewIntoBlocks(self(), store, Codes); }
    // Whether the view covers the block of a read code.
    static bool covers(std::uint16_t readCode) { return coversCode(Codes, readCode); }
    std::span<const std::uint8_t> block(std::uint16_t readCode) const {
        // One mapping of codes to bytes serves both constnesses; nothing is written through it.
        return const_cast<View&>(self()).block(readCode);
    }

    bool operator==(const BlockView&) const = default;

private:
    const View& self() const { return static_cast<const View&>(*this); }
};

} // namespace tolvan::handset
