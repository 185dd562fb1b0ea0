#pragma once

#include "link/core/receiver.h"
#include "sim/virtualhandset.h"
#include "tests/support/virtuallink.h"

#include <map>
#include <string>
#include <vector>

namespace tolvan::test {

sim::HandsetConfig handsetConfig(std::uint8_t modelCode, bool pacing = false);

// The virtual handset as the peer of a VirtualLink: it hears every transmission at the link's
// virtual time and its answers arrive when the handset sends them.
class SimPeer : public Peer {
public:
    explicit SimPeer(const sim::HandsetConfig& config = {}) : m_handset(config) {}

    sim::VirtualHandset& handset() { return m_handset; }
    void received(const link::Bytes& bytes, VirtualLink& link) override;

    // Every burst the handset sent, with the virtual millisecond it arrived.
    struct Answer {
        std::int64_t atMs;
        link::Bytes bytes;
    };
    std::vector<Answer> answers;

private:
    sim::VirtualHandset m_handset;
};

// Keeps everything the receiver hands on, in place of the modes' parsers.
class RecordingSink : public link::ResponseSink {
public:
    std::optional<std::uint8_t> dataResponse(std::uint8_t group, std::uint8_t item,
                                             std::span<const std::uint8_t> data) override;
    std::optional<std::uint8_t> testResult(std::uint8_t classByte, std::uint8_t item,
                                           std::span<const std::uint8_t> unit) override;
    void settingRedirect(std::uint8_t value) override { settingValues.push_back(value); }
    void testRedirect(std::uint8_t value) override { testValues.push_back(value); }
    void registrationAnswer(std::uint8_t status, std::span<const std::uint8_t> detail) override;

    std::map<std::uint16_t, link::Bytes> data; // the last data of each group and item
    int dataCount = 0;
    struct TestResult {
        std::uint8_t classByte;
        std::uint8_t item;
        link::Bytes unit; // the decoded unit
    };
    std::vector<TestResult> testResults;
    std::vector<std::uint8_t> settingValues;
    std::vector<std::uint8_t> testValues;
    struct RegistrationAnswer {
        std::uint8_t status;
        link::Bytes detail;
    };
    std::vector<RegistrationAnswer> registrationAnswers;
};

// The engine on the virtual clock against a virtual handset, with a recording sink.
struct SimSession {
    explicit SimSession(std::uint8_t modelCode, bool pacing = false)
        : SimSession(handsetConfig(modelCode, pacing)) {}
    explicit SimSession(const sim::HandsetConfig& config);

    // Runs a script to its end as a mode does: the first opens the dialogue, later ones start
    // from keep-alive with the pending open frame. False when it is still running after
    // limitMs of virtual time. Request buffers never filled get well-formed frames.
    bool runScript(int script, std::uint32_t operationId, std::int64_t limitMs = 120'000);
    // The commands sent since the last runScript began.
    std::vector<std::string> conversation() const;

    VirtualLink link;
    SimPeer peer;
    RecordingSink sink;
    std::size_t from = 0;
};

// The operation id the mode that starts a script would set.
std::uint32_t operationForScript(int script);

// The command a frame from the tool stands for, as four hex digits ("1001", "20FF", "0503").
std::string commandText(const link::Bytes& frame);
std::vector<std::string> commandTexts(const std::vector<VirtualLink::Sent>& sent, std::size_t from = 0);

// What a cooperating handset's conversation of a script looks like from the tool's side: open,
// poll, model query, poll, then every step (polled unless ACK alone answers it).
std::vector<std::string> expectedConversation(int script, std::uint32_t modelCode);

} // namespace tolvan::test
