#pragma once

// A bounded wait on the calling thread's events, for code that runs a link without returning to
// an event loop of its own (the runner's steps, the command line).

#include <functional>

namespace tolvan::link {

// Runs the thread's events until done() holds (true) or ms pass (false). The thread sleeps until
// its next event (a received unit, a timer, a posted call) and asks done() after each, so a wait
// takes no processor time of its own and ends as soon as the event that ends it was handled.
bool runEventsUntil(const std::function<bool()>& done, int ms);

} // namespace tolvan::link
