#include "sim/simcommandline.h"

#include "sim/handsetmodels.h"

namespace tolvan::sim {
namespace {

bool toCount(const QString& text, int& out) {
    bool ok = false;
    out = text.toInt(&ok);
    return ok && out >= 0;
}

} // namespace

QString simUsage() {
    return QStringLiteral(
        "Usage: tolvan-sim [--model NAME] [options]\n"
        "\n"
        "A virtual handset on a pseudo-terminal. Prints the device to open (e.g. /dev/pts/3) as\n"
        "its first line and serves it until SIGTERM or SIGINT.\n"
        "\n"
        "  --model NAME           ZX-VA100, ZX-VA150 (default) or ZX-VA150(C)\n"
        "  --record FILE          write a transcript: one line a unit, time in ms, '>' tool to\n"
        "                         handset or '<' handset to tool, the bytes in hex\n"
        "  --no-pacing            answer at once instead of at 9600 baud 8O1 (11 bits a byte)\n"
        "  --delay MS             processing time before every ACK, NAK and answer (default 10)\n"
        "  --fault RULE           inject a fault; may be given several times (below)\n"
        "  --unplug-after N       pull the handset off the cable when frame N+1 arrives\n"
        "  --replug-after MS      put it back on the cable this long after an unplug\n"
        "  --registration RULE    how a registration ends (below; default success)\n"
        "  --power-on-after MS    switch on again this long after power off (default 5000,\n"
        "                         0 = stay off)\n"
        "  --seed N               seed of the measurement noise and of percent= (default 1)\n"
        "  --sequence LIST        several handsets one after another on the one pty: LIST is\n"
        "                         PSID[:MODEL],... (nine digits; MODEL as --model, default\n"
        "                         --model's). The first is on the cable at start; each time the\n"
        "                         tool leaves (a close frame 0x21FF, then 1.5 s of silence) the\n"
        "                         handset is taken off the cable and the next one comes on\n"
        "                         --swap-ms later\n"
        "                         (fresh factory data with its PS-ID, the same faults and\n"
        "                         registration rule, the seed plus its place in the list);\n"
        "                         after the last the cable stays empty\n"
        "  --swap-ms MS           time between two handsets of --sequence (default 1500)\n"
        "  --help                 this text\n"
        "\n"
        "Fault RULE: KIND[@CODE][,skip=N][,count=N][,ms=N][,value=HH][,seed=N][,percent=N]\n"
        "  CODE is the command as four hex digits (20FF open, 7000 poll, 7100 model query,\n"
        "  1001 a read, 0104 a write, 5001 a test ...); without it every command matches.\n"
        "  skip=N lets N occasions pass first; count=N fires N times (default 1, 0 = always).\n"
        "  percent=N fires each of those occasions with a chance of N % (a flaky cable:\n"
        "  silence,count=0,percent=3).\n"
        "  Faults on the frame received (CODE is the frame's own command, a poll is 7000):\n"
        "    nak          NAK instead of the reaction\n"
        "    silence      no reaction at all\n"
        "    unplug       off the cable before reacting\n"
        "    chaos        random answers (ACK, NAK, frames good and bad, junk, cut frames,\n"
        "                 nothing) from seed=N (default 0) to count=N frames (default 30),\n"
        "                 then silent for good; count=0 never falls silent\n"
        "    ignore-write ACK and echo a write (0104, 0C01 ...) but keep the block as it was\n"
        "  Faults on the answer to a poll (CODE is the command the answer belongs to):\n"
        "    no-answer    the poll gets nothing; the answer stays due\n"
        "    bad-check    wrong check byte\n"
        "    split        two bursts, ms=pause between them (default 150)\n"
        "    stray        one stray byte value=HH (default 00) just before the answer\n"
        "    battery      status 0x20, battery empty\n"
        "    model        model answer with code value=HH (default 09)\n"
        "    delay        ms=N more processing before the answer\n"
        "\n"
        "Registration RULE: KIND[,cause=HH][,detail=HH][,status=HH][,ms=N]\n"
        "  success | failure (status 10 or 30, cause, detail) | abnormal | battery;\n"
        "  ms is how long the handset reports \"running\" first (default 1200).\n"
        "\n"
        "Examples:\n"
        "  tolvan-sim --model ZX-VA100 --record va100.txt\n"
        "  tolvan-sim --fault nak@1001,count=5 --fault split@1401,ms=40\n"
        "  tolvan-sim --fault chaos,seed=7\n"
        "  tolvan-sim --registration failure,cause=70 --unplug-after 200 --replug-after 3000\n"
        "  tolvan-sim --sequence 100000001,100000002:ZX-VA100,100000003 --swap-ms 800\n"
        "  (several cables at once: one tolvan-sim per port)\n");
}

std::optional<SimCommandLine> parseSimCommandLine(const QStringList& arguments, QString* error) {
    SimCommandLine cl;
    cl.config = realisticConfig(3);
    auto fail = [&](const QString& message) -> std::optional<SimCommandLine> {
        if (error) {
            *error = message;
        }
        return std::nullopt;
    };
    QString sequenceText; // read once --model is known, whatever the order
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        auto value = [&](QString& out) {
            if (i + 1 >= arguments.size()) {
                return false;
            }
            out = arguments[++i];
            return true;
        };
        QString v;
        int n = 0;
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            cl.helpRequested = true;
        } else if (arg == QLatin1String("--no-pacing")) {
            cl.config.pacing = false;
        } else if (arg == QLatin1String("--model")) {
            if (!value(v)) {
                return fail(QStringLiteral("--model needs a name"));
            }
            const auto model = modelByName(v.toStdString());
            if (!model) {
                return fail(
                    QStringLiteral("unknown model \"%1\" (ZX-VA100, ZX-VA150 or ZX-VA150(C))").arg(v));
            }
            cl.config.modelCode = model->code;
        } else if (arg == QLatin1String("--record")) {
            if (!value(cl.recordPath)) {
                return fail(QStringLiteral("--record needs a file"));
            }
        } else if (arg == QLatin1String("--delay")) {
            if (!value(v) || !toCount(v, n)) {
                return fail(QStringLiteral("--delay needs milliseconds"));
            }
            cl.config.replyDelayUs = static_cast<std::int64_t>(n) * 1000;
        } else if (arg == QLatin1String("--fault")) {
            std::string why;
            const auto rule = value(v) ? parseFaultRule(v.toStdString(), &why) : std::nullopt;
            if (!rule) {
                return fail(QStringLiteral("--fault: ") +
                            QString::fromStdString(why.empty() ? "needs a RULE" : why));
            }
            cl.config.faults.push_back(*rule);
        } else if (arg == QLatin1String("--unplug-after")) {
            if (!value(v) || !toCount(v, n)) {
                return fail(QStringLiteral("--unplug-after needs a frame count"));
            }
            cl.config.faults.push_back({FaultKind::Unplug, std::nullopt, n, 1, 0});
        } else if (arg == QLatin1String("--replug-after")) {
            if (!value(v) || !toCount(v, cl.replugAfterMs)) {
                return fail(QStringLiteral("--replug-after needs milliseconds"));
            }
        } else if (arg == QLatin1String("--registration")) {
            std::string why;
            const auto scenario = value(v) ? parseRegistrationScenario(v.toStdString(), &why) : std::nullopt;
            if (!scenario) {
                return fail(QStringLiteral("--registration: ") +
                            QString::fromStdString(why.empty() ? "needs a RULE" : why));
            }
            cl.config.registration = *scenario;
        } else if (arg == QLatin1String("--power-on-after")) {
            if (!value(v) || !toCount(v, n)) {
                return fail(QStringLiteral("--power-on-after needs milliseconds"));
            }
            cl.config.powerOffMs = n;
        } else if (arg == QLatin1String("--seed")) {
            if (!value(v) || !toCount(v, n)) {
                return fail(QStringLiteral("--seed needs a number"));
            }
            cl.config.seed = static_cast<std::uint32_t>(n);
        } else if (arg == QLatin1String("--sequence")) {
            if (!value(v)) {
                return fail(QStringLiteral("--sequence needs a list of PS-IDs"));
            }
            sequenceText = v;
        } else if (arg == QLatin1String("--swap-ms")) {
            if (!value(v) || !toCount(v, cl.swapMs)) {
                return fail(QStringLiteral("--swap-ms needs milliseconds"));
            }
        } else {
            return fail(QStringLiteral("unknown argument \"%1\"").arg(arg));
        }
    }
    for (const QString& entry : sequenceText.split(u',', Qt::SkipEmptyParts)) {
        const QString psId = entry.section(u':', 0, 0);
        const QString modelText = entry.section(u':', 1);
        bool ok = false;
        const std::uint32_t value = psId.toUInt(&ok);
        if (!ok || psId.size() != 9 || value > 0x0FFFFFFF) {
            return fail(QStringLiteral("--sequence: \"%1\" is not a nine-digit PS-ID").arg(psId));
        }
        SequencedHandset handset{value, cl.config.modelCode};
        if (!modelText.isEmpty()) {
            const auto model = modelByName(modelText.toStdString());
            if (!model) {
                return fail(QStringLiteral("--sequence: unknown model \"%1\"").arg(modelText));
            }
            handset.modelCode = model->code;
        }
        cl.sequence.push_back(handset);
    }
    return cl;
}

} // namespace tolvan::sim
