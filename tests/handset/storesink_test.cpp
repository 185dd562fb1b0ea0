// The one store of what the handset sent, and the sink that fills it from validated units.
#include "handset/storesink.h"
#include "tests/support/scriptedhandset.h"

#include <gtest/gtest.h>

namespace tolvan::handset {
namespace {

using link::Bytes;
using test::ScriptedHandset;

bool receive(link::LinkState& state, StoreSink& sink, const Bytes& unit) {
    std::copy(unit.begin(), unit.end(), state.receiveBuffer.begin());
    state.receiveLength = unit.size();
    return link::validateUnit(state, sink);
}

TEST(HandsetStore, KeepsEveryBlockByReadCodeAndOverwritesOnlyWhatAnAnswerCarries) {
    HandsetStore store;
    StoreSink sink(store);
    link::LinkState state;
    ASSERT_TRUE(receive(state, sink, ScriptedHandset::dataResponse(0x1501, Bytes(32, 7))));
    ASSERT_TRUE(receive(state, sink, ScriptedHandset::dataResponse(0x1501, {1, 2})));
    EXPECT_EQ(store.block(0x1501, 4)[0], 1);
    EXPECT_EQ(store.block(0x1501, 4)[2], 7); // past the short answer: as before
    // Any item of the MMI status group is kept under its own code.
    ASSERT_TRUE(receive(state, sink, ScriptedHandset::dataResponse(0x1805, {9, 9})));
    EXPECT_EQ(store.block(0x1805, 1)[0], 9);
    EXPECT_TRUE(store.block(0x7000).empty());
    // A block never received reads as zeros, and a store equals one that never saw zeros.
    HandsetStore fresh;
    EXPECT_EQ(fresh.block(0x1A02, 16)[15], 0);
    (void)fresh.block(0x1003);
    EXPECT_EQ(fresh, HandsetStore{});
    EXPECT_NE(store, fresh);
    store.clear();
    EXPECT_EQ(store, fresh);
}

TEST(StoreSink, TestResultsOutOfRangeTakeTheCheckersClassAndAreNotKept) {
    HandsetStore store;
    StoreSink sink(store);
    sink.setTestResultCheck([](std::span<const std::uint8_t> unit) -> std::optional<std::uint8_t> {
        return link::unitByte(unit, 4) > 77 ? std::optional<std::uint8_t>(link::rc::kDataError)
                                            : std::nullopt;
    });
    link::LinkState state;
    const std::uint8_t good[] = {0x21, 0x21, 0x25};  // status 1, item 1, value 5 (offset)
    const std::uint8_t wrong[] = {0x21, 0x21, 0x7E}; // value 94: out of range
    ASSERT_TRUE(receive(state, sink, link::buildFrame(0x50, good)));
    EXPECT_EQ(state.resultClass, link::rc::kAccepted);
    EXPECT_EQ(store.testResults().count, 1u);
    ASSERT_TRUE(receive(state, sink, link::buildFrame(0x50, wrong)));
    EXPECT_EQ(state.resultClass, link::rc::kDataError);
    EXPECT_EQ(store.testResults().count, 1u);
    EXPECT_EQ(link::unitByte(store.testResults().latest->unit, 4), 5);
}

} // namespace
} // namespace tolvan::handset
