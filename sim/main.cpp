// tolvan-sim: a virtual handset on a pseudo-terminal, for the demo, training and testing the
// tool (or any other client) without hardware.
#include "sim/ptyhandset.h"
#include "sim/simcommandline.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString error;
    const auto cl = tolvan::sim::parseSimCommandLine(QCoreApplication::arguments(), &error);
    if (!cl) {
        std::fprintf(stderr, "tolvan-sim: %s\n\n%s", qPrintable(error), qPrintable(tolvan::sim::simUsage()));
        return 2;
    }
    if (cl->helpRequested) {
        std::fputs(qPrintable(tolvan::sim::simUsage()), stdout);
        return 0;
    }

    tolvan::sim::PtyHandset handset(cl->config);
    handset.setReplugAfterMs(cl->replugAfterMs);
    handset.setSequence(cl->sequence, cl->swapMs);
    if (!cl->recordPath.isEmpty() && !handset.record(cl->recordPath)) {
        std::fprintf(stderr, "tolvan-sim: cannot write %s\n", qPrintable(cl->recordPath));
        return 3;
    }
    if (!handset.open(&error)) {
        std::fprintf(stderr, "tolvan-sim: %s\n", qPrintable(error));
        return 1;
    }

    // SIGTERM and SIGINT end the event loop through a pipe, so the transcript is closed cleanly.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0) {
        std::perror("tolvan-sim: socketpair");
        return 1;
    }
    QSocketNotifier signalNotifier(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, [] {
        char byte = 0;
        [[maybe_unused]] const ssize_t n = ::read(g_signalPipe[0], &byte, 1);
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);

    std::printf("%s\n", qPrintable(handset.slavePath()));
    std::fflush(stdout);
    const int status = QCoreApplication::exec();
    handset.close();
    return status;
}
