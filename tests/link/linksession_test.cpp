#include "link/devicewatcher.h"
#include "link/linksession.h"
#include "link/virtualdevices.h"
#include "modes/modeoperations.h"
#include "tests/support/pipedevice.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
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
        session.setPresenceCheck([this](const QString&) { return fixedPresent; });
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

    LinkSession session{tolvan::modeOperations()};
    QList<DeviceInfo> devices;
    QStringList openedPaths;
    PipeDevice* lastPort = nullptr;
    bool refuseOpen = false;
    bool fixedPresent = true;
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
    h.session.engine().stateForTests().dialogueState = kKeepAlive;
    h.session.startOperation(0xA001, 1);
    EXPECT_TRUE(h.lastPort->written.isEmpty());
    EXPECT_TRUE(h.session.state().pendingFlag);
    EXPECT_EQ(h.session.state().pendingCommand, cmd::kOpen);

    // Pausing for a file dialog closes the dialogue and comes back to keep-alive.
    h.session.engine().stateForTests().pendingFlag = false;
    h.session.pauseForDialog(true, 0);
    EXPECT_EQ(h.session.state().dialogueState, kScriptRunning);
    EXPECT_EQ(h.session.state().pendingCommand, cmd::kClose);
    EXPECT_EQ(h.session.state().scriptId, 0);
    h.session.engine().stateForTests().pendingFlag = false;
    h.session.engine().stateForTests().dialogueState = kKeepAlive;
    h.session.pauseForDialog(false, 0); // port not used: nothing
    EXPECT_FALSE(h.session.state().pendingFlag);
}

// Device events as udevadm monitor shows them for USB serial adapters, in the order they come.
// An FTDI-style adapter: the USB device and its interface, the usb-serial port, the tty node, then
// the bind events.
const QList<DeviceEvent> kFtdiPlug = {
    {"add", "usb", "", "ZX-VA150_USB_Serial_Ports_Driver"},
    {"add", "usb", "", ""},
    {"add", "usb-serial", "", ""},
    {"add", "tty", "/dev/ttyUSB0", "ZX-VA150_USB_Serial_Ports_Driver"},
    {"bind", "usb-serial", "", ""},
    {"bind", "usb", "", ""},
    {"bind", "usb", "", "ZX-VA150_USB_Serial_Ports_Driver"},
};
const QList<DeviceEvent> kFtdiUnplug = {
    {"remove", "tty", "/dev/ttyUSB0", "ZX-VA150_USB_Serial_Ports_Driver"},
    {"unbind", "usb-serial", "", ""},
    {"remove", "usb-serial", "", ""},
    {"unbind", "usb", "", ""},
    {"remove", "usb", "", ""},
    {"unbind", "usb", "", "ZX-VA150_USB_Serial_Ports_Driver"},
    {"remove", "usb", "", "ZX-VA150_USB_Serial_Ports_Driver"},
};
// A CP210x-style adapter reports a change of the tty after its add, and its remove event may come
// without the product string.
const QList<DeviceEvent> kCp210xPlug = {
    {"add", "usb", "", "ZX-VA1XX_USB_Serial_Ports_Driver"},
    {"add", "usb-serial", "", ""},
    {"bind", "usb-serial", "", ""},
    {"add", "tty", "/dev/ttyUSB1", "ZX-VA1XX_USB_Serial_Ports_Driver"},
    {"change", "tty", "/dev/ttyUSB1", "ZX-VA1XX_USB_Serial_Ports_Driver"},
    {"bind", "usb", "", "ZX-VA1XX_USB_Serial_Ports_Driver"},
};
const QList<DeviceEvent> kCp210xUnplug = {
    {"unbind", "usb", "", ""},
    {"remove", "tty", "/dev/ttyUSB1", ""},
    {"remove", "usb-serial", "", ""},
    {"remove", "usb", "", ""},
};
// Somebody's mobile phone modem on the same laptop.
const QList<DeviceEvent> kModemPlug = {
    {"add", "usb", "", "Generic_Modem"},
    {"add", "tty", "/dev/ttyACM0", "Generic_Modem"},
    {"bind", "usb", "", "Generic_Modem"},
};
const QList<DeviceEvent> kModemUnplug = {
    {"remove", "tty", "/dev/ttyACM0", "Generic_Modem"},
    {"remove", "usb", "", "Generic_Modem"},
};

