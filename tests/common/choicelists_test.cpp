// The list helpers every screen's selectors are built from.
#include "common/choicelists.h"

#include <gtest/gtest.h>

namespace tolvan {
namespace {

TEST(ChoiceLists, NumbersAreDecimalAndPaddedOnlyWhenAskedAndLookupsMissQuietly) {
    EXPECT_EQ(ChoiceLists::numbers(8, 10), (QStringList{"8", "9", "10"}));
    EXPECT_EQ(ChoiceLists::numbers(8, 10, 2), (QStringList{"08", "09", "10"}));
    EXPECT_TRUE(ChoiceLists::numbers(3, 2).isEmpty());

    const QStringList& onOff = ChoiceLists::onOff();
    EXPECT_EQ(ChoiceLists::text(onOff, 1), QStringLiteral("ｵﾝ"));
    EXPECT_TRUE(ChoiceLists::text(onOff, -1).isEmpty());
    EXPECT_TRUE(ChoiceLists::text(onOff, 2).isEmpty());
    EXPECT_EQ(ChoiceLists::indexOf(onOff, QStringLiteral("ｵﾌ")), 0);
    EXPECT_EQ(ChoiceLists::indexOf(onOff, QStringLiteral("ｵﾌ ")), -1);
}

} // namespace
} // namespace tolvan
