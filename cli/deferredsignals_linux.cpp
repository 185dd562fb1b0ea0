#include "cli/deferredsignals.h"

#include "common/logfile/placementguard.h"

#include <csignal>
#include <initializer_list>

namespace tolvan::cli {
namespace {

volatile std::sig_atomic_t g_deferred = 0;
volatile std::sig_atomic_t g_askStop = 0;
volatile std::sig_atomic_t g_stopAsked = 0;

// The default action, as if no handler had been installed.
void terminateBy(int signal) {
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    ::sigaction(signal, &standard, nullptr);
    ::raise(signal);
}

void onTermination(int signal) {
    if (g_askStop != 0 && g_stopAsked == 0) {
        g_stopAsked = signal;
        return;
    }
    if (logfile::PlacementGuard::active()) {
        g_deferred = signal;
        return;
    }
    terminateBy(signal);
}

void onPlacementsEnded() {
    if (const int signal = g_deferred; signal != 0) {
        g_deferred = 0;
        terminateBy(signal);
    }
}

} // namespace

void askStopOnTermination(bool on) {
    g_askStop = on ? 1 : 0;
    if (const int signal = g_stopAsked; !on && signal != 0) {
        g_stopAsked = 0;
        onTermination(signal);
    }
}

int stopAskedBy() {
    return g_stopAsked;
}

void deferTerminationDuringPlacement() {
    logfile::PlacementGuard::setOnIdle(&onPlacementsEnded);
    for (const int signal : {SIGINT, SIGTERM}) {
        struct sigaction previous {};
        ::sigaction(signal, nullptr, &previous);
        if (previous.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = onTermination;
        sigemptyset(&action.sa_mask);
        sigaddset(&action.sa_mask, SIGINT);
        sigaddset(&action.sa_mask, SIGTERM);
        ::sigaction(signal, &action, nullptr);
    }
}

} // namespace tolvan::cli
