#include "link/core/engine.h"
#include "modes/modeoperations.h"
#include "tests/support/scriptedhandset.h"
#include "tests/support/virtuallink.h"

#include <gtest/gtest.h>

#include <memory>

namespace tolvan::link {
namespace {

using test::hex;
using test::ScriptedHandset;
using test::VirtualLink;

TEST(Engine, AbortRoutingByOperationId) {
    struct Case {
        std::uint32_t id;
        NoticeOwner owner;
        std::uint32_t noData;
    };
    const NoticeOwner dataSetting = dataset::op::kNoticeOwner;
    const NoticeOwner test = testmode::op::kNoticeOwner;
    const NoticeOwner handsetSetting = psent::op::kNoticeOwner;
    const Case cases[] = {
        {0xA000, dataSetting, 0xA002},
        {0xAFFF, dataSetting, 0xA002},
        {0x5000, test, 0xB002},
        {0x6FFF, test, 0xB002},
        {0xB001, test, 0xB002},
        {0xC000, log::op::kNoticeOwner, 0xC002},
        {0x4000, handsetSetting, 0xD002},
        {0xD00B, handsetSetting, 0xD002},
        {0xE005, datasave::op::kNoticeOwner, 0xE002},
    };
    const OperationTable table = modeOperations();
    for (const Case& c : cases) {
        const auto target = table.abortTargetOf(c.id);
        ASSERT_TRUE(target) << std::hex << c.id;
        EXPECT_EQ(target->owner, c.owner) << std::hex << c.id;
        EXPECT_EQ(target->noDataOperationId, c.noData) << std::hex << c.id;
    }
    for (const std::uint32_t id : {0x0000u, 0x3FFFu, 0x7000u, 0x9FFFu, 0xF000u, 0xFFFFu}) {
        EXPECT_FALSE(table.abortTargetOf(id)) << std::hex << id;
    }
}

TEST(Engine, AbortOutsideEveryModeRangeSaysTheStatusIsOutOfRange) {
    VirtualLink link;
    ScriptedHandset handset;
    handset.override = [](const Bytes& f, int) -> std::optional<std::vector<ScriptedHandset::Reply>> {
        if (f[1] == 0x70) {
            return std::vector<ScriptedHandset::Reply>{{5, ScriptedHandset::statusAnswer(0x30)}};
        }
        return std::nullopt;
    };
    link.setPeer(&handset);
    link.engine().setOperation(0x1234);
    link.engine().setScript(0, kScriptRunning);
    link.engine().openRequest();
    ASSERT_TRUE(link.runUntil([&] { return link.state().dialogueState == kIdle; }, 5000));
    ASSERT_EQ(link.messages.size(), 1u);
    EXPECT_EQ(link.messages[0], LinkMessage::StatusOutOfRange);
    EXPECT_EQ(link.state().operationId, 0xFFFFu);
    EXPECT_TRUE(link.notices.empty());
}

// A caller outside the link registers its own operations; the engine knows them from the table
// alone: who is told of an abort, the id left behind, and which operations live on answers.
TEST(Engine, OperationsOfAnotherCallerFollowTheirTable) {
    const NoticeOwner flow{77};
    auto flowTable = [&] {
        OperationTable table;
        EXPECT_TRUE(table.addOwner({0x3000, 0x30FF}, flow, 0x3002));
        EXPECT_FALSE(table.addOwner({0x30F0, 0x3100}, NoticeOwner{78}, 0x3102)); // overlaps
        OperationRules running;
        running.ids = {0x3001, 0x3001};
        running.answerDriven = true;
        table.addRules(running);
        return table;
    };
    {
        // A status failure during its script: the no-data id and the owner come from the table.
        VirtualLink link(flowTable());
        ScriptedHandset handset;
        handset.override = [](const Bytes& f, int) -> std::optional<std::vector<ScriptedHandset::Reply>> {
            if (f[1] == 0x70) {
                return std::vector<ScriptedHandset::Reply>{{5, ScriptedHandset::statusAnswer(0x30)}};
            }
            return std::nullopt;
        };
        link.setPeer(&handset);
        link.engine().setOperation(0x3000);
        link.engine().setScript(0, kScriptRunning);
        link.engine().openRequest();
        ASSERT_TRUE(link.runUntil([&] { return link.state().dialogueState == kIdle; }, 5000));
        EXPECT_TRUE(link.messages.empty());
        EXPECT_EQ(link.state().operationId, 0x3002u);
        ASSERT_EQ(link.notices.size(), 1u);
        EXPECT_EQ(link.notices[0].event, LinkEvent::OperationAborted);
        EXPECT_EQ(link.notices[0].owner, flow);
    }
    // A silent keep-alive abandons the answer-driven operation only; a plain one may stay quiet.
    auto silentKeepAlive = [&](std::uint32_t operationId) {
        auto link = std::make_unique<VirtualLink>(flowTable());
        link->engine().setOperation(operationId);
        link->state().dialogueState = kKeepAlive;
        link->runFor(30'000);
        return link;
    };
    const auto answerDriven = silentKeepAlive(0x3001);
    ASSERT_EQ(answerDriven->notices.size(), 1u);
    EXPECT_EQ(answerDriven->notices[0].owner, flow);
    EXPECT_EQ(answerDriven->state().operationId, 0x3002u);
    EXPECT_EQ(answerDriven->messages, std::vector<LinkMessage>{LinkMessage::UsbError});
    const auto plain = silentKeepAlive(0x3005);
    EXPECT_TRUE(plain->notices.empty());
    EXPECT_EQ(plain->state().operationId, 0x3005u);
    // The five modes' table knows nothing of these ids. The modes' ranges are apart from each
    // other's and from the flow's; a mode added twice is refused.
    EXPECT_FALSE(modeOperations().abortTargetOf(0x3000));
    OperationTable modes;
    EXPECT_TRUE(tolvan::dataset::op::addOperations(modes) && tolvan::testmode::op::addOperations(modes) &&
                tolvan::log::op::addOperations(modes) && tolvan::psent::op::addOperations(modes) &&
                tolvan::datasave::op::addOperations(modes));
    EXPECT_FALSE(tolvan::log::op::addOperations(modes));
    EXPECT_TRUE(modes.addOwner({0x3000, 0x30FF}, flow, 0x3002));
}

TEST(Engine, SendWithThePortClosedStillUpdatesTheCurrentCommand) {
    VirtualLink link;
    link.engine().portDetached();
    link.engine().send(0x1003);
    EXPECT_EQ(link.state().currentCommand, 0x1003u);
    EXPECT_TRUE(link.sent.empty());
    EXPECT_EQ(link.state().sendCounter, 0u);
    EXPECT_FALSE(link.timerRunning(LinkTimer::Response));
}

TEST(Engine, PollLeavesTheCurrentCommandAndMarksThePoll) {
    VirtualLink link;
    link.engine().send(0x1003);
    link.engine().send(cmd::kPoll);
    EXPECT_EQ(link.state().currentCommand, 0x1003u);
    EXPECT_EQ(link.state().pollMarker, cmd::kPoll);
    EXPECT_EQ(hex(link.sent.back().bytes), "02 70 03 73");
}

TEST(Engine, ResponseTimerRules) {
    VirtualLink link;
    auto& e = link.engine();
    e.send(0x1001); // an ordinary command: 500 ms
    EXPECT_TRUE(link.timerRunning(LinkTimer::Response));
    link.state().sendCounter = 0;
    link.runFor(499);
    EXPECT_EQ(link.sent.size(), 1u);
    link.runFor(1);
    EXPECT_EQ(link.sent.size(), 2u); // resent at 500 ms

    // 0x6009 never starts the timer; 0x600A only without the no-timer flag.
    VirtualLink quiet;
    quiet.engine().send(0x6009);
    EXPECT_FALSE(quiet.timerRunning(LinkTimer::Response));
    quiet.state().noTimerFlag = true;
    quiet.engine().send(0x600A);
    EXPECT_FALSE(quiet.timerRunning(LinkTimer::Response));
    quiet.state().noTimerFlag = false;
    quiet.engine().send(0x600A);
    EXPECT_TRUE(quiet.timerRunning(LinkTimer::Response));
}

TEST(Engine, PollAfterAWriteOrDuringAScriptIsTimed) {
    auto pollTimed = [](std::uint32_t current, std::uint32_t dialogueState) {
        VirtualLink link;
        link.state().currentCommand = current;
        link.state().dialogueState = dialogueState;
        link.engine().send(cmd::kPoll);
        return link.timerRunning(LinkTimer::Response);
    };
    EXPECT_TRUE(pollTimed(0x0401, kKeepAlive));
    EXPECT_TRUE(pollTimed(0x6003, kKeepAlive));
    EXPECT_FALSE(pollTimed(0x6005, kKeepAlive));
    EXPECT_FALSE(pollTimed(0x1001, kKeepAlive));
    EXPECT_TRUE(pollTimed(0x1001, kScriptRunning));
}

TEST(Engine, UnknownCodeAndFailedWriteEndTheProgram) {
    {
        VirtualLink link;
        link.engine().send(0x1234);
        ASSERT_EQ(link.messages.size(), 1u);
        EXPECT_EQ(link.messages[0], LinkMessage::SendCommandError);
        EXPECT_EQ(link.engine().fatalOutcome(), LinkMessage::SendCommandError);
        link.engine().send(0x1001); // nothing once the outcome is fatal
        EXPECT_TRUE(link.sent.empty());
    }
    {
        VirtualLink link;
        link.failWrites = true;
        link.engine().send(0x1001);
        EXPECT_EQ(link.engine().fatalOutcome(), LinkMessage::SendFailure);
        EXPECT_FALSE(link.timerRunning(LinkTimer::Response));
    }
    {
        // A write command whose request buffer no mode filled is never sent as zeros.
        VirtualLink link;
        link.engine().send(0x0401);
        EXPECT_EQ(link.engine().fatalOutcome(), LinkMessage::SendCommandError);
        EXPECT_TRUE(link.sent.empty());
    }
}

TEST(Engine, ResultClassReportsOnAbort) {
    // Class 4 is shown only inside a dialogue, class 1 goes on, unknown classes end the program.
    struct Case {
        std::uint8_t resultClass;
        std::optional<LinkMessage> message;
    };
    const Case cases[] = {
        {rc::kStatus30, std::nullopt}, {rc::kStatus50, std::nullopt}, {rc::kStatus10, std::nullopt}};
    for (const Case& c : cases) {
        VirtualLink link;
        ScriptedHandset handset;
        const std::uint8_t status = c.resultClass == rc::kStatus30   ? 0x30
                                    : c.resultClass == rc::kStatus50 ? 0x50
                                                                     : 0x10;
        handset.override = [&](const Bytes& f, int) -> std::optional<std::vector<ScriptedHandset::Reply>> {
            if (f[1] == 0x70 && link.state().currentCommand == 0x1B01) {
                const Bytes answer = status == 0x10 ? ScriptedHandset::dataResponse(0x1B01, {}, 0x10)
                                                    : ScriptedHandset::statusAnswer(status);
                return std::vector<ScriptedHandset::Reply>{{5, answer}};
            }
            return std::nullopt;
        };
        link.setPeer(&handset);
        link.engine().setOperation(0xC000);
        link.engine().setScript(7, kScriptRunning);
        link.engine().openRequest();
        ASSERT_TRUE(link.runUntil([&] { return link.state().dialogueState == kIdle; }, 5000));
        EXPECT_TRUE(link.messages.empty()) << int(c.resultClass);
        EXPECT_EQ(link.state().resultClass, c.resultClass);
        ASSERT_EQ(link.notices.size(), 1u);
        EXPECT_EQ(link.notices[0].owner, log::op::kNoticeOwner);
        EXPECT_EQ(link.state().operationId, 0xC002u);
    }
}

TEST(Engine, FatalMessagesAreTheOnesThatEndTheProgram) {
    for (const LinkMessage m :
         {LinkMessage::RetryErrorBug, LinkMessage::StxEtxError, LinkMessage::CheckByteError,
          LinkMessage::ReceiveDataError, LinkMessage::CommandError, LinkMessage::RetryErrorUnknown,
          LinkMessage::SendCommandError, LinkMessage::SendFailure}) {
        EXPECT_TRUE(isFatal(m)) << messageText(m);
    }
    for (const LinkMessage m :
         {LinkMessage::UsbError, LinkMessage::AckHandlingError, LinkMessage::NakRetryError,
          LinkMessage::ScriptError, LinkMessage::StatusOutOfRange, LinkMessage::ReceiveLengthError,
          LinkMessage::BatteryEmpty}) {
        EXPECT_FALSE(isFatal(m)) << messageText(m);
    }
    EXPECT_STREQ(messageText(LinkMessage::UsbError), "USBでエラーが発生したため再度読み込みを行ってください");
    EXPECT_STREQ(messageText(LinkMessage::StatusOutOfRange), "ｽﾃｰﾀｽ値が規定外です。");
}

} // namespace
} // namespace tolvan::link
