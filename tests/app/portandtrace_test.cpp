// Tolvan --port and --trace against the virtual handset on a real pseudo-terminal that discovery
// does not list: the named device is opened, its node going away and coming back drives the
// removed-handset dialog and one reconnect, and the trace file gets a header and every unit.
#include "app/ctolvandlg.h"
#include "app/modes.h"
#include "app/startoptions.h"
#include "app/usbdlg.h"
#include "link/linktrace.h"
#include "modes/modeoperations.h"
#include "sim/ptyhandset.h"
#include "tests/support/fakedialogservice.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>

#include <pty.h>
#include <unistd.h>

#include <utility>
#include <vector>

namespace tolvan::app {
namespace {

// Opens the handset again on the node it had. A new terminal gets the lowest free number, so
// spare terminals hold the free numbers below it meanwhile.
bool reopenOnNode(sim::PtyHandset& handset, const QString& node) {
    std::vector<std::pair<int, int>> spares;
    bool nodeFree = false;
    for (int i = 0; i < 256 && !nodeFree; ++i) {
        int master = -1;
        int slave = -1;
        if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
            break;
        }
        char name[256] = {};
        ::ttyname_r(slave, name, sizeof name);
        spares.emplace_back(master, slave);
        if (QString::fromLocal8Bit(name) == node) {
            spares.pop_back();
            ::close(master);
            ::close(slave);
            nodeFree = true;
        }
    }
    const bool reopened = nodeFree && handset.open() && handset.slavePath() == node;
    for (const auto& [master, slave] : spares) {
        ::close(master);
        ::close(slave);
    }
    return reopened;
}

class NamedPort : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        sim::HandsetConfig config;
        config.replyDelayUs = 1'000;
        handset = std::make_unique<sim::PtyHandset>(config);
        ASSERT_TRUE(handset->open());
        node = handset->slavePath();
        countOpenFrames();
        tracePath = root.filePath(QStringLiteral("link trace.txt"));

        const auto options =
            parseStartOptions({QStringLiteral("--port"), node, QStringLiteral("--trace"), tracePath});
        ASSERT_TRUE(options);
        session.setFixedDevicePath(options->port);
        session.setReconnectDelayMs(0);
        ASSERT_FALSE(trace.open(options->trace));
        trace.appendLine(traceHeaderFor(session));
        trace.follow(session.driver());

        folders = std::make_unique<LogFolders>(root.filePath(QStringLiteral("c")));
        menu = std::make_unique<CTolvanDlg>(session, *folders, true);
        menu->setButtonDelayMs(0);
        menu->setModes(availableModes());
        QObject::connect(&session, &link::LinkSession::handsetRemoved, [this] { ++removed; });
        QObject::connect(&session, &link::LinkSession::handsetReconnected, [this] { ++reconnected; });
        menu->show();
    }
    void countOpenFrames() {
        QObject::connect(&handset->pump(), &sim::HandsetPump::traffic,
                         [this](char direction, const QByteArray& bytes, qint64) {
                             openFrames += direction == '>' && bytes == QByteArray::fromHex("02200323");
                         });
    }
    // Opens the data setting mode from the menu, runs the scenario in it once its read has put
    // the link into keep-alive (the mode window runs modally, so the scenario runs inside), and
    // goes back to the menu.
    void inDataSettingMode(const std::function<void()>& scenario) {
        bool done = false;
        const auto connection =
            QObject::connect(menu.get(), &CTolvanDlg::modeOpened, [&](shell::ModeScreen* opened) {
                screen = opened;
                QTimer::singleShot(0, opened, [&] {
                    EXPECT_EQ(session.state().dialogueState, link::kKeepAlive);
                    scenario();
                    done = true;
                    screen->backToMenu();
                });
            });
        menu->modeButton(0)->click();
        EXPECT_TRUE(QTest::qWaitFor([&] { return done && menu->isVisible(); }, 60000));
        QObject::disconnect(connection);
    }
    USBDlg* removedDialog() const { return screen ? screen->findChild<USBDlg*>() : nullptr; }

    QTemporaryDir root;
    std::unique_ptr<sim::PtyHandset> handset;
    QString node;
    QString tracePath;
    link::TraceFile trace;
    link::LinkSession session{tolvan::modeOperations()};
    std::unique_ptr<LogFolders> folders;
    shell::FakeDialogService dialogs;
    shell::ScopedDialogService installed{dialogs};
    std::unique_ptr<CTolvanDlg> menu;
    QPointer<shell::ModeScreen> screen;
    int removed = 0;
    int reconnected = 0;
    int openFrames = 0;
};

