#pragma once

#include "link/core/engine.h"
#include "link/core/operations.h"

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

// Every id of the mode is its own; abandoned, it leaves the no-data id behind.
inline constexpr link::NoticeOwner kNoticeOwner{kNoData};
inline constexpr link::OperationRange kOperationRanges[] = {{0x4000, 0x4FFF}, {0xD000, 0xDFFF}};

// The registration lives on the handset's answers. Its first phase asks for registration on the
// open answer; each close of the registration's dialogue moves it on a phase: the second reopens
// the dialogue, after it the registration is complete and the dialogue ends.
inline bool addOperations(link::OperationTable& table) {
    const bool owned = table.addOwner(kOperationRanges, kNoticeOwner, kNoData);
    link::OperationRules first;
    first.ids = {kRegistrationRunning, kRegistrationRunning};
    first.answerDriven = true;
    first.registersOnOpenAnswer = true;
    first.afterClosePause =
        link::ClosePhase{link::LinkEvent::RegistrationStep, kRegistrationSecondPhase, true};
    table.addRules(first);
    link::OperationRules second;
    second.ids = {kRegistrationSecondPhase, kRegistrationSecondPhase};
    second.answerDriven = true;
    second.afterClosePause =
        link::ClosePhase{link::LinkEvent::RegistrationFinished, kRegistrationCompleted, false};
    table.addRules(second);
    return owned;
}

static_assert(link::coversAll(kOperationRanges,
                              {kSettingsShown, kReading, kWriting, kRegistrationRunning, kNoData}));

} // namespace tolvan::psent::op
