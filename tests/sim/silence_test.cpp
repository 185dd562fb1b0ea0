// A handset that stops answering in the keep-alive dialogue: whatever the technician starts then
// ends with the no-data view and the USB message, and leaving the mode closes the port.
#include "link/core/catalogue.h"
#include "link/core/engine.h"
#include "modes/modeoperations.h"
#include "sim/faultplan.h"
#include "tests/support/simpeer.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tolvan::test {
namespace {

using link::LinkEvent;
using link::LinkMessage;

class SilentInKeepAlive : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(run.runScript(0, 0xA000));
        ASSERT_EQ(run.link.state().dialogueState, link::kKeepAlive);
        run.link.runFor(3000);
        // From now on every poll goes unanswered.
        const auto silent = sim::parseFaultRule("silence@7000,count=0");
        ASSERT_TRUE(silent);
        run.peer.handset().faults().add(*silent);
        run.link.runFor(3000);
    }

    bool aborted(link::NoticeOwner owner) const {
        return std::any_of(run.link.notices.begin(), run.link.notices.end(),
                           [owner](const link::LinkNotice& n) {
                               return n.event == LinkEvent::OperationAborted && n.owner == owner;
                           });
    }

    SimSession run{3};
};

TEST_F(SilentInKeepAlive, AReadStartedThenEndsInTheNoDataViewWithTheUsbMessage) {
    link::LinkEngine& e = run.link.engine();
    // What the screen's read does while keep-alive runs: the open frame waits for the next frame.
    e.setOperation(0xA001);
    e.setScript(0, link::kScriptRunning);
    e.setPending(true, link::cmd::kOpen);
    const std::int64_t pressed = run.link.now();
    ASSERT_TRUE(run.link.runUntil([&] { return run.link.state().dialogueState == link::kIdle; }, 30'000));
    EXPECT_LE(run.link.now() - pressed, 30'000);
    EXPECT_TRUE(aborted(dataset::op::kNoticeOwner));
    EXPECT_EQ(run.link.state().operationId, 0xA002u);
    EXPECT_EQ(run.link.messages, std::vector<LinkMessage>{LinkMessage::UsbError});
    EXPECT_FALSE(run.link.state().pendingFlag);
}

TEST_F(SilentInKeepAlive, ARunningTestEndsWhenItsResultsStop) {
    link::LinkEngine& e = run.link.engine();
    e.setOperation(0x5001);
    e.setPending(true, 0x5001);
    ASSERT_TRUE(run.link.runUntil([&] { return run.link.state().dialogueState == link::kIdle; }, 30'000));
    EXPECT_TRUE(aborted(testmode::op::kNoticeOwner));
    EXPECT_EQ(run.link.messages, std::vector<LinkMessage>{LinkMessage::UsbError});
}

TEST_F(SilentInKeepAlive, LeavingTheModeClosesThePortAnyway) {
    const std::size_t notices = run.link.notices.size();
    run.link.engine().leaveMode();
    ASSERT_TRUE(run.link.runUntil([&] { return run.link.portCloses > 0; }, 30'000));
    EXPECT_TRUE(run.link.messages.empty());
    EXPECT_EQ(run.link.notices.size(), notices); // no screen is told anything
}

TEST_F(SilentInKeepAlive, NothingHappensWhileNobodyWaits) {
    const std::size_t sent = run.link.sent.size();
    run.link.runFor(120'000);
    EXPECT_EQ(run.link.sent.size(), sent);
    EXPECT_TRUE(run.link.messages.empty());
    EXPECT_EQ(run.link.state().dialogueState, link::kKeepAlive);
}

} // namespace
} // namespace tolvan::test
