// tolvan-bench-params and tolvan-bench-datasave: how close a tolvan-cli command comes to the time
// the bytes need on a 9600 baud line. Run by hand (see CMakeLists.txt); it needs a pty, so no CI
// machine time.
//
// For each model and command it starts tolvan-sim (paced at 9600 baud 8O1 unless told otherwise,
// with a transcript), runs the command with --trace against it, and compares the wall time of
// the command with the wire-time bound: every byte both ways at 11 bits / 9600 baud, plus the
// 0.9 s pause after each acknowledged close frame. The gaps between the traced units show where
// the rest of the time went. Commands: params (params read), save (save, script 18) and
// write-back (script 18, then script 19, of a set saved untimed just before).

#include "link/core/catalogue.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

namespace link = tolvan::link;

constexpr double kBitsPerByte = 11.0;
constexpr double kBaud = 9600.0;
constexpr double kClosePauseS = 0.9;
constexpr int kDefaultSimDelayMs = 10;

double wireS(qsizetype bytes) {
    return static_cast<double>(bytes) * kBitsPerByte / kBaud;
}

struct Unit {
    double atS = 0;
    char direction = '>';
    QByteArray bytes;
};

struct Run {
    int exitCode = -1;
    QString error;
    double wallS = 0;
    double firstUnitS = 0; // bench clock: when the first traced unit reached us
    double lastUnitS = 0;
    QList<Unit> trace;
    QList<Unit> transcript;
};

std::optional<Unit> traceUnit(const QString& line) {
    static const QRegularExpression re(
        QStringLiteral("^ *([0-9]+\\.[0-9]{3}) ([<>]) ([0-9A-F]{2}(?: [0-9A-F]{2})*)$"));
    const auto m = re.match(line);
    if (!m.hasMatch()) {
        return std::nullopt;
    }
    // tolvan-cli --trace stamps in seconds, with milliseconds.
    return Unit{m.captured(1).toDouble(), m.captured(2).at(0).toLatin1(),
                QByteArray::fromHex(m.captured(3).toLatin1())};
}

// tolvan-sim --record: time in ms, '>' tool to handset or '<' back, the bytes in hex.
QList<Unit> readTranscript(const QString& path) {
    static const QRegularExpression re(QStringLiteral("^ *([0-9]+\\.[0-9]+) ([<>])((?: [0-9A-F]{2})+)"));
    QList<Unit> units;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return units;
    }
    while (!file.atEnd()) {
        const auto m = re.match(QString::fromLatin1(file.readLine()));
        if (m.hasMatch()) {
            units.append(
                {m.captured(1).toDouble() / 1000.0, m.captured(2).at(0).toLatin1(),
                 QByteArray::fromHex(m.captured(3).simplified().remove(QLatin1Char(' ')).toLatin1())});
        }
    }
    return units;
}

// The arguments of a benchmarked command, with what must run untimed before it.
struct BenchCommand {
    QStringList prepare;
    QStringList timed;
};

BenchCommand benchCommand(const QString& name, const QTemporaryDir& dir) {
    const QString set = dir.filePath(QStringLiteral("set"));
    if (name == QLatin1String("save")) {
        return {{}, {QStringLiteral("save"), set}};
    }
    if (name == QLatin1String("write-back")) {
        return {{QStringLiteral("save"), set}, {QStringLiteral("write-back"), set + QStringLiteral(".jv1")}};
    }
    return {{},
            {QStringLiteral("params"), QStringLiteral("read"), dir.filePath(QStringLiteral("params.jv1"))}};
}