int notificationsOf(HotplugFilter& filter, const QList<DeviceEvent>& events) {
    int n = 0;
    for (const DeviceEvent& event : events) {
        n += filter.notificationsFor(event);
    }
    return n;
}

TEST(HotplugFilter, APlugCountsAsAWindowsPlugAndAnUnplugOnce) {
    HotplugFilter filter;
    EXPECT_EQ(notificationsOf(filter, kFtdiPlug), 2);
    EXPECT_EQ(notificationsOf(filter, kFtdiUnplug), 1);
    EXPECT_EQ(notificationsOf(filter, kCp210xPlug), 2);
    EXPECT_EQ(notificationsOf(filter, kCp210xUnplug), 1); // known by its node
    EXPECT_EQ(notificationsOf(filter, kModemPlug), 0);
    EXPECT_EQ(notificationsOf(filter, kModemUnplug), 0);
    // A remove of a node never seen, without the product string: not ours.
    EXPECT_EQ(notificationsOf(filter, kCp210xUnplug), 0);
}

// Recorded events handed to the watcher as the system would.
class RecordedEvents : public DeviceEventSource {
public:
    void replay(const QList<DeviceEvent>& events) {
        for (const DeviceEvent& event : events) {
            emit deviceEvent(event);
        }
    }
};

class Hotplug : public ::testing::Test {
protected:
    void SetUp() override {
        auto source = std::make_unique<RecordedEvents>();
        events = source.get();
        watcher = std::make_unique<DeviceWatcher>(std::move(source));
        QObject::connect(watcher.get(), &DeviceWatcher::deviceTreeChanged, &h.session,
                         &LinkSession::deviceTreeChanged);
        h.plug();
        ASSERT_EQ(h.session.openLink(), 0);
    }
    void unplugWith(const QList<DeviceEvent>& events_) {
        h.unplug();
        events->replay(events_);
        h.settle();
    }
    void plugWith(const QList<DeviceEvent>& events_) {
        h.plug();
        events->replay(events_);
        h.settle();
    }

    SessionHarness h;
    RecordedEvents* events = nullptr;
    std::unique_ptr<DeviceWatcher> watcher;
};

TEST_F(Hotplug, EachUnplugIsOneRemovalAndEachPlugOneReconnect) {
    for (const auto& [unplug, plug] :
         {std::pair{kFtdiUnplug, kFtdiPlug}, std::pair{kCp210xUnplug, kCp210xPlug}}) {
        const int removed = h.removed;
        const int reconnected = h.reconnected;
        const int dialogs = h.dialogsShown;
        // The filter must have seen the node come, as it would have on a real plug.
        events->replay(plug);
        h.settle();
        const int afterPlug = h.reconnected;
        unplugWith(unplug);
        EXPECT_EQ(h.removed, removed + 1);
        EXPECT_EQ(h.dialogsShown, dialogs + 1);
        EXPECT_FALSE(h.session.state().portOpen);
        plugWith(plug);
        EXPECT_EQ(h.reconnected, afterPlug + 1);
        EXPECT_EQ(h.dialogsClosed, h.dialogsShown);
        EXPECT_TRUE(h.session.state().portOpen);
        EXPECT_GE(h.reconnected, reconnected + 1);
    }
}

TEST_F(Hotplug, AnotherDeviceComingAndGoingDoesNothingVisible) {
    const QStringList opened = h.openedPaths;
    events->replay(kModemPlug);
    events->replay(kModemUnplug);
    events->replay(kModemPlug);
    h.settle();
    EXPECT_EQ(h.removed, 0);
    EXPECT_EQ(h.reconnected, 0);
    EXPECT_EQ(h.dialogsShown, 0);
    EXPECT_EQ(h.openedPaths, opened);
    EXPECT_TRUE(h.session.state().portOpen);
}

