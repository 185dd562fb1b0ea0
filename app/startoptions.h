#pragma once

#include "link/linksession.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tolvan::app {

// What Tolvan is started with:
//   Tolvan [--port DEVICE] [--trace FILE] [--simulate MODEL [--fault RULE]...]
struct StartOptions {
    QString port;     // this device instead of the one discovery finds
    QString trace;    // the link trace is appended to this file
    QString simulate; // the demo's virtual handset of this model
    QStringList faults;
};

// The options after the program name; nothing when they do not parse (a usage error).
std::optional<StartOptions> parseStartOptions(const QStringList& arguments);
QString startUsage();

// The line that opens a run's part of the trace file: version, date and the port the link uses,
// the named one or, with discovery, the one found now.
QString traceHeaderFor(const link::LinkSession& session);

} // namespace tolvan::app
