#include "modes/log/model/handsetbuffers.h"

#include <algorithm>
#include <type_traits>

namespace tolvan::log {
namespace {

std::size_t responseBytes(const BufferLayout& layout) {
    return static_cast<std::size_t>(layout.entriesPerResponse) * static_cast<std::size_t>(layout.entryBytes);
}

std::uint16_t readCode(const BufferLayout& layout, int response) {
    return static_cast<std::uint16_t>(layout.firstReadCode + response);
}

// One switch for both constnesses.
template <typename Buffers>
std::span<std::conditional_t<std::is_const_v<Buffers>, const std::uint8_t, std::uint8_t>>
bytesOf(Buffers& b, BufferKind kind) {
    switch (kind) {
    case BufferKind::CommEvent:
        return b.commEvent;
    case BufferKind::MmiEvent:
        return b.mmiEvent;
    case BufferKind::CommStatus:
        return b.commStatus;
    case BufferKind::MmiStatus:
        return b.mmiStatus;
    case BufferKind::CommErrorStatus:
        return b.commErrorStatus;
    case BufferKind::HandsetError:
        break;
    }
    return b.handsetError;
}

} // namespace

HandsetBuffers HandsetBuffers::fromStore(const handset::HandsetBlocks& store) {
    HandsetBuffers buffers;
    for (const BufferKind kind : kAllBuffers) {
        const BufferLayout layout = layoutOf(kind);
        const std::size_t share = responseBytes(layout);
        const std::span<std::uint8_t> target = buffers.bytes(kind);
        for (int r = 0; r < layout.responses(); ++r) {
            const auto block = store.block(readCode(layout, r), share);
            std::copy(block.begin(), block.end(),
                      target.subspan(static_cast<std::size_t>(r) * share).begin());
        }
    }
    return buffers;
}

void HandsetBuffers::storeInto(handset::HandsetBlocks& store) const {
    for (const BufferKind kind : kAllBuffers) {
        const BufferLayout layout = layoutOf(kind);
        const std::size_t share = responseBytes(layout);
        const std::span<const std::uint8_t> source = bytes(kind);
        for (int r = 0; r < layout.responses(); ++r) {
            const auto part = source.subspan(static_cast<std::size_t>(r) * share, share);
            std::copy(part.begin(), part.end(), store.block(readCode(layout, r), share).begin());
        }
    }
}

std::span<std::uint8_t> HandsetBuffers::bytes(BufferKind kind) {
    return bytesOf(*this, kind);
}

std::span<const std::uint8_t> HandsetBuffers::bytes(BufferKind kind) const {
    return bytesOf(*this, kind);
}

std::span<const std::uint8_t> HandsetBuffers::entry(BufferKind kind, int index) const {
    const BufferLayout layout = layoutOf(kind);
    if (index < 0 || index >= layout.entries) {
        return {};
    }
    const auto size = static_cast<std::size_t>(layout.entryBytes);
    return bytes(kind).subspan(static_cast<std::size_t>(index) * size, size);
}

} // namespace tolvan::log
