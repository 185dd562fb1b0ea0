#include "tests/support/simpeer.h"

#include "link/core/catalogue.h"
#include "sim/requestassembler.h"

#include <cstdio>

namespace tolvan::test {

sim::HandsetConfig handsetConfig(std::uint8_t modelCode, bool pacing) {
    sim::HandsetConfig config;
    config.modelCode = modelCode;
    config.pacing = pacing;
    return config;
}

void SimPeer::received(const link::Bytes& bytes, VirtualLink& link) {
    const std::int64_t now = link.now();
    for (sim::VirtualHandset::Burst& burst : m_handset.receive(bytes, now * 1000)) {
        const std::int64_t atMs = (burst.atUs + 999) / 1000;
        answers.push_back({atMs, burst.bytes});
        link.deliverLater(std::move(burst.bytes), atMs - now);
    }
}

std::optional<std::uint8_t> RecordingSink::dataResponse(std::uint8_t group, std::uint8_t item,
                                                        std::span<const std::uint8_t> bytes) {
    data[static_cast<std::uint16_t>(group << 8 | item)] = link::Bytes(bytes.begin(), bytes.end());
    ++dataCount;
    return std::nullopt;
}

std::optional<std::uint8_t> RecordingSink::testResult(std::uint8_t classByte, std::uint8_t item,
                                                      std::span<const std::uint8_t> unit) {
    testResults.push_back({classByte, item, link::Bytes(unit.begin(), unit.end())});
    return std::nullopt;
}

void RecordingSink::registrationAnswer(std::uint8_t status, std::span<const std::uint8_t> detail) {
    registrationAnswers.push_back({status, link::Bytes(detail.begin(), detail.end())});
}

SimSession::SimSession(const sim::HandsetConfig& config) : peer(config) {
    link.setPeer(&peer);
    link.engine().setResponseSink(&sink);
}

bool SimSession::runScript(int script, std::uint32_t operationId, std::int64_t limitMs) {
    link::LinkEngine& e = link.engine();
    const bool keepAlive = e.state().dialogueState == link::kKeepAlive;
    if (!keepAlive) {
        e.resetLinkState();
    }
    if (e.state().requests.get(0x0001) == nullptr) {
        fillRequestBuffers(link.state());
    }
    e.setOperation(operationId);
    e.setScript(static_cast<std::uint8_t>(script), link::kScriptRunning);
    from = link.sent.size();
    if (keepAlive) {
        e.setPending(true, link::cmd::kOpen);
    } else {
        e.openRequest();
    }
    return link.runUntil([&] { return link.state().dialogueState != link::kScriptRunning; }, limitMs);
}

std::vector<std::string> SimSession::conversation() const {
    return commandTexts(link.sent, from);
}

std::uint32_t operationForScript(int script) {
    if (script <= 1 || script == 17) {
        return 0xA000;
    }
    if (script <= 6) {
        return 0xB000;
    }
    if (script <= 14) {
        return 0xC000;
    }
    return script <= 16 ? 0xD000 : 0xE000;
}

std::string commandText(const link::Bytes& frame) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X", sim::requestCodeOf(frame));
    return buf;
}

std::vector<std::string> commandTexts(const std::vector<VirtualLink::Sent>& sent, std::size_t from) {
    std::vector<std::string> out;
    for (std::size_t i = from; i < sent.size(); ++i) {
        out.push_back(commandText(sent[i].bytes));
    }
    return out;
}

std::vector<std::string> expectedConversation(int script, std::uint32_t modelCode) {
    std::vector<std::string> out{"20FF", "7000", "7100", "7000"};
    for (int step = 1; step <= link::scriptLastStep(script); ++step) {
        const std::uint32_t code = link::scriptEntry(script, step);
        if (code == link::cmd::kSkip || link::isSkippedForModel(code, modelCode)) {
            continue;
        }
        char buf[8];
        std::snprintf(buf, sizeof buf, "%04X", code);
        out.emplace_back(buf);
        if (link::findCommand(code)->afterAck == link::AfterAck::Poll) {
            out.emplace_back("7000");
        }
    }
    return out;
}

} // namespace tolvan::test
