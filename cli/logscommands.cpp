#include "cli/logscommands.h"

#include "cli/cliapp.h"
#include "cli/clisession.h"

#include "modes/log/model/handsetbuffers.h"
#include "modes/log/model/logfile3writer.h"
#include "modes/log/model/logoperations.h"

#include "common/logfile/logfileio.h"

namespace tolvan::cli {
namespace {

int logsRead(CliApp& cli, const QString& path) {
    CliSession session(cli);
    // A file that cannot be written is known before the handset is read for nothing.
    if (const auto unwritable = logfile::checkWritable(path)) {
        session.printMessage(unwritable->title, unwritable->text);
        return kExitFileError;
    }
    if (const auto failed = session.open()) {
        return *failed;
    }
    if (const auto failed = session.runLastScript(log::op::kReadPending, log::op::kReadScript)) {
        return *failed;
    }
    const log::LogFile3Text text = log::LogFile3Writer::fromBuffers(
        log::HandsetBuffers::fromStore(session.store()), session.modelCode(), cli.options().memo);
    return session.saveAndClose(path, text.ok() ? CliSession::FileContents{text.bytes} : *text.error);
}

// N is 1 to 6 in the buffer table's order (communication event, MMI event, communication
// status, MMI status, communication error status, handset error), or "all".
int logsClear(CliApp& cli, const QString& which) {
    std::uint32_t operation = log::op::kClearAll;
    std::uint8_t script = log::op::kClearAllScript;
    if (which != QLatin1String("all")) {
        bool ok = false;
        const int n = which.toInt(&ok);
        if (!ok || n < 1 || n > static_cast<int>(log::kBufferCount)) {
            return cli.usage();
        }
        const log::BufferKind kind = log::kAllBuffers[static_cast<std::size_t>(n - 1)];
        operation = log::op::clearOperation(kind);
        script = log::op::clearScript(kind);
    }
    CliSession session(cli);
    if (const auto failed = session.open()) {
        return *failed;
    }
    if (const auto failed = session.runLastScript(operation, script)) {
        return *failed;
    }
    session.close();
    return kExitOk;
}

} // namespace

void addLogsCommands(CliApp& app) {
    app.addCommand({QStringLiteral("logs read"),
                    QStringLiteral("logs read FILE              read the six buffers into FILE (log file 3)"),
                    1, 1, [](CliApp& cli, const QStringList& args) { return logsRead(cli, args.at(0)); }});
    app.addCommand({QStringLiteral("logs clear"),
                    QStringLiteral("logs clear N|all            clear buffer N (1..6) or all, then read"), 1,
                    1, [](CliApp& cli, const QStringList& args) { return logsClear(cli, args.at(0)); }});
}

} // namespace tolvan::cli
