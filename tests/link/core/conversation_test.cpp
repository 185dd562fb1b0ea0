// Whole conversations between the engine and a scripted handset on the virtual clock, compared
// frame by frame.
#include "link/core/engine.h"
#include "modes/dataset/model/datasetoperations.h"
#include "tests/support/scriptedhandset.h"
#include "tests/support/virtuallink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace tolvan::link {
namespace {

using test::ScriptedHandset;
using test::VirtualLink;
using Reply = ScriptedHandset::Reply;

// The command a transmitted frame stands for, as four hex digits.
std::string codeOf(const Bytes& f) {
    std::uint32_t code = 0xFFFFFFFF;
    if (f.size() >= 4) {
        switch (f[1]) {
        case 0x20:
            code = 0x20FF;
            break;
        case 0x21:
            code = 0x21FF;
            break;
        case 0x70:
        case 0x71:
        case 0x72:
            code = static_cast<std::uint32_t>(f[1]) << 8;
            break;
        case 0x40:
            code = f[2] == 0x21 ? 0x40FF : 0x41FF;
            break;
        case 0x30:
            code = f.size() == 5 ? ((f[2] - 0x20u) << 8) | 0x03 : ((f[2] - 0x20u) << 8) | (f[3] - 0x20u);
            break;
        default:
            code = (static_cast<std::uint32_t>(f[1]) << 8) | (f[2] - 0x20u);
        }
    }
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X", code);
    return buf;
}

std::vector<std::string> codes(const std::vector<VirtualLink::Sent>& sent, std::size_t from = 0) {
    std::vector<std::string> out;
    for (std::size_t i = from; i < sent.size(); ++i) {
        out.push_back(codeOf(sent[i].bytes));
    }
    return out;
}

// What a cooperative handset conversation of a script looks like from the PC side: open, poll,
// model query, poll, then every step sent (and polled unless it is answered by ACK alone).
std::vector<std::string> expectedScript(int script, std::uint32_t model) {
    std::vector<std::string> out{"20FF", "7000", "7100", "7000"};
    for (int step = 1; step <= scriptLastStep(script); ++step) {
        const std::uint32_t code = scriptEntry(script, step);
        if (code == cmd::kSkip || isSkippedForModel(code, model)) {
            continue;
        }
        char buf[8];
        std::snprintf(buf, sizeof buf, "%04X", code);
        out.emplace_back(buf);
        const AfterAck after = findCommand(code)->afterAck;
        if (after == AfterAck::Poll) {
            out.emplace_back("7000");
        }
    }
    return out;
}

// Fills every request buffer with a well-formed frame of its length.
void fillRequestBuffers(LinkState& state) {
    for (std::uint32_t code = 0; code <= 0x6FFF; ++code) {
        const CommandInfo* info = findCommand(code);
        if (!info || !info->requestBuffer) {
            continue;
        }
        const std::size_t frameLength = code == 0x0008 ? info->byteCount - 1u : info->byteCount;
        Bytes frame;
        if (code < 0x1000) {
            frame = buildDataFrame(static_cast<std::uint16_t>(code), Bytes(frameLength - 6, 0x21));
        } else {
            Bytes body{static_cast<std::uint8_t>((code & 0xFF) + 0x20)};
            body.resize(frameLength - 4, 0x21);
            frame = buildFrame(static_cast<std::uint8_t>(code >> 8), body);
        }
        ASSERT_TRUE(state.requests.set(static_cast<std::uint16_t>(code), frame)) << std::hex << code;
    }
}

class Conversation : public ::testing::Test {
protected:
    void SetUp() override { link.setPeer(&handset); }

    void start(std::uint8_t script, std::uint32_t operationId) {
        auto& e = link.engine();
        e.resetLinkState();
        fillRequestBuffers(link.state());
        e.setOperation(operationId);
        e.setScript(script, kScriptRunning);
        e.openRequest();
    }
    bool runScript(std::int64_t limitMs = 60000) {
        return link.runUntil([&] { return link.state().dialogueState != kScriptRunning; }, limitMs);
    }
    void useModel(std::uint8_t model) { handset = ScriptedHandset(model); }

