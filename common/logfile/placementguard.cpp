#include "common/logfile/placementguard.h"

#include <atomic>

namespace tolvan::logfile {
namespace {

std::atomic<int> g_placements{0};
std::atomic<void (*)()> g_onIdle{nullptr};
static_assert(std::atomic<int>::is_always_lock_free);

} // namespace

PlacementGuard::PlacementGuard() {
    g_placements.fetch_add(1);
}

PlacementGuard::~PlacementGuard() {
    if (g_placements.fetch_sub(1) == 1) {
        if (auto* onIdle = g_onIdle.load()) {
            onIdle();
        }
    }
}

bool PlacementGuard::active() {
    return g_placements.load() > 0;
}

void PlacementGuard::setOnIdle(void (*onIdle)()) {
    g_onIdle.store(onIdle);
}

} // namespace tolvan::logfile
