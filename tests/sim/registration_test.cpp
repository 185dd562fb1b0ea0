// Registration over the air against the virtual handset: each outcome and what the engine makes
// of it.
#include "link/core/engine.h"
#include "tests/support/simpeer.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tolvan::test {
namespace {

using link::LinkEvent;
using link::LinkMessage;
using Outcome = sim::RegistrationScenario::Outcome;

struct Registering : SimSession {
    explicit Registering(sim::RegistrationScenario scenario) : SimSession(configOf(scenario)) {}
    static sim::HandsetConfig configOf(sim::RegistrationScenario scenario) {
        sim::HandsetConfig config = handsetConfig(2);
        config.registration = scenario;
        return config;
    }
    // What the registration button does once the settings were read (script 15, keep-alive).
    bool start() {
        if (!runScript(15, 0xD000)) {
            return false;
        }
        link::LinkState& st = link.state();
        st.registrationAnswerFlag = 0;
        st.registrationAnswerFlag = 2;
        st.resultClass = 0;
        link.engine().setOperation(0xD005);
        link.engine().setPending(true, 0x0104);
        from = link.sent.size();
        return true;
    }
    bool hasNotice(LinkEvent event) const {
        return std::any_of(link.notices.begin(), link.notices.end(),
                           [&](const link::LinkNotice& n) { return n.event == event; });
    }
};

TEST(SimRegistration, SuccessRunsBothPhasesAndFinishes) {
    Registering r({Outcome::Success, 0x10, 0, 0, 1'200});
    ASSERT_TRUE(r.start());
    ASSERT_TRUE(r.link.runUntil([&] { return r.link.state().operationId == 0xD007; }, 30'000));
    EXPECT_EQ(r.link.state().dialogueState, link::kIdle);
    EXPECT_TRUE(r.link.messages.empty());
    EXPECT_TRUE(r.hasNotice(LinkEvent::RegistrationStep));
    EXPECT_TRUE(r.hasNotice(LinkEvent::RegistrationFinished));
    const auto sent = r.conversation();
    // The operation record goes first, then the registration command after the status answer.
    ASSERT_GE(sent.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(sent.begin(), sent.begin() + 5),
              (std::vector<std::string>{"0104", "7000", "7000", "40FF", "7000"}));
    EXPECT_EQ(std::count(sent.begin(), sent.end(), std::string("40FF")), 1);
    // "Running" was reported before the success.
    ASSERT_FALSE(r.sink.registrationAnswers.empty());
    EXPECT_EQ(r.sink.registrationAnswers.front().status, 0x01);
    // The handset noted the completed registration in its error status history.
    const link::Bytes errors = r.peer.handset().store().buffer(0x19);
    const link::Bytes done = {0x01, 0x74, 0x00};
    EXPECT_NE(std::search(errors.begin(), errors.end(), done.begin(), done.end()), errors.end());
}

TEST(SimRegistration, FailureReportsCauseAndDetailAndKeepsTheDialogueAlive) {
    Registering r({Outcome::Failure, 0x10, 0x40, 0x03, 300});
    ASSERT_TRUE(r.start());
    ASSERT_TRUE(r.link.runUntil(
        [&] {
            return !r.sink.registrationAnswers.empty() && r.sink.registrationAnswers.back().status == 0x10 &&
                   r.link.state().dialogueState == link::kKeepAlive;
        },
        30'000));
    r.link.runFor(3'000);
    EXPECT_EQ(r.sink.registrationAnswers.back().detail, (link::Bytes{0x01, 0x40, 0x03}));
    EXPECT_EQ(r.link.state().dialogueState, link::kKeepAlive);
    EXPECT_FALSE(r.hasNotice(LinkEvent::RegistrationStep));
    EXPECT_TRUE(r.link.messages.empty());
    const auto sent = r.conversation();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), std::string("40FF")), 1);
}

TEST(SimRegistration, FailureWithStatus30IsToldWithoutClosingTheDialogue) {
    Registering r({Outcome::Failure, 0x30, 0x70, 0x00, 300});
    ASSERT_TRUE(r.start());
    ASSERT_TRUE(r.link.runUntil(
        [&] {
            return !r.sink.registrationAnswers.empty() && r.sink.registrationAnswers.back().status == 0x30;
        },
        30'000));
    EXPECT_EQ(r.sink.registrationAnswers.back().detail, (link::Bytes{0x01, 0x70, 0x00}));
    r.link.runFor(3'000);
    // Only 0x4010 while 0x40FF is current closes the dialogue; this report is polled past.
    EXPECT_EQ(r.link.state().dialogueState, link::kKeepAlive);
    EXPECT_EQ(r.link.state().operationId, 0xD005u);
    EXPECT_TRUE(r.link.messages.empty());
    const auto sent = r.conversation();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), std::string("21FF")), 0);
}

TEST(SimRegistration, AbnormalEndIsToldAndTheDialogueGoesOn) {
    Registering r({Outcome::Abnormal, 0x10, 0, 0, 300});
    ASSERT_TRUE(r.start());
    ASSERT_TRUE(r.link.runUntil(
        [&] {
            return !r.sink.registrationAnswers.empty() && r.sink.registrationAnswers.back().status == 0x40;
        },
        30'000));
    r.link.runFor(3'000);
    EXPECT_EQ(r.link.state().dialogueState, link::kKeepAlive);
    EXPECT_TRUE(r.link.messages.empty());
    EXPECT_FALSE(r.hasNotice(LinkEvent::RegistrationStep));
}

TEST(SimRegistration, BatteryReportAbortsWithTheBatteryMessage) {
    Registering r({Outcome::Battery, 0x10, 0, 0, 300});
    ASSERT_TRUE(r.start());
    ASSERT_TRUE(r.link.runUntil([&] { return r.link.state().dialogueState == link::kIdle; }, 30'000));
    EXPECT_EQ(r.link.messages, std::vector<LinkMessage>{LinkMessage::BatteryEmpty});
    EXPECT_EQ(r.link.state().operationId, 0xD002u);
    EXPECT_TRUE(r.hasNotice(LinkEvent::BatteryEmpty));
}

} // namespace
} // namespace tolvan::test