    VirtualLink link;
    ScriptedHandset handset;
};

TEST_F(Conversation, Script0ForEachModel) {
    for (std::uint8_t model = 2; model <= 4; ++model) {
        VirtualLink fresh;
        ScriptedHandset peer(model);
        fresh.setPeer(&peer);
        fresh.engine().resetLinkState();
        fresh.engine().setOperation(0xA000);
        fresh.engine().setScript(0, kScriptRunning);
        fresh.engine().openRequest();
        ASSERT_TRUE(fresh.runUntil([&] { return fresh.state().dialogueState != kScriptRunning; }, 60000));
        EXPECT_EQ(fresh.state().dialogueState, kKeepAlive);
        EXPECT_EQ(fresh.state().modelCode, model);
        auto expected = expectedScript(0, model);
        expected.push_back("20FF"); // the keep-alive dialogue opens after the pause
        EXPECT_EQ(codes(fresh.sent), expected) << "model " << int(model);
        const bool sent1008 =
            std::find(expected.begin(), expected.end(), std::string("1008")) != expected.end();
        EXPECT_EQ(sent1008, model == 2);
        EXPECT_TRUE(fresh.messages.empty());
    }
}

TEST_F(Conversation, Script16ForModel3SkipsItsFourSteps) {
    start(16, 0xD000);
    ASSERT_TRUE(runScript());
    EXPECT_EQ(link.state().dialogueState, kKeepAlive);
    auto sent = codes(link.sent);
    int steps = 0;
    for (int step = 1; step <= scriptLastStep(16); ++step) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%04X", scriptEntry(16, step));
        steps += static_cast<int>(std::count(sent.begin(), sent.end(), std::string(buf)));
    }
    EXPECT_EQ(steps, 25);
    for (const char* skipped : {"0407", "1407", "1008", "0008"}) {
        EXPECT_EQ(std::count(sent.begin(), sent.end(), std::string(skipped)), 0) << skipped;
    }
    auto expected = expectedScript(16, 3);
    expected.push_back("20FF");
    EXPECT_EQ(sent, expected);
}

TEST_F(Conversation, ClearScriptAdvancesOnAckAlone) {
    start(8, 0xC000);
    ASSERT_TRUE(runScript());
    const auto sent = codes(link.sent);
    ASSERT_GE(sent.size(), 6u);
    // open, poll, model query, poll, then the clear and straight on to 0x1B01.
    EXPECT_EQ(sent[4], "0503");
    EXPECT_EQ(sent[5], "1B01");
}

TEST_F(Conversation, CloseFrameIsFollowedByANinehundredMillisecondSilence) {
    start(2, 0xB000);
    ASSERT_TRUE(link.runUntil([&] { return link.engine().closePauseRunning(); }, 60000));
    const std::int64_t ackAt = link.now();
    const std::size_t sentBefore = link.sent.size();
    ASSERT_TRUE(link.runUntil([&] { return link.sent.size() > sentBefore; }, 5000));
    EXPECT_EQ(link.now() - ackAt, 900);
    EXPECT_EQ(codeOf(link.sent.back().bytes), "20FF");
    // The test mode heard that the dialogue closed.
    ASSERT_FALSE(link.notices.empty());
    EXPECT_EQ(link.notices.front().event, LinkEvent::DialogueClosed);
}

TEST_F(Conversation, PendingCommandReplacesTheNextKeepAlivePoll) {
    start(0, 0xA000);
    ASSERT_TRUE(runScript());
    link.runFor(2000); // keep-alive polling runs
    const std::size_t before = link.sent.size();
    link.engine().setPending(true, 0x1006);
    ASSERT_TRUE(link.runUntil([&] { return link.sent.size() > before; }, 1000));
    EXPECT_EQ(codeOf(link.sent[before].bytes), "1006");
    EXPECT_FALSE(link.state().pendingFlag);
    // The single read is polled and answered, then keep-alive goes on.
    link.runFor(500);
    const auto after = codes(link.sent, before);
    ASSERT_GE(after.size(), 3u);
    EXPECT_EQ(after[1], "7000");
    EXPECT_EQ(after[2], "7000");
}

