// The handset's side of the protocol, byte for byte: what it answers to each frame and when.
#include "sim/faultplan.h"
#include "sim/virtualhandset.h"
#include "tests/support/virtuallink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace tolvan::sim {
namespace {

using test::hex;
using test::unhex;

class Handset : public ::testing::Test {
protected:
    // Sends the frame (hex) at the current time and returns what comes back, as hex bursts.
    std::vector<std::string> send(const std::string& frame, std::int64_t advanceUs = 50'000) {
        const Bytes bytes = unhex(frame);
        std::vector<std::string> out;
        for (const auto& burst : handset.receive(bytes, now)) {
            out.push_back(hex(burst.bytes));
            lastAt = burst.atUs;
        }
        now += advanceUs;
        return out;
    }
    std::vector<std::string> poll() { return send("02 70 03 73"); }
    using V = std::vector<std::string>;
    void use(const std::function<void(HandsetConfig&)>& set) {
        HandsetConfig config;
        set(config);
        handset = VirtualHandset(config);
    }

    VirtualHandset handset{HandsetConfig{}};
    std::int64_t now = 0;
    std::int64_t lastAt = 0;
};

TEST_F(Handset, OpensAnswersTheModelAndKeepsAlive) {
    use([](HandsetConfig& c) { c.modelCode = 4; });
    EXPECT_EQ(send("02 20 03 23"), V{"06"});
    EXPECT_EQ(poll(), V{"02 20 21 03 02"});
    EXPECT_EQ(send("02 71 03 72"), V{"06"});
    EXPECT_EQ(poll(), V{"02 71 24 03 56"});
    // Nothing else due: every further poll gets the status answer.
    EXPECT_EQ(poll(), V{"02 20 21 03 02"});
    EXPECT_EQ(poll(), V{"02 20 21 03 02"});
    // The close frame is answered by ACK alone.
    EXPECT_EQ(send("02 21 03 22"), V{"06"});
}

TEST_F(Handset, AnswersAReadWithItsBlock) {
    use([](HandsetConfig& c) { c.modelCode = 2; });
    EXPECT_EQ(send("02 30 30 21 03 22"), V{"06"});
    EXPECT_EQ(poll(), V{"02 30 20 30 21 22 2E 51 67 03 38"});
    // The fault monitoring code "ZKO".
    EXPECT_EQ(send("02 30 3B 21 03 29"), V{"06"});
    EXPECT_EQ(poll(), V{"02 30 20 3B 21 7A 6B 6F 03 77"});
    // The answer is given once; the next poll is keep-alive.
    EXPECT_EQ(poll(), V{"02 20 21 03 02"});
}

TEST_F(Handset, ErrorCodesOfHighValueTravelAsControlBytesInsideTheFrame) {
    EXPECT_EQ(send("02 30 3A 22 03 2B"), V{"06"});
    // 0xC8, 0xE2, 0xE3, 0xE6, 0xF5 and one more go out as E8 02 03 06 15 after the 0x20 offset.
    EXPECT_EQ(poll(), V{"02 30 20 3A 22 29 2A 2B E8 02 03 06 15 03 D9"});
}

TEST_F(Handset, EchoesAWriteAndStoresIt) {
    // 0x0201 with PS-ID groups 1, 2, 3, 4.
    const Bytes frame = link::buildDataFrame(0x0201, Bytes{0x21, 0x22, 0x23, 0x24});
    EXPECT_EQ(send(hex(frame)), V{"06"});
    EXPECT_EQ(poll(), V{"02 30 20 22 21 03 10"});
    EXPECT_EQ(*handset.store().read(0x1201), (Bytes{1, 2, 3, 4}));
    // Read back: the same four groups.
    send("02 30 32 21 03 20");
    EXPECT_EQ(poll(), V{"02 30 20 32 21 21 22 23 24 03 04"});
}

TEST_F(Handset, AnIgnoredWriteIsEchoedButLeavesItsBlockForItsCount) {
    use([](HandsetConfig& c) { c.faults = {*parseFaultRule("ignore-write@0201")}; });
    const Bytes before = *handset.store().read(0x1201);
    const Bytes frame = link::buildDataFrame(0x0201, Bytes{0x21, 0x22, 0x23, 0x24});
    EXPECT_EQ(send(hex(frame)), V{"06"});
    EXPECT_EQ(poll(), V{"02 30 20 22 21 03 10"});
    EXPECT_EQ(*handset.store().read(0x1201), before);
    // A wrong length is still refused: the handset only pretends to take what it would take.
    EXPECT_EQ(send(hex(link::buildDataFrame(0x0201, Bytes{0x21}))), V{"06"});
    EXPECT_EQ(poll(), V{"02 30 30 22 21 03 00"});
    // The rule fired once; the next write is taken.
    EXPECT_EQ(send(hex(frame)), V{"06"});
    EXPECT_EQ(poll(), V{"02 30 20 22 21 03 10"});
    EXPECT_EQ(*handset.store().read(0x1201), (Bytes{1, 2, 3, 4}));
}

TEST_F(Handset, AnIgnored0C01IsAcknowledgedAndNotStored) {
    use([](HandsetConfig& c) { c.faults = {*parseFaultRule("ignore-write@0c01,count=0")}; });
    const Bytes before = *handset.store().read(0x1C01);
    const Bytes set{static_cast<std::uint8_t>(before.at(0) == 0 ? 0x21 : 0x20)};
    EXPECT_EQ(send(hex(link::buildDataFrame(0x0C01, set))), V{"06"});
    EXPECT_EQ(*handset.store().read(0x1C01), before);
}

TEST_F(Handset, RefusesAWriteOfTheWrongLengthWithStatus10) {
    const Bytes frame = link::buildDataFrame(0x0201, Bytes{0x21, 0x22, 0x23});
    EXPECT_EQ(send(hex(frame)), V{"06"});
    EXPECT_EQ(poll(), V{"02 30 30 22 21 03 00"});
}

TEST_F(Handset, BufferClearsAnd0C01AreAnsweredByAckAlone) {
    EXPECT_EQ(send("02 30 25 03 16"), V{"06"});
    EXPECT_EQ(handset.store().buffer(0x15), Bytes(32, 0));
    EXPECT_EQ(poll(), V{"02 20 21 03 02"});
    EXPECT_EQ(send(hex(link::buildDataFrame(0x0C01, Bytes{0x20}))), V{"06"});
    EXPECT_EQ(*handset.store().read(0x1C01), Bytes{0});
    EXPECT_EQ(poll(), V{"02 20 21 03 02"});
}

TEST_F(Handset, NaksAWrongCheckByteAndIgnoresTheFrame) {
    EXPECT_EQ(send("02 30 30 21 03 23"), V{"15"});
    EXPECT_EQ(poll(), V{"02 20 21 03 02"});
    EXPECT_EQ(send("02 20 03 22"), V{"15"});
}

TEST_F(Handset, AssemblesFramesFromPiecesAndIgnoresJunk) {
    EXPECT_EQ(send("00 FF 02 30", 1000), V{});
    EXPECT_EQ(send("30 21 03", 1000), V{});
    EXPECT_EQ(send("22 55"), V{"06"});
    // Command 8 goes out with a zero byte after its check byte; the zero gets no answer.
    Bytes eight = link::buildDataFrame(0x0008, Bytes{0x21, 0x22, 0x20, 0x20, 0x20});
    eight.push_back(0);
    EXPECT_EQ(send(hex(eight)), V{"06"});
    // A frame left incomplete for over 100 ms is dropped; the next one is served.
    EXPECT_EQ(send("02 30 30", 150'000), V{});
    EXPECT_EQ(send("02 20 03 23"), V{"06"});
}

TEST_F(Handset, AnswersInTheOrderTheFramesCame) {
    // Two frames in one burst: two ACKs, the second after the first.
    const auto out = handset.receive(unhex("02 20 03 23 02 71 03 72"), 0);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_LT(out[0].atUs, out[1].atUs);
}

TEST_F(Handset, RepliesAfterItsProcessingDelay) {
    use([](HandsetConfig& c) { c.replyDelayUs = 7'000; });
    send("02 20 03 23");
    EXPECT_EQ(lastAt, 7'000);
}

TEST_F(Handset, PacesBothDirectionsAt9600Baud8O1) {
    use([](HandsetConfig& c) {
        c.pacing = true;
        c.replyDelayUs = 5'000;
    });
    // Four bytes in (4 x 11 bits), 5 ms of processing, one byte out.
    send("02 20 03 23", 0);
    EXPECT_EQ(lastAt, VirtualHandset::lineTimeUs(4) + 5'000 + VirtualHandset::lineTimeUs(1));
    EXPECT_EQ(VirtualHandset::lineTimeUs(1), 1145);
    // The five-byte status answer takes 5.7 ms on the line.
    now = 100'000;
    send("02 70 03 73");
    EXPECT_EQ(lastAt, 100'000 + VirtualHandset::lineTimeUs(4) + 5'000 + VirtualHandset::lineTimeUs(5));
}

TEST_F(Handset, RegistrationReportsRunningThenTheOutcome) {
    use([](HandsetConfig& c) {
        c.modelCode = 2;
        c.registration = {RegistrationScenario::Outcome::Failure, 0x10, 0x70, 0x00, 300};
    });
    EXPECT_EQ(send("02 40 21 03 62"), V{"06"});
    EXPECT_EQ(poll(), V{"02 40 21 03 62"}); // status 0x01, running
    now += 400'000;
    EXPECT_EQ(poll(), V{"02 40 30 21 90 20 03 E2"});
    EXPECT_EQ(poll(), V{"02 20 21 03 02"});
    // The failure is in the error history.
    const Bytes errors = handset.store().buffer(0x19);
    const Bytes entry = {0x01, 0x70, 0x00};
    EXPECT_NE(std::search(errors.begin(), errors.end(), entry.begin(), entry.end()), errors.end());
}

TEST_F(Handset, RegistrationControlZeroEndsTheCommand) {
    send("02 40 21 03 62");
    EXPECT_EQ(send("02 40 20 03 63"), V{"06"});
    EXPECT_EQ(poll(), V{"02 40 60 03 23"});
}

TEST_F(Handset, PowerOffAndResetFallSilentForAWhile) {
    use([](HandsetConfig& c) {
        c.resetMs = 1'500;
        c.powerOffMs = 5'000;
    });
    EXPECT_EQ(send("02 30 3B 24 03 2C"), V{}); // reset
    EXPECT_EQ(send("02 20 03 23", 1'500'000), V{});
    EXPECT_EQ(send("02 20 03 23"), V{"06"});
    EXPECT_EQ(send("02 30 3B 23 03 2B"), V{}); // power off
    EXPECT_EQ(send("02 20 03 23", 4'000'000), V{});
    now += 1'000'000;
    EXPECT_EQ(send("02 20 03 23"), V{"06"});
}

TEST_F(Handset, UnknownFramesAreRefused) {
    EXPECT_EQ(send(hex(link::buildFrame(0x45, Bytes{0x21}))), V{"15"});
    // A test number the handset does not have: status 0x10.
    EXPECT_EQ(send(hex(link::buildFrame(0x50, Bytes{0x29}))), V{"06"});
    EXPECT_EQ(poll(), V{"02 50 30 29 03 4A"});
}

} // namespace
} // namespace tolvan::sim
