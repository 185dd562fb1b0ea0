#pragma once

#include "link/core/engine.h"
#include "link/core/operations.h"

#include <cstdint>

// The data save and write-back mode's view states and scripts. 0xE000 to 0xE003 are also the
// link's operation id; 0xE004 and 0xE005 only change the buttons.
namespace tolvan::datasave::op {

inline constexpr std::uint32_t kEntry = 0xE000;     // the main menu's read, before the screen opens
inline constexpr std::uint32_t kConnected = 0xE001; // data read, both buttons live
inline constexpr std::uint32_t kNoData = 0xE002;
inline constexpr std::uint32_t kUnplugged = 0xE003;
inline constexpr std::uint32_t kDialogOpen = 0xE004;    // a file dialog of the screen is open
inline constexpr std::uint32_t kDialogSettled = 0xE005; // 2.5 s after a dialog opened

inline constexpr std::uint8_t kReadAllScript = 18;
inline constexpr std::uint8_t kWriteBackScript = 19;

// Every id of the mode is its own; abandoned, it leaves the no-data id behind.
inline constexpr link::NoticeOwner kNoticeOwner{kNoData};
inline constexpr link::OperationRange kOperationRanges[] = {{0xE000, 0xEFFF}};

inline bool addOperations(link::OperationTable& table) {
    return table.addOwner(kOperationRanges, kNoticeOwner, kNoData);
}

static_assert(link::coversAll(kOperationRanges, {kConnected, kEntry, kNoData}));

} // namespace tolvan::datasave::op
