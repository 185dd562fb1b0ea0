#pragma once

#include "link/core/engine.h"
#include "link/core/operations.h"
#include "modes/log/model/bufferkind.h"

#include <cstdint>
#include <optional>

// The log display mode's operation ids (its view states) and scripts, written once for the
// screen, the main menu and the command line.
namespace tolvan::log::op {

inline constexpr std::uint32_t kReadPending = 0xC000; // reading all buffers, or about to
inline constexpr std::uint32_t kDataShown = 0xC001;
inline constexpr std::uint32_t kNoData = 0xC002;
// 0xC003 to 0xC008 clear one buffer each, in the order of BufferKind.
inline constexpr std::uint32_t kClearFirst = 0xC003;
inline constexpr std::uint32_t kClearAll = 0xC009;
inline constexpr std::uint32_t kUnplugged = 0xC00A;

inline constexpr std::uint8_t kReadScript = 7;
// Scripts 8 to 13 clear one buffer each (BufferKind order), then read all.
inline constexpr std::uint8_t kClearFirstScript = 8;
inline constexpr std::uint8_t kClearAllScript = 14;

constexpr std::uint32_t clearOperation(BufferKind kind) {
    return kClearFirst + static_cast<std::uint32_t>(indexOf(kind));
}

constexpr std::uint8_t clearScript(BufferKind kind) {
    return static_cast<std::uint8_t>(kClearFirstScript + indexOf(kind));
}

// The buffer a clear operation id stands for; nothing for any other id.
constexpr std::optional<BufferKind> clearedBuffer(std::uint32_t operationId) {
    if (operationId < kClearFirst || operationId >= kClearFirst + kBufferCount) {
        return std::nullopt;
    }
    return kAllBuffers[operationId - kClearFirst];
}

// Every id of the mode is its own; abandoned, it leaves the no-data id behind.
inline constexpr link::NoticeOwner kNoticeOwner{kNoData};
inline constexpr link::OperationRange kOperationRanges[] = {{0xC000, 0xCFFF}};

inline bool addOperations(link::OperationTable& table) {
    return table.addOwner(kOperationRanges, kNoticeOwner, kNoData);
}

static_assert(link::coversAll(kOperationRanges, {kDataShown, kReadPending, kUnplugged, kNoData}));
static_assert(clearOperation(BufferKind::HandsetError) == 0xC008);
static_assert(clearScript(BufferKind::HandsetError) == 13);
static_assert(clearedBuffer(0xC005) == BufferKind::CommStatus);

} // namespace tolvan::log::op
