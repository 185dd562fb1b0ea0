#include "link/core/splitter.h"
#include "tests/support/scriptedhandset.h"
#include "tests/support/virtuallink.h"

#include <gtest/gtest.h>

namespace tolvan::link {
namespace {

using test::hex;
using test::ScriptedHandset;
using test::unhex;

std::vector<std::string> feedAll(UnitSplitter& s, const Bytes& bytes, std::int64_t now) {
    std::vector<Bytes> units;
    s.feed(bytes, now, units);
    std::vector<std::string> out;
    for (const auto& u : units) {
        out.push_back(hex(u));
    }
    return out;
}

TEST(Splitter, MergedBurstBecomesSeparateUnits) {
    UnitSplitter s;
    const auto units = feedAll(s, unhex("06 02 20 21 03 02 15"), 0);
    EXPECT_EQ(units, (std::vector<std::string>{"06", "02 20 21 03 02", "15"}));
    EXPECT_FALSE(s.deadline());
}

TEST(Splitter, FrameSplitAcrossReadsIsReassembled) {
    UnitSplitter s;
    EXPECT_TRUE(feedAll(s, unhex("02 30 20 30"), 0).empty());
    EXPECT_EQ(s.deadline(), 100);
    EXPECT_TRUE(feedAll(s, unhex("21 25"), 60).empty());
    EXPECT_EQ(feedAll(s, unhex("03 27"), 150), (std::vector<std::string>{"02 30 20 30 21 25 03 27"}));
}

TEST(Splitter, ControlBytesInsideABodyDoNotEndTheFrame) {
    // Data values E2, E3, E6, F5 travel as 02, 03, 06, 15.
    const Bytes frame = ScriptedHandset::dataResponse(0x1501, {0xE2, 0xE3, 0xE6, 0xF5, 0xE3});
    UnitSplitter s;
    for (std::size_t i = 0; i + 1 < frame.size(); ++i) {
        EXPECT_TRUE(feedAll(s, {frame[i]}, static_cast<std::int64_t>(i)).empty()) << i;
    }
    EXPECT_EQ(feedAll(s, {frame.back()}, 50), (std::vector<std::string>{hex(frame)}));
}

TEST(Splitter, IncompleteFrameIsHandedOnAfterTheInterByteLimit) {
    UnitSplitter s;
    EXPECT_TRUE(feedAll(s, unhex("02 30 20"), 10).empty());
    std::vector<Bytes> units;
    s.expire(109, units);
    EXPECT_TRUE(units.empty());
    s.expire(110, units);
    ASSERT_EQ(units.size(), 1u);
    EXPECT_EQ(hex(units[0]), "02 30 20");
    // A late byte after the limit starts afresh even if nobody called expire.
    EXPECT_TRUE(feedAll(s, unhex("02 20"), 200).empty());
    // ...and the ACK that came late is kept apart from it.
    EXPECT_EQ(feedAll(s, unhex("06"), 400), (std::vector<std::string>{"02 20", "06"}));
}

TEST(Splitter, RunawayFrameIsCutAt256Bytes) {
    UnitSplitter s;
    Bytes junk{kStx};
    junk.insert(junk.end(), 300, 0x41);
    std::vector<Bytes> units;
    s.feed(junk, 0, units);
    ASSERT_EQ(units.size(), 1u);
    EXPECT_EQ(units[0].size(), kMaxUnitLength);
    // The rest is a stray unit.
    s.expire(1000, units);
    ASSERT_EQ(units.size(), 2u);
    EXPECT_EQ(units[1].size(), 301u - kMaxUnitLength);
}

TEST(Splitter, StrayBytesFormOneUnit) {
    UnitSplitter s;
    EXPECT_EQ(feedAll(s, unhex("00 41 42 06"), 0), (std::vector<std::string>{"00 41 42", "06"}));
    EXPECT_TRUE(feedAll(s, unhex("7F"), 1).empty());
    std::vector<Bytes> units;
    s.expire(101, units);
    ASSERT_EQ(units.size(), 1u);
    EXPECT_EQ(hex(units[0]), "7F");
}

} // namespace
} // namespace tolvan::link
