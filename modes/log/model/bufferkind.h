#pragma once

// The handset's six diagnostic buffers and where each comes from: a list of kinds in the order of
// the read script and of log file 3, with the layout of each buffer's read responses.

#include <array>
#include <cstddef>
#include <cstdint>

namespace tolvan::log {

// In the order the read script reads them and log file 3 lists them.
enum class BufferKind : std::uint8_t {
    CommEvent,       // what the handset was told over the PC interface
    MmiEvent,        // what its user interface did
    CommStatus,      // the history of its radio states
    MmiStatus,       // its current user-interface state, one entry
    CommErrorStatus, // protocol errors and timeouts of the radio link
    HandsetError,    // its own fault codes
};

inline constexpr std::size_t kBufferCount = 6;

inline constexpr std::array<BufferKind, kBufferCount> kAllBuffers = {
    BufferKind::CommEvent, BufferKind::MmiEvent,        BufferKind::CommStatus,
    BufferKind::MmiStatus, BufferKind::CommErrorStatus, BufferKind::HandsetError,
};

// The screen's lists 1 to 6: the upper row (communication event, MMI event, handset error), then
// the lower row (communication status, communication error status, MMI status).
inline constexpr std::array<BufferKind, kBufferCount> kScreenListOrder = {
    BufferKind::CommEvent,  BufferKind::MmiEvent,        BufferKind::HandsetError,
    BufferKind::CommStatus, BufferKind::CommErrorStatus, BufferKind::MmiStatus,
};

constexpr std::size_t indexOf(BufferKind kind) {
    return static_cast<std::size_t>(kind);
}

struct BufferLayout {
    int entries;
    int entryBytes;
    std::uint16_t firstReadCode; // item 1; the following items carry the following entries
    int entriesPerResponse;
    std::uint16_t clearCommand;

    constexpr int responses() const { return entries / entriesPerResponse; }
    constexpr std::size_t bytes() const {
        return static_cast<std::size_t>(entries) * static_cast<std::size_t>(entryBytes);
    }
};

constexpr BufferLayout layoutOf(BufferKind kind) {
    switch (kind) {
    case BufferKind::CommEvent:
        return {16, 2, 0x1501, 4, 0x0503};
    case BufferKind::MmiEvent:
        return {16, 2, 0x1601, 4, 0x0603};
    case BufferKind::CommStatus:
        return {80, 2, 0x1701, 4, 0x0703};
    case BufferKind::MmiStatus:
        return {1, 2, 0x1801, 1, 0x0803};
    case BufferKind::CommErrorStatus:
        return {36, 3, 0x1901, 4, 0x0903};
    case BufferKind::HandsetError:
        break;
    }
    return {16, 1, 0x1A01, 8, 0x0A03};
}

} // namespace tolvan::log