Run runOnce(const QString& model, const QString& command, const QStringList& simArgs) {
    Run run;
    QTemporaryDir dir;
    const BenchCommand args = benchCommand(command, dir);
    const QString record = dir.filePath(QStringLiteral("transcript.txt"));
    QProcess sim;
    sim.start(QStringLiteral(TOLVAN_SIM_PATH),
              QStringList{QStringLiteral("--model"), model, QStringLiteral("--record"), record} + simArgs);
    if (!sim.waitForStarted(5000)) {
        run.error = QStringLiteral("tolvan-sim did not start");
        return run;
    }
    while (!sim.canReadLine() && sim.waitForReadyRead(5000)) {
    }
    const QString device = QString::fromUtf8(sim.readLine()).trimmed();
    if (device.isEmpty()) {
        run.error =
            QStringLiteral("tolvan-sim printed no device: ") + QString::fromUtf8(sim.readAllStandardError());
        return run;
    }
    // Backups of a write go into the run's folder, not the user's.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TOLVAN_BACKUP_DIR"), dir.filePath(QStringLiteral("backups")));
    if (!args.prepare.isEmpty()) {
        QProcess prepare;
        prepare.setProcessEnvironment(environment);
        prepare.start(QStringLiteral(TOLVAN_CLI_PATH),
                      QStringList{QStringLiteral("--port"), device} + args.prepare);
        if (!prepare.waitForFinished(300000) || prepare.exitCode() != 0) {
            run.error = QStringLiteral("preparing with ") + args.prepare.join(QLatin1Char(' ')) +
                        QStringLiteral(" failed: ") + QString::fromUtf8(prepare.readAllStandardError());
            return run;
        }
    }
    // The preparation's units are not the command's.
    const qsizetype preparedUnits = readTranscript(record).size();

    QProcess cli;
    QElapsedTimer clock;
    QByteArray pending;
    QString messages;
    auto takeLines = [&] {
        pending += cli.readAllStandardError(); // the trace is on stderr
        const double now = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        qsizetype end = 0;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QString line = QString::fromLatin1(pending.left(end));
            pending.remove(0, end + 1);
            if (const auto unit = traceUnit(line)) {
                if (run.trace.isEmpty()) {
                    run.firstUnitS = now;
                }
                run.lastUnitS = now;
                run.trace.append(*unit);
            } else {
                messages += line + QLatin1Char('\n'); // what the tool said besides the trace
            }
        }
    };
    clock.start();
    cli.setReadChannel(QProcess::StandardError);
    cli.setProcessEnvironment(environment);
    cli.start(QStringLiteral(TOLVAN_CLI_PATH),
              QStringList{QStringLiteral("--trace"), QStringLiteral("--port"), device} + args.timed);
    while (cli.state() != QProcess::NotRunning) {
        if (cli.waitForReadyRead(20)) {
            takeLines();
        }
    }
    run.wallS = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    takeLines();
    run.exitCode = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    if (run.exitCode != 0) {
        run.error = messages.trimmed();
    }
    sim.terminate();
    if (!sim.waitForFinished(3000)) {
        sim.kill();
        sim.waitForFinished(3000);
    }
    run.transcript = readTranscript(record).mid(preparedUnits);
    return run;
}

struct Figures {
    qsizetype bytesOut = 0;
    qsizetype bytesIn = 0;
    int closes = 0;
    double wire = 0;
    double bound = 0;
    // Where the time beyond the bound went.
    int replies = 0;
    double replyExcess = 0;      // handset answers later than their bytes need
    double turnaroundExcess = 0; // tool sends later than the unit it answers (outside close pauses)
    double otherExcess = 0;      // two units in a row from the same side (retries, ACK + answer)
    double tailExcess = 0;       // after the last unit, beyond its close pause: port close, exit
};

Figures analyse(const Run& run) {
    Figures f;
    static const link::Bytes closeFrame =
        link::transmitBytesOf(link::cmd::kClose, link::RequestBuffers{}).value();
    const QByteArray close(reinterpret_cast<const char*>(closeFrame.data()),
                           static_cast<qsizetype>(closeFrame.size()));
    const QList<Unit>& t = run.trace;
    auto closeAcked = [&](qsizetype ack) {
        return ack > 0 && t[ack].direction == '<' && t[ack].bytes == QByteArray(1, char(link::kAck)) &&
               t[ack - 1].direction == '>' && t[ack - 1].bytes == close;
    };
    for (qsizetype i = 0; i < t.size(); ++i) {
        (t[i].direction == '>' ? f.bytesOut : f.bytesIn) += t[i].bytes.size();
        if (closeAcked(i)) {
            ++f.closes;
        }
        if (i == 0) {
            continue;
        }
        const Unit& a = t[i - 1];
        const Unit& b = t[i];
        const double gap = b.atS - a.atS;
        if (a.direction == '>' && b.direction == '<') {
            ++f.replies;
            f.replyExcess += gap - wireS(a.bytes.size()) - wireS(b.bytes.size());
        } else if (a.direction == '<' && b.direction == '>') {
            f.turnaroundExcess += gap - (closeAcked(i - 1) ? kClosePauseS : 0.0);
        } else {
            f.otherExcess += gap - wireS((b.direction == '<' ? b : a).bytes.size());
        }
    }
    f.wire = wireS(f.bytesOut + f.bytesIn);
    f.bound = f.wire + kClosePauseS * f.closes;
    const bool endsInClose = closeAcked(t.size() - 1);
    f.tailExcess = (run.wallS - run.lastUnitS) - (endsInClose ? kClosePauseS : 0.0);
    return f;
}

