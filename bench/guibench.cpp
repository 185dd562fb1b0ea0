// tolvan-bench-gui: how long Tolvan's own windows take to open each mode, against the time the
// mode's read script needs on a 9600 baud line. Run by hand (see CMakeLists.txt); it needs a pty.
//
// For each model it starts tolvan-sim (paced at 9600 baud 8O1 unless told otherwise) and drives
// the real main menu offscreen: each of the five mode buttons is clicked, and the time runs until
// the mode window shows with the data read. The bound is the script's wire time: every byte both
// ways of the units between the click and the window at 11 bits / 9600 baud, plus 0.9 s for each
// acknowledged close frame among them. The specified 300 ms wait after a mode button, before the
// read starts, is left out of the time (the menu's button delay is set to 0).

#include "app/ctolvandlg.h"
#include "app/modes.h"
#include "common/logfolders.h"
#include "link/core/catalogue.h"
#include "link/core/engine.h"
#include "link/linksession.h"
#include "modes/modeoperations.h"
#include "shell/modescreen.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

namespace {

namespace link = tolvan::link;

constexpr double kBitsPerByte = 11.0;
constexpr double kBaud = 9600.0;
constexpr double kClosePauseS = link::kClosePauseMs / 1000.0;

struct Unit {
    double atS = 0;
    char direction = '>';
    QByteArray bytes;
};

// Notes when a mode window is first shown, and sends it back to the menu.
class ShownProbe : public QObject {
public:
    ShownProbe(const QElapsedTimer& clock, double& shownS) : m_clock(clock), m_shownS(shownS) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && m_shownS < 0) {
            m_shownS = static_cast<double>(m_clock.nsecsElapsed()) / 1e9;
            auto* screen = static_cast<tolvan::shell::ModeScreen*>(watched);
            QTimer::singleShot(0, screen, [screen] { screen->backToMenu(); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    const QElapsedTimer& m_clock;
    double& m_shownS;
};

struct Opening {
    bool ok = false;
    double seconds = 0;
    double wire = 0;
    int closes = 0;
    int replies = 0;            // a unit of the handset right after one of the tool's
    double beforeFirstUnit = 0; // the click to the first byte: port open, link reset
    double afterLastUnit = 0;   // the last unit to the window: close pause, dialogs, the window
};

Opening analyse(const QList<Unit>& units, double clickS, double shownS) {
    static const link::Bytes closeFrame =
        link::transmitBytesOf(link::cmd::kClose, link::RequestBuffers{}).value();
    const QByteArray close(reinterpret_cast<const char*>(closeFrame.data()),
                           static_cast<qsizetype>(closeFrame.size()));
    Opening o;
    o.ok = shownS > clickS;
    o.seconds = shownS - clickS;
    qsizetype bytes = 0;
    const Unit* previous = nullptr;
    for (const Unit& u : units) {
        if (u.atS < clickS || u.atS > shownS) {
            continue;
        }
        if (!previous) {
            o.beforeFirstUnit = u.atS - clickS;
        }
        o.afterLastUnit = shownS - u.atS;
        bytes += u.bytes.size();
        if (previous && previous->direction == '>' && u.direction == '<') {
            ++o.replies;
            if (previous->bytes == close && u.bytes == QByteArray(1, char(link::kAck))) {
                ++o.closes;
            }
        }
        previous = &u;
    }
    o.wire = static_cast<double>(bytes) * kBitsPerByte / kBaud;
    return o;
}

bool waitFor(const std::function<bool()>& done, int ms) {
    return QTest::qWaitFor(done, ms);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QStringList models{QStringLiteral("ZX-VA100"), QStringLiteral("ZX-VA150"), QStringLiteral("ZX-VA150(C)")};
    int runs = 1;
    QStringList simArgs;
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--model") && i + 1 < args.size()) {
            models = {args[++i]};
        } else if (args[i] == QLatin1String("--runs") && i + 1 < args.size()) {
            runs = std::max(1, args[++i].toInt());
        } else if (args[i] == QLatin1String("--")) {
            simArgs = args.mid(i + 1);
            break;
        } else {
            std::fprintf(stderr, "usage: %s [--model NAME] [--runs N] [-- TOLVAN-SIM-ARGS...]\n",
                         qPrintable(QCoreApplication::applicationName()));
            return 2;
        }
    }
    const qsizetype delayAt = simArgs.indexOf(QStringLiteral("--delay"));
    const int delayMs = delayAt >= 0 && delayAt + 1 < simArgs.size() ? simArgs.at(delayAt + 1).toInt() : 10;
    out << "Tolvan's mode windows (offscreen) against tolvan-sim "
        << (simArgs.contains(QStringLiteral("--no-pacing")) ? "WITHOUT pacing" : "paced at 9600 baud 8O1")
        << (simArgs.isEmpty() ? QString() : QStringLiteral(" (") + simArgs.join(' ') + QLatin1Char(')'))
        << "\n\n";
    out.flush();

    double worst = 0;
    bool failed = false;
    for (const QString& model : models) {
        QProcess sim;
        sim.start(QStringLiteral(TOLVAN_SIM_PATH), QStringList{QStringLiteral("--model"), model} + simArgs);
        if (!sim.waitForStarted(5000)) {
            out << model << ": tolvan-sim did not start\n";
            return 1;
        }
        while (!sim.canReadLine() && sim.waitForReadyRead(5000)) {
        }
        const QString device = QString::fromUtf8(sim.readLine()).trimmed();
        if (device.isEmpty()) {
            out << model << ": tolvan-sim printed no device\n";
            return 1;
        }

        QTemporaryDir root;
        qputenv("TOLVAN_BACKUP_DIR", root.filePath(QStringLiteral("backups")).toLocal8Bit());
        tolvan::LogFolders folders(root.path());
        link::LinkSession session(tolvan::modeOperations());
        session.setFixedDevicePath(device);
        QElapsedTimer clock;
        clock.start();
        QList<Unit> units;
        QObject::connect(
            &session.driver(), &link::LinkDriver::traced,
            [&](char direction, const QByteArray& bytes, qint64) {
                units.append({static_cast<double>(clock.nsecsElapsed()) / 1e9, direction, bytes});
            });
        tolvan::app::CTolvanDlg menu(session, folders, true);
        menu.setModes(tolvan::app::availableModes());
        menu.setButtonDelayMs(0);
        double shownS = -1;
        ShownProbe probe(clock, shownS);
        QObject::connect(&menu, &tolvan::app::CTolvanDlg::modeOpened,
                         [&](tolvan::shell::ModeScreen* screen) { screen->installEventFilter(&probe); });
        menu.show();

        out << model << '\n';
        for (int mode = 0; mode < 5; ++mode) {
            for (int r = 0; r < runs; ++r) {
                // The way back closed the last mode's dialogue and then the port.
                waitFor([&] { return menu.isVisible() && !session.state().portOpen; }, 10000);
                units.clear();
                shownS = -1;
                const double clickS = static_cast<double>(clock.nsecsElapsed()) / 1e9;
                QPushButton* button = menu.modeButton(mode);
                const QString name = button->text();
                button->click();
                if (!waitFor([&] { return shownS >= 0 && menu.isVisible(); }, 60000)) {
                    out << "  " << name << ": the window did not open\n";
                    failed = true;
                    continue;
                }
                const Opening o = analyse(units, clickS, shownS);
                const double bound = o.wire + kClosePauseS * o.closes;
                const double ratio = o.seconds / bound;
                // The handset's own processing time before each answer is no part of the tool's.
                const double handsetS = o.replies * delayMs / 1000.0;
                const double toolRatio = (o.seconds - handsetS) / bound;
                worst = std::max(worst, toolRatio);
                out << QString::asprintf(
                    "  %s\n    opening %6.3f s, wire %6.3f s + %d close pause, ratio %5.3f,"
                    " less handset delay (%d x %d ms) %5.3f\n"
                    "    before the first unit %5.3f s, after the last %5.3f s\n",
                    qPrintable(name), o.seconds, o.wire, o.closes, ratio, o.replies, delayMs, toolRatio,
                    o.beforeFirstUnit, o.afterLastUnit);
                out.flush();
            }
        }
        waitFor([&] { return !session.state().portOpen; }, 10000);
        sim.terminate();
        if (!sim.waitForFinished(3000)) {
            sim.kill();
            sim.waitForFinished(3000);
        }
    }
    out << QString::asprintf("\nworst ratio less handset delay %.3f (target 1.10 or less)\n", worst);
    return failed ? 1 : 0;
}