TEST_F(Conversation, PendingCommandIsDroppedWhenAnUnansweredPollIsRepeated) {
    // The handset ACKs 0x1001 but never answers the poll after it.
    bool silent = false;
    handset.override = [&](const Bytes& f, int) -> std::optional<std::vector<Reply>> {
        if (f[1] == 0x30 && f.size() == 6 && f[2] == 0x30 && f[3] == 0x21) {
            silent = true;
            return std::vector<Reply>{{5, {kAck}}};
        }
        if (silent && f[1] == 0x70) {
            return std::vector<Reply>{};
        }
        return std::nullopt;
    };
    start(0, 0xA000);
    ASSERT_TRUE(link.runUntil(
        [&] { return codes(link.sent).back() == "7000" && link.state().currentCommand == 0x1001; }, 10000));
    const std::size_t before = link.sent.size();
    link.engine().setPending(true, 0x1006);
    ASSERT_TRUE(link.runUntil([&] { return link.sent.size() > before; }, 3000));
    EXPECT_EQ(codeOf(link.sent[before].bytes), "7000");
    EXPECT_EQ(link.sent[before].at - link.sent[before - 1].at, kLongResponseMs);
    EXPECT_FALSE(link.state().pendingFlag);
    EXPECT_EQ(link.state().currentCommand, 0x1001u);
}

TEST_F(Conversation, SilentHandsetAbortsAfterFiveSendsWithTheUsbMessage) {
    bool dead = false; // from 0x1002 on the handset says nothing at all
    handset.override = [&](const Bytes& f, int) -> std::optional<std::vector<Reply>> {
        dead = dead || codeOf(f) == "1002";
        return dead ? std::optional<std::vector<Reply>>(std::vector<Reply>{}) : std::nullopt;
    };
    start(0, 0xA000);
    ASSERT_TRUE(runScript());
    const auto sent = codes(link.sent);
    // 0x1002 went out five times, 500 ms apart, then the close frame.
    EXPECT_EQ(std::count(sent.begin(), sent.end(), std::string("1002")), 5);
    EXPECT_EQ(sent.back(), "21FF");
    EXPECT_EQ(link.state().dialogueState, kIdle);
    EXPECT_EQ(link.state().operationId, 0xA002u);
    ASSERT_EQ(link.messages.size(), 1u);
    EXPECT_EQ(link.messages[0], LinkMessage::UsbError);
    ASSERT_FALSE(link.notices.empty());
    EXPECT_EQ(link.notices.back().event, LinkEvent::OperationAborted);
    EXPECT_EQ(link.notices.back().owner, dataset::op::kNoticeOwner);
}

TEST_F(Conversation, UnansweredPollsDuringAScriptAbortToo) {
    // ACK for everything, but the poll after the model query is never answered.
    int polls = 0;
    handset.override = [&](const Bytes& f, int) -> std::optional<std::vector<Reply>> {
        if (f[1] == 0x70 && ++polls >= 2) {
            return std::vector<Reply>{};
        }
        return std::nullopt;
    };
    start(0, 0xA000);
    ASSERT_TRUE(runScript(30000));
    EXPECT_EQ(link.state().dialogueState, kIdle);
    ASSERT_EQ(link.messages.size(), 1u);
    EXPECT_EQ(link.messages[0], LinkMessage::UsbError);
    // Five polls after the model query: the first and four resends, 2000 ms apart.
    const auto sent = codes(link.sent);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), std::string("7000")), 6);
}

TEST_F(Conversation, UnacknowledgedCloseAfterAnAbortGivesUpSilently) {
    handset.override = [](const Bytes& f, int) -> std::optional<std::vector<Reply>> {
        if (f[1] == 0x30 || f[1] == 0x21) {
            return std::vector<Reply>{};
        }
        return std::nullopt;
    };
    start(0, 0xA000);
    ASSERT_TRUE(runScript());
    link.runFor(10000);
    const auto sent = codes(link.sent);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), std::string("21FF")), 5);
    EXPECT_EQ(link.messages.size(), 1u); // only the one USB message of the abort
    EXPECT_FALSE(link.timerRunning(LinkTimer::Response));
}

