#include "flows/doctor/linetester.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace tolvan::doctor {

LineTestResult DeviceLineTester::run(QIODevice& port, std::int64_t lineTestMs) {
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    LineProbe probe(
        [&port](const link::Bytes& bytes) {
            port.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        },
        lineTestMs);
    const auto settle = [&] {
        if (probe.finished()) {
            loop.quit();
            return;
        }
        if (const auto due = probe.nextDeadline()) {
            timer.start(static_cast<int>(std::max<std::int64_t>(0, *due - clock.elapsed())));
        }
    };
    QObject::connect(&port, &QIODevice::readyRead, &loop, [&] {
        const QByteArray bytes = port.readAll();
        probe.feed({reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                    static_cast<std::size_t>(bytes.size())},
                   clock.elapsed());
        settle();
    });
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        probe.advance(clock.elapsed());
        settle();
    });
    probe.start(clock.elapsed());
    settle();
    if (!probe.finished()) {
        loop.exec();
    }
    return probe.result();
}

} // namespace tolvan::doctor
