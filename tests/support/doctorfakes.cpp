#include "tests/support/doctorfakes.h"

#include "flows/doctor/lineprobe.h"

#include <algorithm>
#include <deque>

namespace tolvan::test {

doctor::LineTestResult runLineTest(sim::VirtualHandset& handset, std::int64_t lineTestMs) {
    std::int64_t nowMs = 0;
    std::deque<sim::VirtualHandset::Burst> inFlight;
    doctor::LineProbe probe(
        [&](const link::Bytes& bytes) {
            for (sim::VirtualHandset::Burst& burst : handset.receive(bytes, nowMs * 1000)) {
                const auto at = std::upper_bound(inFlight.begin(), inFlight.end(), burst.atUs,
                                                 [](std::int64_t t, const auto& b) { return t < b.atUs; });
                inFlight.insert(at, std::move(burst));
            }
        },
        lineTestMs);
    probe.start(nowMs);
    while (!probe.finished()) {
        std::optional<std::int64_t> next = probe.nextDeadline();
        if (!inFlight.empty()) {
            const std::int64_t arrival = (inFlight.front().atUs + 999) / 1000;
            next = next ? std::min(*next, arrival) : arrival;
        }
        if (!next) {
            break;
        }
        nowMs = std::max(nowMs, *next);
        while (!inFlight.empty() && inFlight.front().atUs <= nowMs * 1000) {
            const link::Bytes bytes = std::move(inFlight.front().bytes);
            inFlight.pop_front();
            probe.feed(bytes, nowMs);
        }
        probe.advance(nowMs);
    }
    return probe.result();
}

doctor::LineTestResult VirtualLineTester::run(QIODevice&, std::int64_t lineTestMs) {
    ++runs;
    sim::VirtualHandset handset(m_config);
    return runLineTest(handset, lineTestMs);
}

doctor::SerialDevice handsetAdapter(const QString& path) {
    const QString name = path.mid(5);
    return {path,
            QStringLiteral("ZX-VA150 USB Serial Ports Driver (%1)").arg(name),
            QStringLiteral("ZX-VA150 USB Serial Ports Driver"),
            QStringLiteral("ftdi_sio"),
            {QStringLiteral("/dev/serial/by-id/usb-ZX-VA150_USB_Serial_Ports_Driver-if00-port0")}};
}

} // namespace tolvan::test
