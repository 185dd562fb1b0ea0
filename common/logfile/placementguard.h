#pragma once

// PlacementGuard: marks the stretch in which a set of log files is being put in place, so a
// program can hold back its termination until every file of the set is where it belongs.

namespace tolvan::logfile {

// A process killed meanwhile is still recovered by the next one that uses the set; holding the
// signal back only spares the user that step. The count is read from signal handlers, so it is a
// lock-free atomic and nothing else.
class PlacementGuard {
public:
    PlacementGuard();
    ~PlacementGuard();
    PlacementGuard(const PlacementGuard&) = delete;
    PlacementGuard& operator=(const PlacementGuard&) = delete;

    // Whether any placement is under way (safe in a signal handler).
    static bool active();
    // Called each time the last placement under way ends, on the thread that ended it.
    static void setOnIdle(void (*onIdle)());
};

} // namespace tolvan::logfile
