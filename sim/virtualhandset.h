#pragma once

#include "sim/chaosanswers.h"
#include "sim/faultplan.h"
#include "sim/handsetstore.h"
#include "sim/registration.h"
#include "sim/requestassembler.h"
#include "sim/testbench.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <span>
#include <vector>

namespace tolvan::sim {

struct HandsetConfig {
    std::uint8_t modelCode = 3;
    // 9600 baud 8O1 on the line: 11 bits a byte, in both directions.
    bool pacing = false;
    // Processing time before each ACK, NAK and answer.
    std::int64_t replyDelayUs = 5'000;
    RegistrationScenario registration;
    std::vector<FaultRule> faults;
    // Silence after the reset command 0x600A before the handset listens again.
    std::int64_t resetMs = 1'500;
    // Silence after the power-off command 0x6009 until someone switches it on again; 0 keeps it
    // off until it is plugged in again.
    std::int64_t powerOffMs = 5'000;
    std::uint32_t seed = 1;
};

// What a handset on a real cable looks like: 9600 baud 8O1 and 10 ms of processing before each
// reply. The demo and tolvan-sim start from this.
HandsetConfig realisticConfig(std::uint8_t modelCode);

// The handset's side of the link as plain C++ on an explicit clock: bytes in, bytes out with the
// time they reach the tool. It ACKs or NAKs every frame and answers each poll with the one frame
// that is due; its data lives in a HandsetStore, its test modes in a TestBench, registration in
// a Registration; faults from the plan are injected per command code and count.
class VirtualHandset {
public:
    struct Burst {
        std::int64_t atUs; // when the last byte has arrived at the tool
        Bytes bytes;
    };

    explicit VirtualHandset(const HandsetConfig& config = {});

    // Bytes from the tool arriving at nowUs (never earlier than a previous call). Returns what the
    // handset sends in reaction, in order of time.
    std::vector<Burst> receive(std::span<const std::uint8_t> bytes, std::int64_t nowUs);

    HandsetStore& store() { return m_store; }
    const HandsetStore& store() const { return m_store; }
    TestBench& bench() { return m_bench; }
    Registration& registration() { return m_registration; }
    FaultPlan& faults() { return m_faults; }
    const HandsetConfig& config() const { return m_config; }
    std::uint8_t modelCode() const { return m_config.modelCode; }

    // False once an unplug fault pulled the handset off the cable.
    bool plugged() const { return m_plugged; }
    // Back on the cable: powered up afresh, nothing due, the stored data kept.
    void replug();
    bool poweredAt(std::int64_t nowUs) const { return nowUs >= m_offUntilUs; }

    // Frames received so far (complete ones, valid or not).
    int framesReceived() const { return m_frames; }

    // Every unit that arrives from the tool (frames and junk), with its arrival time.
    std::function<void(std::int64_t atUs, const Bytes& unit)> onUnitReceived;

    // Line time of n bytes at 9600 baud with 11 bits a byte.
    static std::int64_t lineTimeUs(std::size_t bytes);

private:
    enum class Due : std::uint8_t {
        Idle,
        Status,
        Model,
        Data,
        Echo,
        Refused,
        Test,
        TestRefused,
        RegistrationEnd
    };

    void handleFrame(const Bytes& frame, std::int64_t arrivalUs, std::vector<Burst>& out);
    void react(const Bytes& frame, std::uint16_t code, std::int64_t readyUs, std::vector<Burst>& out);
    void reactToData(const Bytes& body, std::uint16_t code, std::int64_t readyUs, std::vector<Burst>& out);
    // Stores a write's payload; with the ignore-write fault only checks that it would be taken.
    bool storeWrite(std::uint16_t code, std::span<const std::uint8_t> payload);
    void answerPoll(std::int64_t readyUs, std::vector<Burst>& out);
    Bytes dueAnswer(std::int64_t atUs);
    void logTestStart(std::uint8_t classByte, std::uint8_t item);
    void powerUp();
    void send(Bytes bytes, std::int64_t readyUs, std::vector<Burst>& out);

    // Set once a chaos fault answered a frame; when the fault is spent the handset is silent.
    std::optional<ChaosAnswers> m_chaos;
    HandsetConfig m_config;
    HandsetStore m_store;
    TestBench m_bench;
    Registration m_registration;
    FaultPlan m_faults;
    RequestAssembler m_assembler;

    bool m_plugged = true;
    bool m_off = false;
    std::int64_t m_offUntilUs = std::numeric_limits<std::int64_t>::min();
    int m_frames = 0;
    Due m_due = Due::Idle;
    std::uint16_t m_dueCode = 0;
    std::uint8_t m_dueClass = 0;
    std::uint16_t m_lastCommand = 0;
    bool m_ignoreWrite = false; // the frame being handled is a write to acknowledge and drop
    std::int64_t m_inLineFreeUs = 0;
    std::int64_t m_busyUntilUs = 0;
    std::int64_t m_outLineFreeUs = 0;
};

} // namespace tolvan::sim
