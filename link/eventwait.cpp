#include "link/eventwait.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace tolvan::link {

bool runEventsUntil(const std::function<bool()>& done, int ms) {
    const QDeadlineTimer deadline(ms, Qt::PreciseTimer);
    // Its expiry is the event that ends a wait nothing else ends. processEvents with a time slice
    // would not do: it drops WaitForMoreEvents and turns the wait into a busy loop.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    while (!(done && done())) {
        if (deadline.hasExpired()) {
            return false;
        }
        if (!wake.isActive()) {
            wake.start(static_cast<int>(deadline.remainingTime()));
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

} // namespace tolvan::link
