#pragma once

// HandsetBuffers: the log display mode's typed view of the handset store, the six buffers' raw
// entries as the last read brought them.

#include "handset/blockview.h"
#include "handset/handsetstore.h"
#include "modes/log/model/bufferkind.h"

#include <array>
#include <cstdint>
#include <span>

namespace tolvan::log {

// The read codes of every response of every buffer, in the read script's order.
inline constexpr auto kBufferReadCodes = [] {
    constexpr std::size_t kCount = [] {
        std::size_t count = 0;
        for (const BufferKind kind : kAllBuffers) {
            count += static_cast<std::size_t>(layoutOf(kind).responses());
        }
        return count;
    }();
    std::array<std::uint16_t, kCount> codes{};
    std::size_t next = 0;
    for (const BufferKind kind : kAllBuffers) {
        const BufferLayout layout = layoutOf(kind);
        for (int r = 0; r < layout.responses(); ++r) {
            codes.at(next++) = static_cast<std::uint16_t>(layout.firstReadCode + r);
        }
    }
    return codes;
}();

// Entry i of a buffer comes from the response to item i / k + 1 (k entries per response), at
// byte (i % k) * entry size; bytes a response carries beyond its k entries are not part of the
// view. Taken from the store, an entry whose response did not arrive in the last read keeps
// what the store held before, so an interrupted read shows the older contents, not zeros.
struct HandsetBuffers : handset::BlockView<HandsetBuffers, kBufferReadCodes> {
    std::array<std::uint8_t, layoutOf(BufferKind::CommEvent).bytes()> commEvent{};
    std::array<std::uint8_t, layoutOf(BufferKind::MmiEvent).bytes()> mmiEvent{};
    std::array<std::uint8_t, layoutOf(BufferKind::CommStatus).bytes()> commStatus{};
    // The handset may answer the MMI status read under any item of its group; the store keeps
    // each item apart, and the view reads the item the read script asks for, 0x1801.
    std::array<std::uint8_t, layoutOf(BufferKind::MmiStatus).bytes()> mmiStatus{};
    std::array<std::uint8_t, layoutOf(BufferKind::CommErrorStatus).bytes()> commErrorStatus{};
    std::array<std::uint8_t, layoutOf(BufferKind::HandsetError).bytes()> handsetError{};

    // The entries the response to a read code carries, empty for a code of no buffer; bytes of a
    // block past its entries are not the view's.
    using BlockView::block;
    std::span<std::uint8_t> block(std::uint16_t readCode);
    // All entries of a buffer, entry after entry.
    std::span<std::uint8_t> bytes(BufferKind kind);
    std::span<const std::uint8_t> bytes(BufferKind kind) const;
    // The bytes of entry index (0 to entries - 1).
    std::span<const std::uint8_t> entry(BufferKind kind, int index) const;

    bool operator==(const HandsetBuffers&) const = default;
};

} // namespace tolvan::log
