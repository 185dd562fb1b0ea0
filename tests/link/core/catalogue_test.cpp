#include "link/core/catalogue.h"
#include "tests/support/virtuallink.h"

#include <gtest/gtest.h>

namespace tolvan::link {
namespace {

using test::hex;

std::string frameOf(std::uint32_t code) {
    const auto bytes = transmitBytesOf(code, RequestBuffers{});
    return bytes ? hex(*bytes) : std::string("<none>");
}

TEST(Catalogue, FixedFrames) {
    EXPECT_EQ(frameOf(0x20FF), "02 20 03 23");
    EXPECT_EQ(frameOf(0x21FF), "02 21 03 22");
    EXPECT_EQ(frameOf(0x7000), "02 70 03 73");
    EXPECT_EQ(frameOf(0x7100), "02 71 03 72");
    EXPECT_EQ(frameOf(0x7200), "02 72 03 71");
    EXPECT_EQ(frameOf(0x40FF), "02 40 21 03 62");
    EXPECT_EQ(frameOf(0x41FF), "02 40 20 03 63");
    EXPECT_EQ(frameOf(0x1001), "02 30 30 21 03 22");
    EXPECT_EQ(frameOf(0x1714), "02 30 37 34 03 30");
    EXPECT_EQ(frameOf(0x0503), "02 30 25 03 16");
    EXPECT_EQ(frameOf(0x6009), "02 30 3B 23 03 2B");
    EXPECT_EQ(frameOf(0x600A), "02 30 3B 24 03 2C");
    EXPECT_EQ(frameOf(0x600B), "02 30 3B 22 03 2A");
    // Not in the catalogue; a write command whose buffer was never filled sends nothing.
    EXPECT_EQ(frameOf(0x1007), "<none>");
    EXPECT_EQ(frameOf(0x0004), "<none>");
    EXPECT_EQ(frameOf(0x0001), "<none>");
}

TEST(Catalogue, RequestBuffersTakeOnlyWellFormedFramesOfTheirLength) {
    RequestBuffers buffers;
    const Bytes payload4(4, 0x20);
    EXPECT_TRUE(buffers.set(0x0001, buildDataFrame(0x0001, payload4)));        // 10 bytes
    EXPECT_FALSE(buffers.set(0x0001, buildDataFrame(0x0001, Bytes(5, 0x20)))); // 11 bytes
    EXPECT_FALSE(buffers.set(0x1001, buildDataFrame(0x1001, {})));             // a read
    Bytes broken = buildDataFrame(0x0001, payload4);
    broken.back() ^= 1;
    EXPECT_FALSE(buffers.set(0x0001, broken));
    ASSERT_NE(buffers.get(0x0001), nullptr);
    EXPECT_EQ(*buffers.get(0x0001), buildDataFrame(0x0001, payload4));

    // Command 8: an 11-byte frame, and one zero byte after its check byte on the wire.
    const Bytes frame8 = buildDataFrame(0x0008, Bytes(5, 0x21));
    ASSERT_EQ(frame8.size(), 11u);
    ASSERT_TRUE(buffers.set(0x0008, frame8));
    const auto sent = transmitBytesOf(0x0008, buffers);
    ASSERT_TRUE(sent);
    ASSERT_EQ(sent->size(), 12u);
    EXPECT_EQ(sent->back(), 0x00);
    EXPECT_TRUE(std::equal(frame8.begin(), frame8.end(), sent->begin()));
}

TEST(Catalogue, AfterAckGroupsAndWriteTypes) {
    EXPECT_EQ(findCommand(0x1001)->afterAck, AfterAck::Poll);
    EXPECT_EQ(findCommand(0x0001)->afterAck, AfterAck::Poll);
    EXPECT_EQ(findCommand(0x0B01)->afterAck, AfterAck::Poll);
    EXPECT_EQ(findCommand(0x0C01)->afterAck, AfterAck::NextStep);
    EXPECT_EQ(findCommand(0x0A03)->afterAck, AfterAck::NextStep);
    EXPECT_EQ(findCommand(0x21FF)->afterAck, AfterAck::Close);
    EXPECT_EQ(findCommand(0x7200)->afterAck, AfterAck::None);
    EXPECT_EQ(findCommand(0x6009)->afterAck, AfterAck::None);
    EXPECT_EQ(findCommand(0x600B)->afterAck, AfterAck::Poll);
    EXPECT_TRUE(findCommand(0x0406)->writeType);
    EXPECT_TRUE(findCommand(0x6008)->writeType);
    EXPECT_FALSE(findCommand(0x6005)->writeType);
    EXPECT_FALSE(findCommand(0x1001)->writeType);
    EXPECT_FALSE(findCommand(0x5001)->writeType);
    EXPECT_TRUE(isDataWriteCommand(0x0C01));
    EXPECT_FALSE(isDataWriteCommand(0x5001));
    EXPECT_FALSE(isDataWriteCommand(0x1001));
}

TEST(Catalogue, ScriptLengthsAndShapes) {
    const int expected[kScriptCount] = {17, 30, 8,  3,  3,  3,  3,  42, 43, 43,
                                        43, 43, 43, 43, 48, 23, 29, 12, 66, 20};
    for (int s = 0; s < kScriptCount; ++s) {
        EXPECT_EQ(scriptLastStep(s), expected[s]) << "script " << s;
        EXPECT_NE(scriptEntry(s, expected[s]), 0u) << "script " << s;
        EXPECT_EQ(scriptEntry(s, expected[s] + 1), 0u) << "script " << s;
        // Every entry is a command the catalogue can send, or a skip.
        for (int step = 1; step <= expected[s]; ++step) {
            const auto code = scriptEntry(s, step);
            EXPECT_TRUE(code == cmd::kSkip || findCommand(code)) << s << ":" << step;
        }
        // Every script but 17 ends with the close frame.
        if (s != 17) {
            EXPECT_EQ(scriptEntry(s, expected[s]), cmd::kClose) << "script " << s;
        }
    }
    EXPECT_EQ(scriptEntry(17, 12), 0x0104u);
    EXPECT_EQ(scriptEntry(5, 1), cmd::kSkip);
    EXPECT_EQ(scriptEntry(5, 2), 0x1004u);
    // The clear scripts start with their clear before 0x1B01; script 14 clears all six.
    for (int s = 8; s <= 13; ++s) {
        EXPECT_EQ(scriptEntry(s, 1), static_cast<std::uint32_t>(0x0503 + 0x100 * (s - 8)));
        EXPECT_EQ(scriptEntry(s, 2), 0x1B01u);
    }
    EXPECT_EQ(scriptEntry(14, 6), 0x0A03u);
    EXPECT_EQ(scriptEntry(14, 7), 0x1B01u);
    EXPECT_EQ(scriptEntry(18, 65), 0x110Au);
    // The data save read takes the receive-gain block right after the amplifier bias.
    EXPECT_EQ(scriptEntry(18, 5), 0x1005u);
    EXPECT_EQ(scriptEntry(18, 6), 0x1008u);
    EXPECT_EQ(scriptEntry(18, 7), 0x1407u);
}

TEST(Catalogue, ModelDependentSkipping) {
    for (const std::uint32_t code : {0x1407u, 0x0407u, 0x1008u, 0x0008u}) {
        EXPECT_TRUE(isSkippedForModel(code, 3));
        EXPECT_FALSE(isSkippedForModel(code, 2));
    }
    EXPECT_TRUE(isSkippedForModel(0x1008, 4));
    EXPECT_TRUE(isSkippedForModel(0x0008, 4));
    EXPECT_FALSE(isSkippedForModel(0x1407, 4));
    EXPECT_FALSE(isSkippedForModel(0x0407, 4));
}

} // namespace
} // namespace tolvan::link
