#include "link/linksession.h"
#include "tests/support/pipedevice.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <gtest/gtest.h>

namespace tolvan::link {
namespace {

using test::PipeDevice;

// A session over a fake device list and in-memory ports.
class SessionHarness {
public:
    SessionHarness() {
        session.setReconnectDelayMs(0);
        session.setDeviceLister([this] { return devices; });
        session.setPortOpener([this](const QString& path) {
            SerialOpenResult r;
            openedPaths.append(path);
            if (refuseOpen) {
                r.permissionDenied = true;
                r.errorText = QStringLiteral("Permission denied");
                return r;
            }
            auto* port = new PipeDevice;
            lastPort = port;
            r.port.reset(port);
            return r;
        });
        QObject::connect(&session, &LinkSession::handsetRemoved, [this] { ++removed; });
        QObject::connect(&session, &LinkSession::handsetReconnected, [this] { ++reconnected; });
        QObject::connect(&session, &LinkSession::removedDialogRequested, [this] { ++dialogsShown; });
        QObject::connect(&session, &LinkSession::removedDialogDismissed, [this] { ++dialogsClosed; });
        QObject::connect(
            &session, &LinkSession::portOpenFailed,
            [this](const QString&, bool denied, const QString&) { openFailures += denied ? 10 : 1; });
    }
    void plug() {
        devices = {
            {QStringLiteral("ZX-VA150 USB Serial Ports Driver (pts/9)"), QStringLiteral("/dev/pts/9")}};
    }
    void unplug() { devices.clear(); }
    // Lets the (zero-length) reconnect delay run out.
    void settle() {
        const QDeadlineTimer deadline(2000);
        while (session.reconnectPending() && !deadline.hasExpired()) {
            QCoreApplication::processEvents();
        }
    }

