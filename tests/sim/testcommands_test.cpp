// Test and measurement commands sent through the keep-alive dialogue: the handset's results
// and how they move over time.
#include "link/core/engine.h"
#include "tests/support/simpeer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace tolvan::test {
namespace {

using link::Bytes;

struct Bench : SimSession {
    explicit Bench(std::uint8_t model) : SimSession(model) {}
    // The test mode after its read: keep-alive.
    bool enter() { return runScript(2, 0xB000); }
    // One test or measurement command as the test mode sends it (decoded data after its number).
    void command(std::uint16_t code, const Bytes& data) {
        Bytes body{static_cast<std::uint8_t>((code & 0xFF) + 0x20)};
        for (const std::uint8_t b : data) {
            body.push_back(static_cast<std::uint8_t>(b + 0x20));
        }
        ASSERT_TRUE(
            link.state().requests.set(code, link::buildFrame(static_cast<std::uint8_t>(code >> 8), body)));
        single(code);
    }
    void single(std::uint32_t code) {
        link.engine().setOperation(code);
        link.engine().setPending(true, code);
        from = link.sent.size();
        sink.testResults.clear();
        sink.testValues.clear();
    }
};

// Slot 1: channel 5, output control 200 (bits 0-6, bit 7), selection HI, antenna 1.
const Bytes kSlot1 = {0, 5, 200 & 0x7F, 1, 1, 0};

TEST(SimTestCommands, ContinuousReceiveReportsDriftingRssiAndFer) {
    Bench b(3);
    ASSERT_TRUE(b.enter());
    b.command(0x5001, kSlot1);
    b.link.runFor(8'000);
    ASSERT_GT(b.sink.testResults.size(), 50u);
    std::set<int> rssi;
    std::set<int> fer;
    for (const auto& r : b.sink.testResults) {
        ASSERT_EQ(r.classByte, 0x50);
        ASSERT_EQ(r.item, 1);
        ASSERT_EQ(r.unit.size(), 16u);
        EXPECT_EQ(r.unit[5], 5); // the channel commanded
        EXPECT_EQ(r.unit[6], 200 & 0x7F);
        EXPECT_EQ(r.unit[7], 1);
        rssi.insert(r.unit[9] | r.unit[10] << 7);
        fer.insert(r.unit[11] | r.unit[12] << 7);
        EXPECT_EQ(r.unit[13], 1);
    }
    EXPECT_GT(rssi.size(), 5u);
    EXPECT_GT(fer.size(), 3u);
    EXPECT_GE(*rssi.begin(), 30);
    EXPECT_LE(*rssi.rbegin(), 60);
    EXPECT_TRUE(b.link.messages.empty());
    EXPECT_EQ(b.link.state().dialogueState, link::kKeepAlive);
}

TEST(SimTestCommands, StoppingATestClosesAndReopensTheDialogue) {
    Bench b(3);
    ASSERT_TRUE(b.enter());
    b.command(0x5001, kSlot1);
    b.link.runFor(500);
    b.command(0x5000, {});
    b.link.runFor(2'000);
    const auto sent = b.conversation();
    ASSERT_GE(sent.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(sent.begin(), sent.begin() + 4),
              (std::vector<std::string>{"5000", "7000", "21FF", "20FF"}));
    // The stop is confirmed once; afterwards only keep-alive status answers, no more results.
    ASSERT_FALSE(b.sink.testResults.empty());
    EXPECT_EQ(b.sink.testResults.back().item, 0);
    EXPECT_EQ(std::count_if(b.sink.testResults.begin(), b.sink.testResults.end(),
                            [](const auto& r) { return r.item == 0; }),
              1);
    EXPECT_TRUE(b.link.messages.empty());
}

TEST(SimTestCommands, BurstReceiveEchoesTheSlotsAndReportsTheOutputSlot) {
    Bench b(4);
    ASSERT_TRUE(b.enter());
    Bytes data{2};
    for (int slot = 0; slot < 4; ++slot) {
        data.insert(data.end(), {1, static_cast<std::uint8_t>(10 + slot), 70, 0, 1, 0});
    }
    b.command(0x5002, data);
    b.link.runFor(300);
    ASSERT_FALSE(b.sink.testResults.empty());
    const Bytes& unit = b.sink.testResults.back().unit;
    ASSERT_EQ(unit.size(), 35u);
    EXPECT_EQ(Bytes(unit.begin() + 4, unit.begin() + 29), data);
}

TEST(SimTestCommands, UserInterfaceTestShowsSwitchesOfTheModel) {
    for (const std::uint8_t model : {std::uint8_t{2}, std::uint8_t{3}}) {
        Bench b(model);
        ASSERT_TRUE(b.enter());
        b.command(0x5007, {});
        b.link.runFor(10'000);
        std::uint16_t seen = 0;
        bool released = false;
        for (const auto& r : b.sink.testResults) {
            const auto sw =
                static_cast<std::uint16_t>(r.unit[4] | r.unit[5] << 4 | r.unit[6] << 8 | r.unit[7] << 12);
            seen |= sw;
            released |= sw == 0;
        }
        EXPECT_TRUE(released);
        EXPECT_EQ(seen, model == 2 ? 0x1EF : 0x01F) << int(model);
    }
}

TEST(SimTestCommands, BatteryVoltageRunsDownSlowly) {
    Bench b(2);
    ASSERT_TRUE(b.enter());
    b.command(0x6005, {});
    b.link.runFor(20'000);
    ASSERT_GT(b.sink.testResults.size(), 10u);
    auto volts = [](const Bytes& unit) { return unit[4] | unit[5] << 7; };
    const int first = volts(b.sink.testResults.front().unit);
    const int last = volts(b.sink.testResults.back().unit);
    EXPECT_GE(first, 600);
    EXPECT_LE(first, 1023);
    EXPECT_LT(last, first);
}

TEST(SimTestCommands, RssiGainMeasurementAndBatteryState) {
    Bench b(3);
    ASSERT_TRUE(b.enter());
    b.command(0x6004, kSlot1);
    b.link.runFor(1'000);
    ASSERT_FALSE(b.sink.testResults.empty());
    const Bytes& unit = b.sink.testResults.back().unit;
    EXPECT_EQ(unit[1], 0x60);
    EXPECT_EQ(unit[5], 5);
    const int value = unit[9] | unit[10] << 7;
    EXPECT_GE(value, 140);
    EXPECT_LE(value, 160);

    b.single(0x600B);
    b.link.runFor(1'000);
    ASSERT_FALSE(b.sink.testValues.empty());
    for (const std::uint8_t state : b.sink.testValues) {
        EXPECT_LE(state, 3);
    }
    EXPECT_TRUE(b.link.messages.empty());
    EXPECT_EQ(b.link.state().dialogueState, link::kKeepAlive);
}

TEST(SimTestCommands, PowerOffLeavesTheLineSilent) {
    Bench b(3);
    ASSERT_TRUE(b.enter());
    b.single(0x6009);
    b.link.runFor(3'000);
    EXPECT_EQ(b.conversation(), std::vector<std::string>{"6009"});
    EXPECT_TRUE(b.link.messages.empty());
    EXPECT_FALSE(b.peer.handset().poweredAt(b.link.now() * 1000));
}

TEST(SimTestCommands, TestStartsAreNotedInTheEventHistory) {
    Bench b(3);
    ASSERT_TRUE(b.enter());
    b.peer.handset().store().clearBuffer(0x15);
    b.command(0x5001, kSlot1);
    b.link.runFor(200);
    EXPECT_EQ(b.peer.handset().store().buffer(0x15)[0], 0x10);
    EXPECT_EQ(b.peer.handset().store().buffer(0x15)[1], 0x01);
}

} // namespace
} // namespace tolvan::test