TEST_F(Hotplug, TheVirtualHandsetRaisesTheSameEvents) {
    VirtualDevices& virtualDevices = VirtualDevices::instance();
    const VirtualDevices::Entry entry{QStringLiteral("ZX-VA150 USB Serial Ports Driver"),
                                      QStringLiteral("/dev/pts/9")};
    virtualDevices.plug(entry, 3);
    h.settle();
    int ttyEvents = 0;
    const auto counter = QObject::connect(&virtualDevices, &VirtualDevices::deviceEvent,
                                          [&](const DeviceEvent& e) { ttyEvents += e.subsystem == "tty"; });
    const int removed = h.removed;
    const int reconnected = h.reconnected;
    h.unplug();
    virtualDevices.unplug(entry.devicePath, 1);
    h.settle();
    EXPECT_EQ(h.removed, removed + 1);
    h.plug();
    virtualDevices.plug(entry, 3);
    h.settle();
    EXPECT_EQ(h.reconnected, reconnected + 1);
    EXPECT_EQ(ttyEvents, 2);
    QObject::disconnect(counter);
    virtualDevices.unplug(entry.devicePath, 0);
}

// A device named on the command line, watched by its node: here a file standing in for the node
// and a link to it, as /dev/serial/by-id has them.
class NamedDevice : public ::testing::Test {
protected:
    void SetUp() override {
        node = dir.filePath(QStringLiteral("ttyUSB0"));
        byId = dir.filePath(QStringLiteral("usb-Maker_Adapter_A1-if00-port0"));
        ASSERT_TRUE(QFile::link(node, byId));
        appear();
        h.session.setPresenceCheck(devicePresent);
        h.session.setFixedDevicePath(byId);
        auto source = std::make_unique<RecordedEvents>();
        events = source.get();
        watcher = std::make_unique<DeviceWatcher>(std::move(source), byId);
        QObject::connect(watcher.get(), &DeviceWatcher::deviceTreeChanged, &h.session,
                         &LinkSession::deviceTreeChanged);
        QObject::connect(watcher.get(), &DeviceWatcher::deviceTreeChanged, [this] { ++notifications; });
        ASSERT_EQ(h.session.openLink(), 0);
    }
    void appear() {
        QFile file(node);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    void disappear() { ASSERT_TRUE(QFile::remove(node)); }
    void look() {
        watcher->nodeWatch()->check();
        h.settle();
    }

    QTemporaryDir dir;
    QString node;
    QString byId;
    SessionHarness h;
    RecordedEvents* events = nullptr;
    std::unique_ptr<DeviceWatcher> watcher;
    int notifications = 0;
};

TEST_F(NamedDevice, ItsNodeGoingAwayAndComingBackIsOneRemovalAndOneReconnect) {
    ASSERT_NE(watcher->nodeWatch(), nullptr);
    look(); // there as at the start: nothing
    EXPECT_EQ(notifications, 0);
    disappear();
    look();
    look();
    EXPECT_EQ(notifications, 1);
    EXPECT_EQ(h.removed, 1);
    EXPECT_EQ(h.dialogsShown, 1);
    EXPECT_FALSE(h.session.state().portOpen);
    appear();
    look();
    look();
    EXPECT_EQ(notifications, 3);
    EXPECT_EQ(h.reconnected, 1);
    EXPECT_EQ(h.dialogsClosed, 1);
    EXPECT_TRUE(h.session.state().portOpen);
    EXPECT_EQ(h.openedPaths, (QStringList{byId, byId}));
}

TEST_F(NamedDevice, DeviceEventsOnlyMakeItLookAtTheNode) {
    // A handset's description on another device counts nothing: only the named device does.
    events->replay(kFtdiUnplug);
    events->replay(kFtdiPlug);
    h.settle();
    EXPECT_EQ(notifications, 0);
    // An event comes as the node goes: the watcher looks at once, without waiting for its timer.
    disappear();
    events->replay(kModemUnplug);
    EXPECT_EQ(h.removed, 1);
    appear();
    events->replay(kModemPlug);
    h.settle();
    EXPECT_EQ(h.reconnected, 1);
    EXPECT_EQ(notifications, 3);
}

TEST_F(NamedDevice, ItsWatchLooksByItself) {
    watcher->nodeWatch()->setIntervalMs(1);
    disappear();
    const QDeadlineTimer deadline(5000);
    while (h.removed == 0 && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    EXPECT_EQ(h.removed, 1);
}

} // namespace
} // namespace tolvan::link
