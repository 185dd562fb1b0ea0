#include "link/eventwait.h"

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

namespace tolvan::link {
namespace {

TEST(RunEventsUntil, EndsAtTheEventThatMakesItsConditionHoldAndSleepsOtherwise) {
    bool held = false;
    QTimer::singleShot(0, [&] { held = true; });
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(runEventsUntil([&] { return held; }, 10000));
    EXPECT_LT(clock.elapsed(), 1000);

    // Nothing happens: the limit ends the wait, and the condition is not asked in a busy loop.
    int asked = 0;
    clock.restart();
    EXPECT_FALSE(runEventsUntil(
        [&] {
            ++asked;
            return false;
        },
        50));
    EXPECT_GE(clock.elapsed(), 50);
    EXPECT_LE(asked, 5);
}

} // namespace
} // namespace tolvan::link
