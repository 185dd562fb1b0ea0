// The buffers as the store holds them, and the mode's scripts and view states around them.
#include "modes/log/model/handsetbuffers.h"
#include "modes/log/model/logdisplaylists.h"
#include "modes/log/model/logoperations.h"
#include "tests/modes/log/model/samplebuffers.h"

#include "link/core/catalogue.h"

#include <gtest/gtest.h>

namespace tolvan::log {
namespace {

using testing::respond;
using testing::sampleStore;

// Where each sample entry lands is checked through the byte-exact log file 3 test.

TEST(BufferPlacement, AnIncompleteReadLeavesTheEntriesOfMissingResponsesAsTheyWere) {
    handset::HandsetStore store = sampleStore();
    // A second read brings only 0x1501 and 0x1A01, a short 0x1A01 at that.
    respond(store, 0x1501, {0x02, 0x01, 0x02, 0x02, 0, 0, 0, 0});
    respond(store, 0x1A01, {0x05});
    const HandsetBuffers buffers = HandsetBuffers::fromStore(store);
    EXPECT_EQ(buffers.entry(BufferKind::CommEvent, 0)[1], 0x01);
    EXPECT_EQ(buffers.entry(BufferKind::CommEvent, 1)[1], 0x02);
    EXPECT_EQ(buffers.entry(BufferKind::CommEvent, 15)[0], 0x02);
    EXPECT_EQ(buffers.entry(BufferKind::HandsetError, 0)[0], 0x05);
    EXPECT_EQ(buffers.entry(BufferKind::HandsetError, 15)[0], 0xC8);
    EXPECT_EQ(buffers.entry(BufferKind::MmiStatus, 0)[1], 0x83);
}

TEST(BufferPlacement, TheMmiStatusIsTheScriptsItemAndOtherItemsAreNotMixedIn) {
    handset::HandsetStore store;
    respond(store, 0x1805, {0x05, 0x01});
    EXPECT_EQ(HandsetBuffers::fromStore(store).mmiStatus, (std::array<std::uint8_t, 2>{0, 0}));
    respond(store, 0x1801, {0x05, 0x02});
    EXPECT_EQ(HandsetBuffers::fromStore(store).mmiStatus, (std::array<std::uint8_t, 2>{0x05, 0x02}));
}

TEST(BufferPlacement, StoringBackKeepsBytesPastTheEntries) {
    handset::HandsetBlocks store = sampleStore();
    HandsetBuffers buffers = HandsetBuffers::fromStore(store);
    buffers.handsetError.fill(0x0B);
    buffers.commErrorStatus[107] = 0x99;
    buffers.storeInto(store);
    EXPECT_EQ(HandsetBuffers::fromStore(store), buffers);
    EXPECT_EQ(store.block(0x1504)[8], 0xEE);
    EXPECT_EQ(store.block(0x1909)[11], 0x99);
    EXPECT_EQ(store.block(0x1A02)[7], 0x0B);
    EXPECT_TRUE(buffers.entry(BufferKind::CommEvent, 16).empty());
    EXPECT_TRUE(buffers.entry(BufferKind::CommEvent, -1).empty());
}

TEST(LogScripts, TheReadScriptReadsEveryBufferInTheViewsOrder) {
    std::vector<std::uint32_t> reads;
    for (const BufferKind kind : kAllBuffers) {
        const BufferLayout layout = layoutOf(kind);
        for (int r = 0; r < layout.responses(); ++r) {
            reads.push_back(layout.firstReadCode + static_cast<std::uint32_t>(r));
        }
    }
    ASSERT_EQ(reads.size(), 40u);
    EXPECT_EQ(link::scriptEntry(op::kReadScript, 1), 0x1B01u);
    for (std::size_t i = 0; i < reads.size(); ++i) {
        EXPECT_EQ(link::scriptEntry(op::kReadScript, static_cast<int>(i) + 2), reads[i]) << i;
    }
    EXPECT_EQ(link::scriptEntry(op::kReadScript, 42), link::cmd::kClose);
}

TEST(LogScripts, EachClearClearsItsOwnBufferFirst) {
    for (const BufferKind kind : kAllBuffers) {
        const int script = op::clearScript(kind);
        EXPECT_EQ(link::scriptEntry(script, 1), layoutOf(kind).clearCommand) << script;
        EXPECT_EQ(link::scriptEntry(script, 2), 0x1B01u) << script;
        EXPECT_EQ(op::clearedBuffer(op::clearOperation(kind)), kind);
    }
    for (std::size_t i = 0; i < kBufferCount; ++i) {
        EXPECT_EQ(link::scriptEntry(op::kClearAllScript, static_cast<int>(i) + 1),
                  layoutOf(kAllBuffers[i]).clearCommand);
    }
    EXPECT_FALSE(op::clearedBuffer(op::kClearAll));
    EXPECT_FALSE(op::clearedBuffer(op::kReadPending));
}

TEST(ScriptResult, AClearResetsOnlyItsListAndAReadShowsEverything) {
    const HandsetBuffers sample = HandsetBuffers::fromStore(sampleStore());
    LogDisplayLists lists = LogDisplayLists::fromBuffers(sample);
    const LogDisplayLists shown = lists;

    ASSERT_TRUE(lists.applyScriptResult(op::clearOperation(BufferKind::MmiStatus), sample));
    LogDisplayLists expected = shown;
    expected.setRows(BufferKind::MmiStatus, {"ｱｲﾄﾞﾙ"});
    EXPECT_EQ(lists, expected);

    ASSERT_TRUE(lists.applyScriptResult(op::kReadPending, sample));
    EXPECT_EQ(lists, shown);
    ASSERT_TRUE(lists.applyScriptResult(op::kClearAll, sample));
    EXPECT_EQ(lists, LogDisplayLists::defaults());
    ASSERT_TRUE(lists.applyScriptResult(op::kUnplugged, sample));
    EXPECT_EQ(lists, shown);

    EXPECT_FALSE(lists.applyScriptResult(op::kDataShown, HandsetBuffers{}));
    EXPECT_FALSE(lists.applyScriptResult(0xA000, HandsetBuffers{}));
    EXPECT_EQ(lists, shown);
}

} // namespace
} // namespace tolvan::log
