#pragma once

#include "common/modelnames.h"
#include "link/core/catalogue.h"
#include "link/core/frame.h"

#include <array>
#include <cstdint>
#include <span>

namespace tolvan::link {

// Dialogue states.
inline constexpr std::uint32_t kIdle = 0;
inline constexpr std::uint32_t kScriptRunning = 1;
inline constexpr std::uint32_t kKeepAlive = 2;

// Result classes left by the receiver for the last unit.
namespace rc {
inline constexpr std::uint8_t kRetryFailure = 0;
inline constexpr std::uint8_t kLengthError = 1;
inline constexpr std::uint8_t kStxEtxError = 2;
inline constexpr std::uint8_t kCheckByteError = 3;
inline constexpr std::uint8_t kDataError = 4;
inline constexpr std::uint8_t kBatteryEmpty = 5;
inline constexpr std::uint8_t kStatus30 = 6;
inline constexpr std::uint8_t kStatus50 = 7;
inline constexpr std::uint8_t kStatus10 = 8;
inline constexpr std::uint8_t kCommandError = 9;
inline constexpr std::uint8_t kAccepted = 10;
inline constexpr std::uint8_t kDataReceived = 11;
} // namespace rc

// Model codes and names live with the rest of the model table.
using tolvan::kModelVa100;
using tolvan::kModelVa150;
using tolvan::kModelVa150C;
using tolvan::modelNameOf;

// The one record of the link, read by the modes (progress dialog, parsers, screens) and driven by
// the engine. Everything runs on one thread, so there is no locking.
struct LinkState {
    bool portOpen = false;  // the send path and the receiver do nothing while false
    bool workerRun = false; // a port is attached and read
    std::uint32_t currentCommand = 0;
    std::uint32_t pollMarker = 0;
    bool pendingFlag = false;
    std::uint32_t pendingCommand = 0;
    std::uint32_t dialogueState = kIdle;
    std::uint8_t scriptId = 0;
    std::uint8_t scriptStep = 0;
    std::uint8_t resultClass = rc::kRetryFailure;
    std::uint32_t operationId = 0;
    std::uint32_t modelCode = kModelVa150;
    std::uint32_t sendCounter = 0;
    std::uint32_t nakCounter = 0;
    std::uint32_t receiveRetryCounter = 0; // 0xFF while an abort is in progress
    std::uint32_t registrationAnswerFlag = 0;
    bool registrationAccepted = false;
    bool noTimerFlag = false;
    std::array<std::uint8_t, 9> testFields{}; // one-byte fields of the handset's result answers
    std::size_t receiveLength = 0;
    std::array<std::uint8_t, kMaxUnitLength> receiveBuffer{};
    RequestBuffers requests;

    std::span<const std::uint8_t> receivedUnit() const { return {receiveBuffer.data(), receiveLength}; }

    // What the main menu does before every operation. Port flags, the operation id, the
    // registration fields and the request buffers are kept.
    void reset() {
        dialogueState = kIdle;
        scriptStep = 0;
        resultClass = rc::kRetryFailure;
        modelCode = kModelVa150;
        pendingFlag = false;
        pendingCommand = 0;
        currentCommand = 0;
        receiveBuffer.fill(0);
        receiveLength = 0;
        nakCounter = 0;
        receiveRetryCounter = 0;
        sendCounter = 0;
        testFields.fill(0);
    }
};

} // namespace tolvan::link
