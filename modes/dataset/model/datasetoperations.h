#pragma once

#include "link/core/engine.h"
#include "link/core/operations.h"

#include <cstdint>

// The data setting mode's operation ids (its view states) and scripts, written once for the
// screen, the main menu and the command line.
namespace tolvan::dataset::op {

inline constexpr std::uint32_t kReadPending = 0xA000; // reading, or about to
inline constexpr std::uint32_t kDataShown = 0xA001;
inline constexpr std::uint32_t kNoData = 0xA002;
inline constexpr std::uint32_t kUnplugged = 0xA003;

inline constexpr std::uint8_t kReadScript = 0;
inline constexpr std::uint8_t kWriteScript = 1;

// Every id of the mode is its own; abandoned, it leaves the no-data id behind.
inline constexpr link::NoticeOwner kNoticeOwner{kNoData};
inline constexpr link::OperationRange kOperationRanges[] = {{0xA000, 0xAFFF}};

inline bool addOperations(link::OperationTable& table) {
    return table.addOwner(kOperationRanges, kNoticeOwner, kNoData);
}

static_assert(link::coversAll(kOperationRanges, {kDataShown, kReadPending, kNoData}));

} // namespace tolvan::dataset::op