TEST_F(NamedPort, AModeReadsThroughTheNamedDeviceAndFollowsItsNode) {
    bool reopened = false;
    inDataSettingMode([&] {
        EXPECT_EQ(session.state().modelCode, 3u);
        EXPECT_GE(openFrames, 1);

        // The node goes away with the handset's terminal: the removed-handset dialog comes up.
        handset->close();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return removed > 0 && removedDialog() && removedDialog()->isVisible(); }, 5000));
        EXPECT_FALSE(session.state().portOpen);

        reopened = reopenOnNode(*handset, node);
        if (!reopened) {
            return;
        }
        countOpenFrames();
        openFrames = 0;
        // Its return is one plug: one reconnect, the dialog closes, and the mode reads again.
        ASSERT_TRUE(QTest::qWaitFor([&] { return reconnected > 0 && !removedDialog(); }, 5000));
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return session.state().portOpen && session.state().dialogueState == link::kKeepAlive; },
            20000));
        EXPECT_GE(openFrames, 1);
        QTest::qWait(600); // more looks at the node: nothing changed, nothing counts
        EXPECT_EQ(removed, 1);
        EXPECT_EQ(reconnected, 1);
    });
    EXPECT_TRUE(dialogs.messages.isEmpty());
    if (!reopened) {
        GTEST_SKIP() << "another process took " << node.toStdString() << " meanwhile";
    }
}

TEST_F(NamedPort, TheTraceFileHasTheRunsHeaderAndEveryUnit) {
    inDataSettingMode([] {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !session.state().portOpen; }, 5000));

    QFile file(tracePath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 3);
    EXPECT_TRUE(QRegularExpression(
                    QStringLiteral(R"(^# Tolvan \d+\.\d+\.\d+, \d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\S*, port )") +
                    QRegularExpression::escape(node) + QLatin1Char('$'))
                    .match(lines.first())
                    .hasMatch())
        << lines.first().toStdString();
    EXPECT_TRUE(lines.last().isEmpty()); // every line is complete
    const QRegularExpression unit(QStringLiteral(R"(^ *\d+\.\d{3} [<>] [0-9A-F]{2}( [0-9A-F]{2})*$)"));
    QStringList sent;
    for (const QString& line : lines.mid(1, lines.size() - 2)) {
        EXPECT_TRUE(unit.match(line).hasMatch()) << line.toStdString();
        if (line.contains(QLatin1String(" > "))) {
            sent.append(line.section(QLatin1String(" > "), 1));
        }
    }
    // The open frame first, the close frame that ended the mode last, the handset's ACKs between.
    ASSERT_FALSE(sent.isEmpty());
    EXPECT_EQ(sent.first(), QStringLiteral("02 20 03 23"));
    EXPECT_EQ(sent.last(), QStringLiteral("02 21 03 22"));
    EXPECT_TRUE(lines.contains(QRegularExpression(QStringLiteral(R"( *\d+\.\d{3} < 06)"))));
}

TEST(TolvanStart, ATraceFileThatCannotBeOpenedEndsTheStartWithStatus2) {
    QTemporaryDir root;
    const QString trace = root.filePath(QStringLiteral("no-such-folder/trace.txt"));
    QProcess tolvan;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("TOLVAN_LOG_ROOT"), root.path());
    tolvan.setProcessEnvironment(env);
    tolvan.setWorkingDirectory(root.path());
    tolvan.start(QStringLiteral(TOLVAN_PATH), {QStringLiteral("--trace"), trace});
    ASSERT_TRUE(tolvan.waitForFinished(20000)) << "Tolvan started its window";
    EXPECT_EQ(tolvan.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tolvan.exitCode(), 2);
    const QString err = QString::fromLocal8Bit(tolvan.readAllStandardError());
    EXPECT_TRUE(err.contains(trace)) << err.toStdString();
    // Nothing else happened: not even the log folders were made.
    EXPECT_EQ(QDir(root.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

TEST(TolvanStart, PortAndTraceNeedAValue) {
    EXPECT_FALSE(parseStartOptions({QStringLiteral("--port")}));
    EXPECT_FALSE(parseStartOptions({QStringLiteral("--trace")}));
    EXPECT_FALSE(parseStartOptions({QStringLiteral("--port"), QString()}));
    EXPECT_FALSE(parseStartOptions({QStringLiteral("--portx"), QStringLiteral("/dev/ttyUSB0")}));
    const auto both = parseStartOptions({QStringLiteral("--trace"), QStringLiteral("t.txt"),
                                         QStringLiteral("--port"), QStringLiteral("COM7")});
    ASSERT_TRUE(both);
    EXPECT_EQ(both->port, QStringLiteral("COM7"));
    EXPECT_EQ(both->trace, QStringLiteral("t.txt"));
}

} // namespace
} // namespace tolvan::app