TEST_F(Conversation, FiveNaksOfAReadRestartTheDialogueAndResend) {
    int naks = 0;
    handset.override = [&](const Bytes& f, int) -> std::optional<std::vector<Reply>> {
        if (codeOf(f) == "1001" && naks < 5) {
            ++naks;
            return std::vector<Reply>{{5, {kNak}}};
        }
        return std::nullopt;
    };
    start(0, 0xA000);
    ASSERT_TRUE(runScript());
    const auto sent = codes(link.sent);
    const std::vector<std::string> head(sent.begin(), sent.begin() + 13);
    EXPECT_EQ(head, (std::vector<std::string>{"20FF", "7000", "7100", "7000", "1B01", "7000", "1001", "1001",
                                              "1001", "1001", "1001", "20FF", "1001"}));
    // The restart does not lose the script's place: it still ends normally.
    EXPECT_EQ(link.state().dialogueState, kKeepAlive);
    EXPECT_TRUE(link.messages.empty());
}

TEST_F(Conversation, FiveNaksOfTheModelQueryWhileAScriptRuns) {
    handset.override = [](const Bytes& f, int) -> std::optional<std::vector<Reply>> {
        if (f[1] == 0x71) {
            return std::vector<Reply>{{5, {kNak}}};
        }
        return std::nullopt;
    };
    start(0, 0xA000);
    ASSERT_TRUE(runScript(20000));
    const auto sent = codes(link.sent);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), std::string("7100")), 5);
    EXPECT_EQ(link.state().modelCode, 0u);
    // No model, no script: the operation ends instead of waiting forever.
    EXPECT_EQ(link.state().dialogueState, kIdle);
    EXPECT_EQ(sent.back(), "21FF");
    ASSERT_EQ(link.messages.size(), 1u);
    EXPECT_EQ(link.messages[0], LinkMessage::NakRetryError);
    EXPECT_EQ(link.state().operationId, 0xA002u);
}

TEST_F(Conversation, FiveNaksOfTheModelQueryInKeepAlive) {
    start(0, 0xA000);
    ASSERT_TRUE(runScript());
    handset.override = [](const Bytes& f, int) -> std::optional<std::vector<Reply>> {
        if (f[1] == 0x71) {
            return std::vector<Reply>{{5, {kNak}}};
        }
        return std::nullopt;
    };
    link.runFor(5000);
    EXPECT_EQ(link.state().dialogueState, kKeepAlive);
    EXPECT_TRUE(link.messages.empty());
    const auto sent = codes(link.sent);
    // After the fifth NAK of 0x7100 the engine polls instead.
    auto it = std::search_n(sent.begin(), sent.end(), 5, std::string("7100"));
    ASSERT_NE(it, sent.end());
    EXPECT_EQ(*(it + 5), "7000");
}

TEST_F(Conversation, BadReceptionsAreRetriedThenEndTheProgramWithTheClassMessage) {
    int bad = 0;
    handset.override = [&](const Bytes& f, int) -> std::optional<std::vector<Reply>> {
        if (codeOf(f) == "7000" && link.state().currentCommand == 0x1001) {
            ++bad;
            Bytes broken = ScriptedHandset::dataResponse(0x1001, {1, 2});
            broken.back() ^= 0x55;
            return std::vector<Reply>{{5, broken}};
        }
        return std::nullopt;
    };
    start(0, 0xA000);
    ASSERT_TRUE(link.runUntil([&] { return link.engine().fatalOutcome().has_value(); }, 60000));
    EXPECT_EQ(*link.engine().fatalOutcome(), LinkMessage::CheckByteError);
    ASSERT_EQ(link.messages.size(), 1u);
    EXPECT_EQ(link.messages[0], LinkMessage::CheckByteError);
    EXPECT_EQ(bad, 6); // five retries, the sixth failure ends it
    const std::size_t sentAtEnd = link.sent.size();
    link.runFor(10000);
    EXPECT_EQ(link.sent.size(), sentAtEnd); // nothing more after a fatal outcome
}

TEST_F(Conversation, BatteryEmptyAbortsAtOnce) {
    handset.override = [](const Bytes& f, int) -> std::optional<std::vector<Reply>> {
        if (codeOf(f) == "1003") {
            return std::vector<Reply>{{5, {kAck}}, {10, ScriptedHandset::dataResponse(0x1003, {}, 0x20)}};
        }
        return std::nullopt;
    };
    start(0, 0xA000);
    ASSERT_TRUE(runScript());
    EXPECT_EQ(link.state().dialogueState, kIdle);
    ASSERT_EQ(link.messages.size(), 1u);
    EXPECT_EQ(link.messages[0], LinkMessage::BatteryEmpty);
    EXPECT_FALSE(isFatal(link.messages[0]));
    ASSERT_GE(link.notices.size(), 2u);
    EXPECT_EQ(link.notices[link.notices.size() - 2].event, LinkEvent::BatteryEmpty);
    EXPECT_EQ(link.notices.back().event, LinkEvent::OperationAborted);
    EXPECT_EQ(codes(link.sent).back(), "21FF");
}

