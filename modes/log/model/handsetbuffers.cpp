#include "modes/log/model/handsetbuffers.h"

#include <type_traits>

namespace tolvan::log {
namespace {

std::size_t responseBytes(const BufferLayout& layout) {
    return static_cast<std::size_t>(layout.entriesPerResponse) * static_cast<std::size_t>(layout.entryBytes);
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

std::span<std::uint8_t> HandsetBuffers::block(std::uint16_t readCode) {
    for (const BufferKind kind : kAllBuffers) {
        const BufferLayout layout = layoutOf(kind);
        const int response = readCode - layout.firstReadCode;
        if (response >= 0 && response < layout.responses()) {
            const std::size_t share = responseBytes(layout);
            return bytes(kind).subspan(static_cast<std::size_t>(response) * share, share);
        }
    }
    return {};
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
