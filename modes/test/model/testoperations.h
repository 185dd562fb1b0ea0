#pragma once

#include "link/core/engine.h"
#include "link/core/operations.h"

#include <cstdint>

// The test mode's operation ids (its view states), commands and scripts, written once for the
// screen, the main menu and the command line.
namespace tolvan::testmode::op {

inline constexpr std::uint32_t kReadPending = 0xB000; // reading correction values, or about to
inline constexpr std::uint32_t kIdle = 0xB001;        // connected, values shown
inline constexpr std::uint32_t kNoData = 0xB002;
// A correction write runs (the please-wait window shows); not a state the engine ever sets.
inline constexpr std::uint32_t kWriting = 0xB003;
inline constexpr std::uint32_t kUnplugged = 0xB004;
inline constexpr std::uint32_t kIdleAfterWrite = 0xB0EE;

// A running test or measurement: the id equals the command sent.
inline constexpr std::uint32_t kTestIdle = 0x5000;
inline constexpr std::uint32_t kTestFirst = 0x5000;
inline constexpr std::uint32_t kTestLast = 0x5007;
inline constexpr std::uint32_t kReceiveTest = 0x5001;
inline constexpr std::uint32_t kBurstReceiveTest = 0x5002;
inline constexpr std::uint32_t kButtonsTest = 0x5007;
inline constexpr std::uint32_t kMeasureIdle = 0x6000;
inline constexpr std::uint32_t kMeasureFirst = 0x6000;
inline constexpr std::uint32_t kMeasureLast = 0x6008;
inline constexpr std::uint32_t kRssiGainMeasure = 0x6004;
inline constexpr std::uint32_t kBatteryVoltageMeasure = 0x6005;
inline constexpr std::uint32_t kBatteryStateMeasure = 0x600B;

// Fixed frames sent as single commands (TestCommands::powerOff and reset).
inline constexpr std::uint32_t kPowerOffCommand = 0x6009;
inline constexpr std::uint32_t kResetCommand = 0x600A;

// Single reads and writes beside the lists.
inline constexpr std::uint16_t kReadReferenceClock = 0x1006;
inline constexpr std::uint16_t kWriteReferenceClock = 0x0006;
inline constexpr std::uint16_t kReadBacklight = 0x1103;
inline constexpr std::uint16_t kWriteBacklight = 0x0103;
inline constexpr std::uint16_t kWriteBbicRegister = 0x0007;

inline constexpr std::uint8_t kReadScript = 2;
inline constexpr std::uint8_t kDacWriteScript = 3; // the data setting write owns 0x0002 in practice
inline constexpr std::uint8_t kRssiWriteScript = 4;
inline constexpr std::uint8_t kAmpWriteScript = 6;

// What the screen enables in each view state.
enum class ScreenState : std::uint8_t {
    ConnectedIdle,
    TestRunning,
    MeasurementRunning,
    RssiGainMeasurement,
    NotConnected,
    Unplugged,
    Writing,
    Closed, // 0xFFFF and anything unknown: nothing is enabled
};

constexpr ScreenState screenStateOf(std::uint32_t id) {
    if (id == kIdle || id == kIdleAfterWrite || id == kTestIdle || id == kMeasureIdle) {
        return ScreenState::ConnectedIdle;
    }
    if (id > kTestFirst && id <= kTestLast) {
        return ScreenState::TestRunning;
    }
    if (id == kRssiGainMeasure) {
        return ScreenState::RssiGainMeasurement;
    }
    if ((id > kMeasureFirst && id <= kMeasureLast) || id == kBatteryStateMeasure) {
        return ScreenState::MeasurementRunning;
    }
    switch (id) {
    case kNoData:
    case kReadPending:
        return ScreenState::NotConnected;
    case kUnplugged:
        return ScreenState::Unplugged;
    case kWriting:
        return ScreenState::Writing;
    default:
        return ScreenState::Closed;
    }
}

// Every id of the mode is its own; abandoned, it leaves the no-data id behind.
inline constexpr link::NoticeOwner kNoticeOwner{kNoData};
inline constexpr link::OperationRange kOperationRanges[] = {{0x5000, 0x6FFF}, {0xB000, 0xBFFF}};

// A running test or measurement lives on the handset's answers to the polls (not power off or
// reset, after which the handset rightly says nothing). The battery-empty notice and the close of
// a dialogue are the test screen's too.
inline bool addOperations(link::OperationTable& table) {
    const bool owned = table.addOwner(kOperationRanges, kNoticeOwner, kNoData);
    for (const link::OperationRange ids :
         {link::OperationRange{kTestFirst + 1, kTestLast},
          link::OperationRange{kMeasureFirst + 1, kMeasureLast},
          link::OperationRange{kBatteryStateMeasure, kBatteryStateMeasure}}) {
        link::OperationRules running;
        running.ids = ids;
        running.answerDriven = true;
        table.addRules(running);
    }
    table.setEventOwner(link::LinkEvent::BatteryEmpty, kNoticeOwner);
    table.setEventOwner(link::LinkEvent::DialogueClosed, kNoticeOwner);
    return owned;
}

static_assert(link::coversAll(kOperationRanges, {kIdle, kReadPending, kWriting, kIdleAfterWrite, kTestLast,
                                                 kMeasureLast, kBatteryStateMeasure, kNoData}));

} // namespace tolvan::testmode::op