TEST_F(Conversation, AckWhileTheSecondModelQueryIsCurrent) {
    handset.override = [](const Bytes&, int) -> std::optional<std::vector<Reply>> {
        return std::vector<Reply>{{5, {kAck}}};
    };
    link.state().dialogueState = kKeepAlive;
    link.state().scriptStep = 4;
    link.engine().send(cmd::kModelQuery2);
    link.runFor(3000);
    ASSERT_EQ(link.messages.size(), 1u);
    EXPECT_EQ(link.messages[0], LinkMessage::AckHandlingError);
    EXPECT_EQ(link.sent.size(), 1u); // nothing sent after the ACK
    EXPECT_EQ(link.state().dialogueState, kKeepAlive);
    EXPECT_EQ(link.state().scriptStep, 4);
    EXPECT_EQ(link.state().currentCommand, 0x7200u);
    EXPECT_FALSE(link.engine().fatalOutcome());
}

TEST_F(Conversation, Script17EndsInTheScriptError) {
    start(17, 0xA000);
    ASSERT_TRUE(runScript());
    EXPECT_EQ(link.state().dialogueState, kIdle);
    ASSERT_EQ(link.messages.size(), 1u);
    EXPECT_EQ(link.messages[0], LinkMessage::ScriptError);
    const auto sent = codes(link.sent);
    EXPECT_EQ(sent[sent.size() - 3], "0104");
    EXPECT_EQ(sent.back(), "21FF");
}

TEST_F(Conversation, LeavingTheModeClosesTheDialogueAndThePort) {
    start(7, 0xC000);
    ASSERT_TRUE(runScript());
    link.runFor(1500);
    link.engine().leaveMode();
    ASSERT_TRUE(link.runUntil([&] { return link.portCloses > 0; }, 5000));
    EXPECT_EQ(codes(link.sent).back(), "21FF");
    EXPECT_FALSE(link.state().portOpen);
    const std::size_t sent = link.sent.size();
    link.runFor(5000);
    EXPECT_EQ(link.sent.size(), sent);
    EXPECT_TRUE(link.messages.empty());
}

TEST_F(Conversation, LeavingWhileTheOpenFrameIsUnansweredClosesOnItsAck) {
    start(0, 0xA000);
    ASSERT_TRUE(runScript()); // ends with the keep-alive open frame just sent
    ASSERT_EQ(link.state().currentCommand, cmd::kOpen);
    const std::int64_t left = link.now();
    link.engine().leaveMode();
    ASSERT_TRUE(link.runUntil([&] { return link.portCloses > 0; }, 5000));
    const auto sent = codes(link.sent);
    EXPECT_EQ(sent.back(), "21FF");
    // The close frame went out on the open frame's ACK, not after a response time-out.
    EXPECT_LT(link.sent.back().at - left, 100);
}

TEST_F(Conversation, StrayInputWhileIdleStartsNoTraffic) {
    link.deliverLater(ScriptedHandset::statusAnswer(), 10);
    link.deliverLater({kAck}, 200);
    link.deliverLater({kNak}, 400);
    link.deliverLater({0x00}, 600);
    link.runFor(2000);
    EXPECT_TRUE(link.sent.empty());
    EXPECT_TRUE(link.messages.empty());
}

TEST_F(Conversation, HandsetThatAnswersInPiecesStillCompletesTheScript) {
    // Every answer frame arrives in two bursts 40 ms apart.
    handset.splitGapMs = 40;
    start(2, 0xB000);
    ASSERT_TRUE(runScript());
    EXPECT_EQ(link.state().dialogueState, kKeepAlive);
    EXPECT_TRUE(link.messages.empty());
    const auto expected = expectedScript(2, 3);
    const auto sent = codes(link.sent);
    EXPECT_EQ(std::vector<std::string>(sent.begin(), sent.begin() + static_cast<long>(expected.size())),
              expected);
}

