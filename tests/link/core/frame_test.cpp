#include "link/core/frame.h"
#include "tests/support/virtuallink.h"

#include <gtest/gtest.h>

namespace tolvan::link {
namespace {

using test::hex;
using test::unhex;

TEST(Frame, CheckByteIsXorAfterStxThroughEtx) {
    const Bytes frame = unhex("02 30 30 21 03");
    EXPECT_EQ(checkByte(frame, 5), 0x22);
    EXPECT_EQ(checkByte(unhex("02 20 03"), 3), 0x23);
    // A count below 2 gives 0.
    EXPECT_EQ(checkByte(unhex("02"), 1), 0);
    EXPECT_EQ(checkByte(unhex("02 55"), 0), 0);
}

TEST(Frame, ValueEncodingsStayAtOrAbove0x20) {
    EXPECT_EQ(encodeSmall(0), 0x20);
    EXPECT_EQ(encodeSmall(0x5F), 0x7F);
    EXPECT_EQ(encodeNibble(0x1F), 0x2F);
    Bytes v;
    appendGroups7of16(v, 300);
    EXPECT_EQ(hex(v), "4C 22 20");
    v.clear();
    appendGroups7of16(v, 0xFFFF);
    EXPECT_EQ(hex(v), "9F 9F 23");
    v.clear();
    appendGroups7of32(v, 0xFFFFFFFFu);
    EXPECT_EQ(hex(v), "9F 9F 9F 9F 2F");
    v.clear();
    appendGroups7of32(v, 0x12345678u);
    // 0x78, 0x2C (>>7 & 7F), 0x51, 0x11, 0x1 -> each + 0x20 (last OR 0x20)
    EXPECT_EQ(hex(v), "98 4C 71 31 21");
    v.clear();
    appendNibblePair(v, 0xA7);
    EXPECT_EQ(hex(v), "27 2A");
}

TEST(Frame, BuildsFramesWithTheirCheckByte) {
    EXPECT_EQ(hex(buildFrame(0x20, {})), "02 20 03 23");
    EXPECT_EQ(hex(buildDataFrame(0x1001, {})), "02 30 30 21 03 22");
    const std::uint8_t payload[] = {0x20};
    // The class byte is never offset, a payload value of 0 travels as 0x20.
    EXPECT_EQ(hex(buildDataFrame(0x0C01, payload)), "02 30 2C 21 20 03 1E");
}

TEST(Frame, ResponseIdByClass) {
    EXPECT_EQ(responseId(unhex("02 20 01 03 00")), 0x2000);
    EXPECT_EQ(responseId(unhex("02 30 00 10 01 03 00")), 0x1001);
    EXPECT_EQ(responseId(unhex("02 40 10 03 00")), 0x4010);
    EXPECT_EQ(responseId(unhex("02 50 01 07 03 00")), 0x5007);
    EXPECT_EQ(responseId(unhex("02 60 01 02 03 00")), 0x6002);
    EXPECT_EQ(responseId(unhex("02 71 03 03 00")), 0x7103);
    EXPECT_EQ(responseId(unhex("02 72 03 03 00")), 0xFFFF);
    // Too short to hold the bytes: no read past the unit.
    EXPECT_EQ(responseId(unhex("02 30")), 0x0000);
}

} // namespace
} // namespace tolvan::link
