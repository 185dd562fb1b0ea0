// The list helpers every screen's selectors are built from.
#include "common/choicelists.h"

#include <gtest/gtest.h>

namespace tolvan {
namespace {

TEST(ChoiceLists, NumbersArePaddedOnlyWhenAskedAndLookupsOffTheListFindNothing) {
    EXPECT_EQ(ChoiceLists::numbers(9, 10), (QStringList{"9", "10"}));
    EXPECT_EQ(ChoiceLists::numbers(9, 10, 2), (QStringList{"09", "10"}));
    EXPECT_TRUE(ChoiceLists::text(ChoiceLists::onOff(), 2).isEmpty());
    EXPECT_TRUE(ChoiceLists::text(ChoiceLists::onOff(), -1).isEmpty());
    EXPECT_EQ(ChoiceLists::indexOf(ChoiceLists::onOff(), QStringLiteral("ｵﾝ ")), -1);
}

} // namespace
} // namespace tolvan