// The registration as the handset setting screen starts it once the settings were read: the
// operation record in place of the next keep-alive frame, the registration requested.
class Registration : public Conversation {
protected:
    void SetUp() override {
        Conversation::SetUp();
        start(15, 0xD00A);
        ASSERT_TRUE(runScript());
        LinkState& st = link.state();
        st.registrationAnswerFlag = 2;
        st.resultClass = rc::kRetryFailure;
        link.engine().setOperation(0xD005);
        link.engine().setPending(true, 0x0104);
        from = link.sent.size();
    }
    static Bytes report(std::uint8_t status) {
        const std::uint8_t body[] = {static_cast<std::uint8_t>(status + 0x20)};
        return buildFrame(0x40, body);
    }
    long registrationCommands() const {
        const auto sent = codes(link.sent, from);
        return std::count(sent.begin(), sent.end(), std::string("40FF"));
    }
    bool pollingRegistration() { return link.state().currentCommand == cmd::kRegisterOn; }

    std::size_t from = 0;
};

TEST_F(Registration, StatusAnswersBringTheCommandAgainUntilTheFirstReport) {
    int answered = 0;
    handset.override = [&](const Bytes& f, int) -> std::optional<std::vector<Reply>> {
        if (codeOf(f) != "7000" || !pollingRegistration()) {
            return std::nullopt;
        }
        ++answered;
        return std::vector<Reply>{{5, answered == 4 ? report(0x01) : ScriptedHandset::statusAnswer()}};
    };
    ASSERT_TRUE(link.runUntil([&] { return answered >= 8; }, 30000));
    const auto sent = codes(link.sent, from);
    EXPECT_EQ(std::vector<std::string>(sent.begin(), sent.begin() + 3),
              (std::vector<std::string>{"0104", "7000", "7000"}));
    // Three status answers, three more commands; the running report ends the repeats.
    EXPECT_EQ(registrationCommands(), 4);
    EXPECT_EQ(link.state().registrationAnswerFlag, 1u);
    EXPECT_EQ(link.state().operationId, 0xD005u);
    EXPECT_TRUE(link.messages.empty());
}

TEST_F(Registration, HandsetFallingSilentAfterTheCommandIsAbandonedWithinTwentySeconds) {
    // Every registration command is acknowledged, and its polls go unanswered.
    std::int64_t silentFrom = -1;
    handset.override = [&](const Bytes& f, int) -> std::optional<std::vector<Reply>> {
        if (codeOf(f) == "40FF") {
            silentFrom = silentFrom < 0 ? link.now() : silentFrom;
            return std::vector<Reply>{{5, {kAck}}};
        }
        if (silentFrom >= 0) {
            return std::vector<Reply>{};
        }
        return std::nullopt;
    };
    ASSERT_TRUE(link.runUntil([&] { return link.state().dialogueState == kIdle; }, 60000));
    ASSERT_GE(silentFrom, 0);
    EXPECT_LT(link.now() - silentFrom, 20000);
    EXPECT_EQ(link.messages, std::vector<LinkMessage>{LinkMessage::UsbError});
    EXPECT_EQ(link.notices.back().event, LinkEvent::OperationAborted);
    EXPECT_EQ(link.state().operationId, 0xD002u);
    EXPECT_EQ(codes(link.sent).back(), "21FF");
}

TEST_F(Registration, UnknownReportStatusEndsTheProgramWithTheCommandError) {
    handset.override = [&](const Bytes& f, int) -> std::optional<std::vector<Reply>> {
        if (codeOf(f) == "7000" && pollingRegistration()) {
            return std::vector<Reply>{{5, report(0x50)}};
        }
        return std::nullopt;
    };
    ASSERT_TRUE(link.runUntil([&] { return link.engine().fatalOutcome().has_value(); }, 30000));
    EXPECT_EQ(*link.engine().fatalOutcome(), LinkMessage::CommandError);
    EXPECT_EQ(link.messages, std::vector<LinkMessage>{LinkMessage::CommandError});
    const std::size_t sentAtEnd = link.sent.size();
    link.runFor(5000);
    EXPECT_EQ(link.sent.size(), sentAtEnd);
}

} // namespace
} // namespace tolvan::link
