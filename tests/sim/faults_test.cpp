// Every fault the virtual handset can inject, and what the engine must do about it.
#include "link/core/engine.h"
#include "sim/faultplan.h"
#include "tests/support/simpeer.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tolvan::test {
namespace {

using link::LinkEvent;
using link::LinkMessage;

sim::HandsetConfig withFaults(std::initializer_list<const char*> texts, std::uint8_t model = 3) {
    sim::HandsetConfig config = handsetConfig(model);
    for (const char* text : texts) {
        const auto rule = sim::parseFaultRule(text);
        EXPECT_TRUE(rule) << text;
        if (rule) {
            config.faults.push_back(*rule);
        }
    }
    return config;
}

long count(const std::vector<std::string>& sent, const char* code) {
    return std::count(sent.begin(), sent.end(), std::string(code));
}

// Script 0 from the data setting mode, the common case.
struct Script0 : SimSession {
    explicit Script0(const sim::HandsetConfig& config) : SimSession(config) {}
    bool run() { return runScript(0, 0xA000); }
    bool endedNormally() {
        return link.state().dialogueState == link::kKeepAlive && link.messages.empty() &&
               sink.dataCount == 14; // every read of script 0 but 0x1008 and 0x1C01 for model 3
    }
};

TEST(SimFaults, ANakIsAnsweredByResendingTheFrame) {
    Script0 s(withFaults({"nak@1001,count=2"}));
    ASSERT_TRUE(s.run());
    EXPECT_TRUE(s.endedNormally());
    const auto sent = s.conversation();
    EXPECT_EQ(count(sent, "1001"), 3);
    EXPECT_EQ(count(sent, "20FF"), 2); // no restart: the second is the keep-alive open
}

TEST(SimFaults, FiveNaksRestartTheDialogueAndTheScriptGoesOn) {
    Script0 s(withFaults({"nak@1002,count=5"}));
    ASSERT_TRUE(s.run());
    EXPECT_TRUE(s.endedNormally());
    const auto sent = s.conversation();
    const auto first = std::find(sent.begin(), sent.end(), std::string("1002"));
    ASSERT_LE(std::distance(first, sent.end()), static_cast<long>(sent.size()));
    EXPECT_EQ(std::vector<std::string>(first, first + 7),
              (std::vector<std::string>{"1002", "1002", "1002", "1002", "1002", "20FF", "1002"}));
}

TEST(SimFaults, FiveNaksOfTheModelQueryEndTheOperation) {
    Script0 s(withFaults({"nak@7100,count=0"}));
    ASSERT_TRUE(s.run());
    EXPECT_EQ(s.link.state().dialogueState, link::kIdle);
    EXPECT_EQ(s.link.messages, std::vector<LinkMessage>{LinkMessage::NakRetryError});
    EXPECT_EQ(s.link.state().modelCode, 0u);
    EXPECT_EQ(s.link.state().operationId, 0xA002u);
    EXPECT_EQ(count(s.conversation(), "7100"), 5);
}

TEST(SimFaults, ASilentHandsetIsAskedFiveTimesThenTheOperationAborts) {
    Script0 s(withFaults({"silence@1003,count=0"}));
    ASSERT_TRUE(s.run());
    const auto sent = s.conversation();
    EXPECT_EQ(count(sent, "1003"), 5);
    EXPECT_EQ(sent.back(), "21FF");
    EXPECT_EQ(s.link.state().dialogueState, link::kIdle);
    EXPECT_EQ(s.link.messages, std::vector<LinkMessage>{LinkMessage::UsbError});
    EXPECT_EQ(s.link.state().operationId, 0xA002u);
    ASSERT_FALSE(s.link.notices.empty());
    EXPECT_EQ(s.link.notices.back().event, LinkEvent::OperationAborted);
    // The five sends went 500 ms apart.
    std::vector<std::int64_t> at;
    for (std::size_t i = s.from; i < s.link.sent.size(); ++i) {
        if (commandText(s.link.sent[i].bytes) == "1003") {
            at.push_back(s.link.sent[i].at);
        }
    }
    ASSERT_EQ(at.size(), 5u);
    EXPECT_EQ(at[4] - at[0], 4 * link::kShortResponseMs);
}

TEST(SimFaults, ASilenceOnceCostsOneResend) {
    Script0 s(withFaults({"silence@1003"}));
    ASSERT_TRUE(s.run());
    EXPECT_TRUE(s.endedNormally());
    EXPECT_EQ(count(s.conversation(), "1003"), 2);
}

TEST(SimFaults, AnUnansweredPollIsRepeatedEveryTwoSecondsThenAborts) {
    Script0 s(withFaults({"no-answer@1004,count=0"}));
    ASSERT_TRUE(s.run());
    EXPECT_EQ(s.link.messages, std::vector<LinkMessage>{LinkMessage::UsbError});
    const auto sent = s.conversation();
    const auto at1004 = std::find(sent.begin(), sent.end(), std::string("1004"));
    ASSERT_NE(at1004, sent.end());
    EXPECT_EQ(std::vector<std::string>(at1004 + 1, at1004 + 6), std::vector<std::string>(5, "7000"));
    const std::size_t firstPoll = s.from + static_cast<std::size_t>(at1004 - sent.begin()) + 1;
    EXPECT_EQ(s.link.sent[firstPoll + 1].at - s.link.sent[firstPoll].at, link::kLongResponseMs);
}

TEST(SimFaults, AWrongCheckByteIsRetriedOnce) {
    Script0 s(withFaults({"bad-check@1005"}));
    ASSERT_TRUE(s.run());
    EXPECT_TRUE(s.endedNormally());
    EXPECT_EQ(count(s.conversation(), "1005"), 2);
}

TEST(SimFaults, WrongCheckBytesWithoutEndEndTheProgram) {
    Script0 s(withFaults({"bad-check@1005,count=0"}));
    s.run();
    ASSERT_TRUE(s.link.engine().fatalOutcome());
    EXPECT_EQ(*s.link.engine().fatalOutcome(), LinkMessage::CheckByteError);
    EXPECT_EQ(s.link.messages, std::vector<LinkMessage>{LinkMessage::CheckByteError});
    EXPECT_EQ(count(s.conversation(), "1005"), 6); // five retries, the sixth failure ends it
}

TEST(SimFaults, AShortPauseInsideAnAnswerIsBridged) {
    Script0 plain(handsetConfig(3));
    ASSERT_TRUE(plain.run());
    Script0 s(withFaults({"split,ms=40,count=0"}));
    ASSERT_TRUE(s.run());
    EXPECT_TRUE(s.endedNormally());
    EXPECT_EQ(s.conversation(), plain.conversation());
}

TEST(SimFaults, ALongPauseBreaksTheAnswerAndTheCommandIsResent) {
    Script0 s(withFaults({"split@1401,ms=150"}));
    ASSERT_TRUE(s.run());
    EXPECT_TRUE(s.link.messages.empty());
    EXPECT_EQ(s.link.state().dialogueState, link::kKeepAlive);
    // Both halves fail validation: two resends.
    EXPECT_EQ(count(s.conversation(), "1401"), 3);
}

TEST(SimFaults, AStrayByteIsACommandErrorUnitThatIsRetried) {
    Script0 s(withFaults({"stray@1201,value=00"}));
    ASSERT_TRUE(s.run());
    EXPECT_TRUE(s.link.messages.empty());
    EXPECT_EQ(s.link.state().dialogueState, link::kKeepAlive);
    EXPECT_EQ(count(s.conversation(), "1201"), 2);
}

TEST(SimFaults, BatteryEmptyAbortsWithItsMessage) {
    Script0 s(withFaults({"battery@1003"}));
    ASSERT_TRUE(s.run());
    EXPECT_EQ(s.link.state().dialogueState, link::kIdle);
    EXPECT_EQ(s.link.messages, std::vector<LinkMessage>{LinkMessage::BatteryEmpty});
    EXPECT_FALSE(s.link.engine().fatalOutcome());
    ASSERT_GE(s.link.notices.size(), 2u);
    EXPECT_EQ(s.link.notices[s.link.notices.size() - 2].event, LinkEvent::BatteryEmpty);
    EXPECT_EQ(s.link.notices.back().event, LinkEvent::OperationAborted);
    EXPECT_EQ(s.conversation().back(), "21FF");
    EXPECT_EQ(s.link.state().operationId, 0xA002u);
}

TEST(SimFaults, BatteryEmptyInTheKeepAliveStatusAbortsToo) {
    Script0 s(handsetConfig(3));
    ASSERT_TRUE(s.run());
    s.peer.handset().faults().add(*sim::parseFaultRule("battery,skip=10"));
    s.link.runFor(2'000);
    EXPECT_EQ(s.link.state().dialogueState, link::kIdle);
    EXPECT_EQ(s.link.messages, std::vector<LinkMessage>{LinkMessage::BatteryEmpty});
}

TEST(SimFaults, AnUnknownModelCodeIsRetriedOnceAndEndsTheProgramWhenItStays) {
    Script0 once(withFaults({"model,value=09"}));
    ASSERT_TRUE(once.run());
    EXPECT_TRUE(once.endedNormally());
    EXPECT_EQ(count(once.conversation(), "7100"), 2);

    Script0 always(withFaults({"model,value=09,count=0"}));
    always.run();
    ASSERT_TRUE(always.link.engine().fatalOutcome());
    EXPECT_EQ(*always.link.engine().fatalOutcome(), LinkMessage::ReceiveDataError);
}

TEST(SimFaults, TheModelAnswerDecidesWhichStepsAreSkipped) {
    // A ZX-VA150 that answers as a ZX-VA100 is asked for 0x1008 too.
    Script0 s(withFaults({"model,value=02"}));
    ASSERT_TRUE(s.run());
    EXPECT_EQ(s.link.state().modelCode, 2u);
    EXPECT_EQ(s.conversation(), [] {
        auto e = expectedConversation(0, 2);
        e.push_back("20FF");
        return e;
    }());
}

TEST(SimFaults, UnpluggedHandsetFallsSilentAndTheOperationAborts) {
    sim::HandsetConfig config = handsetConfig(2);
    config.faults.push_back({sim::FaultKind::Unplug, std::nullopt, 12, 1, 0});
    Script0 s(config);
    ASSERT_TRUE(s.run());
    EXPECT_FALSE(s.peer.handset().plugged());
    EXPECT_EQ(s.peer.handset().framesReceived(), 13);
    EXPECT_EQ(s.link.messages, std::vector<LinkMessage>{LinkMessage::UsbError});
    EXPECT_EQ(s.link.state().dialogueState, link::kIdle);
}

TEST(SimFaults, ASlowAnswerWithinTheResponseTimeNeedsNoRetry) {
    Script0 plain(handsetConfig(3));
    ASSERT_TRUE(plain.run());
    Script0 s(withFaults({"delay@1005,ms=800"}));
    ASSERT_TRUE(s.run());
    EXPECT_TRUE(s.endedNormally());
    EXPECT_EQ(s.conversation(), plain.conversation());
    EXPECT_GE(s.link.now() - plain.link.now(), 800);
}

TEST(SimFaults, PacedLineKeepsTheConversationAndTakesLineTime) {
    Script0 fast(handsetConfig(3));
    ASSERT_TRUE(fast.run());
    Script0 paced(handsetConfig(3, true));
    ASSERT_TRUE(paced.run());
    EXPECT_TRUE(paced.endedNormally());
    EXPECT_EQ(paced.conversation(), fast.conversation());
    // Every byte both ways costs 11 bits at 9600 baud.
    std::size_t bytes = 0;
    for (const auto& s : paced.link.sent) {
        bytes += s.bytes.size();
    }
    for (const auto& a : paced.peer.answers) {
        bytes += a.bytes.size();
    }
    EXPECT_GE(paced.link.now() - fast.link.now(), sim::VirtualHandset::lineTimeUs(bytes) / 1000 -
                                                      static_cast<std::int64_t>(paced.link.sent.size()));
}

} // namespace
} // namespace tolvan::test
