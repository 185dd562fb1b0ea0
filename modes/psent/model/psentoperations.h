#pragma once

#include "link/core/engine.h"

#include <cstdint>

// The handset setting mode's operation ids (its view states) and scripts, written once for the
// screen, the registration and the command line.
namespace tolvan::psent::op {

inline constexpr std::uint32_t kReadPending = 0xD000; // leaving or re-reading: the link has it
inline constexpr std::uint32_t kSettingsShown = 0xD001;
inline constexpr std::uint32_t kNoData = 0xD002;
inline constexpr std::uint32_t kUnplugged = 0xD003;
inline constexpr std::uint32_t kRegistrationAborted = 0xD004;
inline constexpr std::uint32_t kRegistrationRunning = 0xD005;
inline constexpr std::uint32_t kRegistrationSecondPhase = 0xD006;
inline constexpr std::uint32_t kRegistrationCompleted = 0xD007;
inline constexpr std::uint32_t kRegistrationFailed = 0xD008;
inline constexpr std::uint32_t kRegistrationCommandError = 0xD009;
inline constexpr std::uint32_t kReading = 0xD00A;
inline constexpr std::uint32_t kWriting = 0xD00B;
// A view state only: every button locked. Never handed to the engine as an operation id.
inline constexpr std::uint32_t kAllLocked = 0xD0FF;

inline constexpr std::uint8_t kReadScript = 15;
inline constexpr std::uint8_t kWriteScript = 16;

static_assert(link::abortTargetOf(kSettingsShown)->noDataOperationId == kNoData);
static_assert(link::abortTargetOf(kReading)->mode == link::ModeWindow::HandsetSetting);
static_assert(link::abortTargetOf(kWriting)->mode == link::ModeWindow::HandsetSetting);
static_assert(link::abortTargetOf(kRegistrationRunning)->noDataOperationId == kNoData);

} // namespace tolvan::psent::op