int simDelayMs(const QStringList& simArgs) {
    const qsizetype at = simArgs.indexOf(QStringLiteral("--delay"));
    return at >= 0 && at + 1 < simArgs.size() ? simArgs.at(at + 1).toInt() : kDefaultSimDelayMs;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QStringList models{QStringLiteral("ZX-VA100"), QStringLiteral("ZX-VA150"), QStringLiteral("ZX-VA150(C)")};
    int runs = 1;
    QStringList commands = QString::fromLatin1(TOLVAN_BENCH_COMMANDS).split(QLatin1Char(','));
    QStringList simArgs;
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--model") && i + 1 < args.size()) {
            models = {args[++i]};
        } else if (args[i] == QLatin1String("--command") && i + 1 < args.size()) {
            commands = {args[++i]};
        } else if (args[i] == QLatin1String("--runs") && i + 1 < args.size()) {
            runs = std::max(1, args[++i].toInt());
        } else if (args[i] == QLatin1String("--")) {
            simArgs = args.mid(i + 1);
            break;
        } else {
            std::fprintf(stderr,
                         "usage: %s [--model NAME] [--command params|save|write-back] [--runs N] "
                         "[-- TOLVAN-SIM-ARGS...]\n",
                         qPrintable(QCoreApplication::applicationName()));
            return 2;
        }
    }
    const int delayMs = simDelayMs(simArgs);
    const bool paced = !simArgs.contains(QStringLiteral("--no-pacing"));
    for (const QString& command : commands) {
        if (command != QLatin1String("params") && command != QLatin1String("save") &&
            command != QLatin1String("write-back")) {
            std::fprintf(stderr, "unknown command %s\n", qPrintable(command));
            return 2;
        }
    }
    out << "tolvan-cli " << commands.join(QStringLiteral(", ")) << " against tolvan-sim "
        << (paced ? "paced at 9600 baud 8O1" : "WITHOUT pacing") << ", handset reply delay " << delayMs
        << " ms"
        << (simArgs.isEmpty() ? QString() : QStringLiteral(" (") + simArgs.join(' ') + QLatin1Char(')'))
        << "\n\n";
    out.flush();

    double worst = 0;
    bool failed = false;
    for (const QString& command : commands) {
        for (const QString& model : models) {
            for (int r = 0; r < runs; ++r) {
                const Run run = runOnce(model, command, simArgs);
                if (run.exitCode != 0 || run.trace.isEmpty()) {
                    out << command << ' ' << model << ": tolvan-cli failed (" << run.exitCode
                        << "): " << run.error << '\n';
                    failed = true;
                    continue;
                }
                const Figures f = analyse(run);
                const double ratio = run.wallS / f.bound;
                worst = std::max(worst, ratio);
                qsizetype simOut = 0;
                qsizetype simIn = 0;
                for (const Unit& u : run.transcript) {
                    (u.direction == '>' ? simOut : simIn) += u.bytes.size();
                }
                out << command << ' ' << model
                    << (runs > 1 ? QStringLiteral(" run %1").arg(r + 1) : QString()) << '\n';
                out << QString::asprintf("  wall time                  %7.3f s\n", run.wallS);
                out << QString::asprintf("  bytes tool -> handset      %7lld   (transcript %lld)\n",
                                         static_cast<long long>(f.bytesOut), static_cast<long long>(simOut));
                out << QString::asprintf("  bytes handset -> tool      %7lld   (transcript %lld)\n",
                                         static_cast<long long>(f.bytesIn), static_cast<long long>(simIn));
                out << QString::asprintf("  wire time                  %7.3f s\n", f.wire);
                out << QString::asprintf("  acknowledged close frames  %7d   (%.3f s)\n", f.closes,
                                         kClosePauseS * f.closes);
                out << QString::asprintf("  wire-time bound            %7.3f s\n", f.bound);
                out << QString::asprintf("  ratio                      %7.3f   (target 1.10 or less)\n",
                                         ratio);
                // What the tool and the line leave over once the handset's own processing time is
                // taken out; the raw ratio above stays the figure.
                const double handsetS = f.replies * delayMs / 1000.0;
                out << QString::asprintf("  ratio less handset delay   %7.3f   ((wall - %.3f s) / bound)\n",
                                         (run.wallS - handsetS) / f.bound, handsetS);
                out << QString::asprintf("  beyond the bound           %7.3f s:\n", run.wallS - f.bound);
                out << QString::asprintf("    start-up to first unit   %7.3f s   (process, Qt, port open)\n",
                                         run.firstUnitS);
                out << QString::asprintf("    handset answers          %7.3f s   (%d answers; handset delay "
                                         "%d ms each = %.3f s)\n",
                                         f.replyExcess, f.replies, delayMs, f.replies * delayMs / 1000.0);
                out << QString::asprintf("    tool turnaround          %7.3f s\n", f.turnaroundExcess);
                out << QString::asprintf("    same-side sequences      %7.3f s\n", f.otherExcess);
                out << QString::asprintf(
                    "    after the last unit      %7.3f s   (beyond its close pause: port close, exit)\n",
                    f.tailExcess);
                out.flush();
            }
        }
    }
    out << QString::asprintf("\nworst ratio %.3f (target 1.10 or less)\n", worst);
    return failed ? 1 : 0;
}
