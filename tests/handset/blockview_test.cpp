// A view over the store built as the mode images are: its own blocks plus the shared ones.
#include "handset/blockview.h"
#include "handset/correctionblocks.h"

#include <gtest/gtest.h>

namespace tolvan::handset {
namespace {

inline constexpr auto kViewCodes = joinCodes(std::to_array<std::uint16_t>({0x1006}), kCorrectionCodes);

struct CorrectedView : BlockView<CorrectedView, kViewCodes>, CorrectionBlocks {
    std::array<std::uint8_t, 2> refClock{};

    using BlockView::block;
    std::span<std::uint8_t> block(std::uint16_t readCode) {
        return readCode == 0x1006 ? std::span<std::uint8_t>(refClock) : correctionBlock(readCode);
    }
    bool operator==(const CorrectedView&) const = default;
};

TEST(BlockView, SharedCorrectionBlocksTravelWithTheViewsOwnAndLeaveTheRestOfTheStore) {
    EXPECT_EQ(kViewCodes, (std::array<std::uint16_t, 4>{0x1006, 0x1002, 0x1003, 0x1005}));
    HandsetBlocks store;
    store.block(0x1002)[44] = 99; // past the DAC block: not the view's
    store.block(0x1003)[13] = 3;
    store.block(0x1006)[1] = 6;
    CorrectedView view = CorrectedView::fromStore(store);
    EXPECT_EQ(view.rssi[13], 3);
    EXPECT_EQ(view.refClock[1], 6);
    EXPECT_TRUE(view.block(0x1201).empty());

    view.dac[43] = 20;
    view.ampBias[39] = 50;
    view.storeInto(store);
    EXPECT_EQ(store.block(0x1002)[43], 20);
    EXPECT_EQ(store.block(0x1002)[44], 99);
    EXPECT_EQ(store.block(0x1005)[39], 50);
    EXPECT_EQ(CorrectedView::fromStore(store), view);
}

} // namespace
} // namespace tolvan::handset
