#include "app/startoptions.h"

#include "link/linktrace.h"

#include <QDateTime>

namespace tolvan::app {

std::optional<StartOptions> parseStartOptions(const QStringList& arguments) {
    StartOptions options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (a == QLatin1String("--simulate") && hasValue) {
            options.simulate = arguments[++i];
        } else if (a == QLatin1String("--fault") && hasValue) {
            options.faults.append(arguments[++i]);
        } else if (a == QLatin1String("--port") && hasValue && !arguments[i + 1].isEmpty()) {
            options.port = arguments[++i];
        } else if (a == QLatin1String("--trace") && hasValue && !arguments[i + 1].isEmpty()) {
            options.trace = arguments[++i];
        } else {
            return std::nullopt;
        }
    }
    if (!options.faults.isEmpty() && options.simulate.isEmpty()) {
        return std::nullopt;
    }
    return options;
}

QString startUsage() {
    return QStringLiteral(
        "usage: Tolvan [--port DEVICE] [--trace FILE] [--simulate ZX-VA100|ZX-VA150|ZX-VA150(C) [--fault "
        "RULE]...]\n"
        "  --port DEVICE  open DEVICE (for example /dev/ttyUSB0 or COM7) instead of the port found\n"
        "                 by the handset driver's description\n"
        "  --trace FILE   append every unit sent and received to FILE, as tolvan-cli --trace\n"
        "  --fault RULE   a fault of the virtual handset from the start, as tolvan-sim --fault\n"
        "                 takes it (for example silence@7000,count=0 or chaos,seed=3)\n");
}

QString traceHeaderFor(const link::LinkSession& session) {
    QString port = session.fixedDevicePath();
    if (port.isEmpty()) {
        const QString found = session.devicePath();
        port = QStringLiteral("found by description: ") +
               (found.isEmpty() ? QStringLiteral("none attached yet") : found);
    }
    return link::traceHeader(QStringLiteral("Tolvan"), QStringLiteral(TOLVAN_VERSION),
                             QDateTime::currentDateTime(), port);
}

} // namespace tolvan::app
