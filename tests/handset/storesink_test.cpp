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

// A write is prepared in a copy; the store takes a block of it only when the handset echoes that
// block's write, so an edit, a loaded file or a write that fails never passes for the handset's.
TEST(HandsetStore, APreparedWriteReachesTheStoreOnlyBlockByBlockAsTheHandsetEchoesIt) {
    HandsetStore store;
    StoreSink sink(store);
    link::LinkState state;
    ASSERT_TRUE(receive(state, sink, ScriptedHandset::dataResponse(0x1401, {1, 2, 3})));
    ASSERT_TRUE(receive(state, sink, ScriptedHandset::dataResponse(0x1402, {4, 5})));
    // An echo with no write prepared takes nothing.
    ASSERT_TRUE(receive(state, sink, ScriptedHandset::dataResponse(0x0401, {})));
    EXPECT_EQ(store.block(0x1401, 1)[0], 1);
    HandsetBlocks& pending = store.prepareWrite();
    EXPECT_EQ(pending, store.held());
    pending.block(0x1401)[0] = 41;
    pending.block(0x1402)[0] = 42;
    EXPECT_EQ(store.block(0x1401, 1)[0], 1);

    // The echo of 0x0401: its block is the handset's now; 0x1402 was never taken.
    ASSERT_TRUE(receive(state, sink, ScriptedHandset::dataResponse(0x0401, {})));
    EXPECT_EQ(state.resultClass, link::rc::kDataReceived);
    EXPECT_EQ(store.block(0x1401, 3)[0], 41);
    EXPECT_EQ(store.block(0x1401, 3)[1], 2);
    EXPECT_EQ(store.block(0x1402, 1)[0], 4);

    // The next write starts again from what the handset holds: nothing of the failed part stays.
    EXPECT_EQ(store.prepareWrite().block(0x1402, 1)[0], 4);
    ASSERT_TRUE(receive(state, sink, ScriptedHandset::dataResponse(0x0402, {})));
    EXPECT_EQ(store.block(0x1402, 1)[0], 4);
    // Answers go on landing in the store alone.
    ASSERT_TRUE(receive(state, sink, ScriptedHandset::dataResponse(0x1402, {7})));
    EXPECT_EQ(store.block(0x1402, 1)[0], 7);
    EXPECT_EQ(store.pendingWrite().block(0x1402, 1)[0], 4);
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