    LinkSession session;
    QList<DeviceInfo> devices;
    QStringList openedPaths;
    PipeDevice* lastPort = nullptr;
    bool refuseOpen = false;
    int removed = 0, reconnected = 0, dialogsShown = 0, dialogsClosed = 0, openFailures = 0;
};

TEST(LinkSession, OpenLinkFindsOpensAndAttaches) {
    SessionHarness h;
    EXPECT_EQ(h.session.openLink(), -1); // nothing attached
    EXPECT_TRUE(h.openedPaths.isEmpty());
    h.plug();
    ASSERT_EQ(h.session.openLink(), 0);
    EXPECT_EQ(h.openedPaths, QStringList{QStringLiteral("/dev/pts/9")});
    EXPECT_TRUE(h.session.state().portOpen);
    h.session.engine().openRequest();
    EXPECT_EQ(h.lastPort->written, QByteArray::fromHex("02200323"));
    // Opening again closes the first port and opens afresh.
    QObject::connect(h.lastPort, &QIODevice::aboutToClose, [&h] { h.openFailures = -1; });
    ASSERT_EQ(h.session.openLink(), 0);
    EXPECT_EQ(h.openFailures, -1);
    EXPECT_EQ(h.openedPaths.size(), 2);
}

TEST(LinkSession, PortThatDoesNotOpenIsReported) {
    SessionHarness h;
    h.plug();
    h.refuseOpen = true;
    EXPECT_EQ(h.session.openLink(), -1);
    EXPECT_EQ(h.openFailures, 10);
    EXPECT_FALSE(h.session.state().portOpen);
}

TEST(LinkSession, FixedDeviceSkipsDiscovery) {
    SessionHarness h;
    h.session.setFixedDevicePath(QStringLiteral("/dev/pts/42"));
    ASSERT_EQ(h.session.openLink(), 0);
    EXPECT_EQ(h.openedPaths, QStringList{QStringLiteral("/dev/pts/42")});
}

TEST(LinkSession, SecondNoticeAfterARemovalReconnects) {
    SessionHarness h;
    h.plug();
    ASSERT_EQ(h.session.openLink(), 0);
    h.unplug();
    h.session.deviceTreeChanged();
    EXPECT_EQ(h.removed, 1);
    EXPECT_EQ(h.dialogsShown, 1);
    EXPECT_FALSE(h.session.state().portOpen);
    EXPECT_EQ(h.session.reconnectCounter(), 0);
    // Another notice while it is still gone: removed again, but no second dialog.
    h.session.deviceTreeChanged();
    EXPECT_EQ(h.removed, 2);
    EXPECT_EQ(h.dialogsShown, 1);

    h.plug();
    h.session.deviceTreeChanged(); // first notice that finds it: only counts
    h.settle();
    EXPECT_EQ(h.reconnected, 0);
    EXPECT_EQ(h.session.reconnectCounter(), 1);
    EXPECT_EQ(h.openedPaths.size(), 1);
    h.session.deviceTreeChanged(); // second: reconnects after the delay
    EXPECT_EQ(h.dialogsClosed, 1);
    EXPECT_EQ(h.session.reconnectCounter(), 3);
    h.settle();
    EXPECT_EQ(h.reconnected, 1);
    EXPECT_EQ(h.openedPaths.size(), 2);
    EXPECT_TRUE(h.session.state().portOpen);
    EXPECT_EQ(h.lastPort->written, QByteArray::fromHex("02200323")); // the open frame goes out
    h.session.deviceTreeChanged();                                   // later notices only count
    h.settle();
    EXPECT_EQ(h.reconnected, 1);
    EXPECT_EQ(h.session.reconnectCounter(), 4);
}

TEST(LinkSession, RemovalDuringTheReconnectDelayCancelsIt) {
    SessionHarness h;
    h.session.setReconnectDelayMs(60000);
    h.unplug();
    h.session.deviceTreeChanged();
    h.plug();
    h.session.deviceTreeChanged();
    h.session.deviceTreeChanged();
    EXPECT_TRUE(h.session.reconnectPending());
    h.unplug();
    h.session.deviceTreeChanged();
    EXPECT_FALSE(h.session.reconnectPending());
    EXPECT_EQ(h.reconnected, 0);
    EXPECT_EQ(h.dialogsShown, 2);
}

TEST(LinkSession, ReconnectThatCannotOpenLeavesThePortClosed) {
    SessionHarness h;
    h.unplug();
    h.session.deviceTreeChanged();
    h.plug();
    h.refuseOpen = true;
    h.session.deviceTreeChanged();
    h.session.deviceTreeChanged();
    h.settle();
    EXPECT_EQ(h.reconnected, 0);
    EXPECT_FALSE(h.session.state().portOpen);
    EXPECT_FALSE(h.session.engine().fatalOutcome());
}

TEST(LinkSession, OperationsStartWithTheOpenFrameOrReplaceTheKeepAlive) {
    SessionHarness h;
    h.plug();
    ASSERT_EQ(h.session.openLink(), 0);
    h.session.startOperation(0xA000, 0);
    EXPECT_EQ(h.lastPort->written, QByteArray::fromHex("02200323"));
    EXPECT_EQ(h.session.state().operationId, 0xA000u);
    EXPECT_EQ(h.session.state().dialogueState, kScriptRunning);
    // In keep-alive the open frame waits for the next frame of the dialogue.
    h.lastPort->written.clear();
    h.session.state().dialogueState = kKeepAlive;
    h.session.startOperation(0xA001, 1);
    EXPECT_TRUE(h.lastPort->written.isEmpty());
    EXPECT_TRUE(h.session.state().pendingFlag);
    EXPECT_EQ(h.session.state().pendingCommand, cmd::kOpen);

    // Pausing for a file dialog closes the dialogue and comes back to keep-alive.
    h.session.state().pendingFlag = false;
    h.session.pauseForDialog(true, 0);
    EXPECT_EQ(h.session.state().dialogueState, kScriptRunning);
    EXPECT_EQ(h.session.state().pendingCommand, cmd::kClose);
    EXPECT_EQ(h.session.state().scriptId, 0);
    h.session.state().pendingFlag = false;
    h.session.state().dialogueState = kKeepAlive;
    h.session.pauseForDialog(false, 0); // port not used: nothing
    EXPECT_FALSE(h.session.state().pendingFlag);
}

} // namespace
} // namespace tolvan::link
