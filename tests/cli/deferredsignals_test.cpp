// SIGTERM while a set of log files is being placed ends tolvan-cli only once the set is in place.
#include "cli/deferredsignals.h"
#include "common/logfile/placementguard.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>

namespace tolvan::cli {
namespace {

TEST(DeferredSignals, ATerminationDuringAPlacementTakesEffectWhenItEnds) {
    EXPECT_EXIT(
        {
            deferTerminationDuringPlacement();
            {
                const logfile::PlacementGuard placing;
                std::raise(SIGTERM);
                std::fputs("placed\n", stderr);
            }
            std::fputs("went on\n", stderr);
            std::_Exit(0);
        },
        ::testing::KilledBySignal(SIGTERM), "placed");
}

} // namespace
} // namespace tolvan::cli
