// The virtual handset on a real pseudo-terminal: the link driver runs a script through
// QSerialPort at 9600 8O1, and the handset lists, unplugs and replugs itself like hardware.
#include "link/linkdriver.h"
#include "link/portfinder.h"
#include "link/virtualdevices.h"
#include "modes/modeoperations.h"
#include "sim/ptyhandset.h"
#include "sim/simcommandline.h"
#include "tests/support/simpeer.h"

#include <QFile>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace tolvan::sim {
namespace {

HandsetConfig quickConfig(std::uint8_t model) {
    HandsetConfig config;
    config.modelCode = model;
    config.pacing = true;
    config.replyDelayUs = 2'000;
    return config;
}

TEST(PtyHandset, ServesAWholeScriptToQSerialPortAt9600Baud8O1) {
    QTemporaryDir dir;
    const QString transcript = dir.filePath(QStringLiteral("va150.txt"));
    PtyHandset handset(quickConfig(3));
    QString error;
    ASSERT_TRUE(handset.open(&error)) << error.toStdString();
    ASSERT_TRUE(handset.record(transcript));

    QSerialPort port;
    port.setPortName(handset.slavePath());
    port.setBaudRate(QSerialPort::Baud9600);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::OddParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    ASSERT_TRUE(port.open(QIODevice::ReadWrite)) << port.errorString().toStdString();

    link::LinkDriver driver{tolvan::modeOperations()};
    std::vector<link::LinkMessage> messages;
    std::vector<link::Bytes> sent;
    QObject::connect(&driver, &link::LinkDriver::message,
                     [&](link::LinkMessage m) { messages.push_back(m); });
    QObject::connect(&driver, &link::LinkDriver::traced,
                     [&](char direction, const QByteArray& bytes, qint64) {
                         if (direction == '>') {
                             sent.emplace_back(bytes.begin(), bytes.end());
                         }
                     });
    driver.attach(&port);
    link::LinkEngine& engine = driver.engine();
    engine.resetLinkState();
    engine.setOperation(0xA000);
    engine.setScript(0, link::kScriptRunning);
    engine.openRequest();
    // On the line at once, not when the event loop next turns (a run may have work to do first).
    EXPECT_EQ(port.bytesToWrite(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return engine.state().dialogueState != link::kScriptRunning; }, 8000));
    EXPECT_EQ(engine.state().dialogueState, link::kKeepAlive);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(engine.state().modelCode, 3u);

    std::vector<std::string> codes;
    for (const auto& frame : sent) {
        codes.push_back(test::commandText(frame));
    }
    auto expected = test::expectedConversation(0, 3);
    expected.push_back("20FF");
    EXPECT_EQ(codes, expected);

    driver.detach();
    port.close();
    handset.close();
    QFile file(transcript);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_GE(lines.size(), 4);
    EXPECT_TRUE(lines[0].endsWith("> 02 20 03 23")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith("< 06")) << lines[1].toStdString();
    EXPECT_TRUE(lines[3].endsWith("< 02 20 21 03 02")) << lines[3].toStdString();
}

struct NotificationCounter {
    NotificationCounter() {
        connection = QObject::connect(&link::VirtualDevices::instance(),
                                      &link::VirtualDevices::deviceTreeChanged, [this] { ++count; });
    }
    ~NotificationCounter() { QObject::disconnect(connection); }
    int count = 0;
    QMetaObject::Connection connection;
};

QList<link::DeviceInfo> virtualDevices() {
    QList<link::DeviceInfo> out;
    for (const link::DeviceInfo& d : link::presentDevices()) {
        if (d.devicePath.startsWith(QStringLiteral("/dev/pts/"))) {
            out.append(d);
        }
    }
    return out;
}

TEST(PtyHandset, ListsItselfForPortDiscoveryWithTheNotificationsOfAPlug) {
    PtyHandset va150(quickConfig(3));
    PtyHandset va150c(quickConfig(4));
    ASSERT_TRUE(va150.open());
    ASSERT_TRUE(va150c.open());
    NotificationCounter notes;
    va150.plug();
    EXPECT_EQ(notes.count, 3); // a USB plug raises several
    const QString port = va150.slavePath().mid(5);
    EXPECT_EQ(virtualDevices().size(), 1);
    ASSERT_FALSE(virtualDevices().isEmpty());
    EXPECT_EQ(virtualDevices()[0].friendlyName,
              QStringLiteral("ZX-VA150 USB Serial Ports Driver (") + port + ")");
    EXPECT_EQ(link::findHandsetPortName(virtualDevices()), port);
    EXPECT_EQ(link::devicePathOf(virtualDevices(), port), va150.slavePath());

    va150c.plug(1);
    EXPECT_EQ(notes.count, 4);
    EXPECT_EQ(virtualDevices().size(), 2);
    EXPECT_TRUE(virtualDevices()[1].friendlyName.startsWith(
        QStringLiteral("ZX-VA1XX USB Serial Ports Driver (pts/")));

    va150.unplug();
    EXPECT_EQ(notes.count, 5);
    EXPECT_TRUE(va150.isOffCable());
    ASSERT_EQ(virtualDevices().size(), 1);
    EXPECT_EQ(virtualDevices()[0].devicePath, va150c.slavePath());
    va150c.close(); // closing takes it off the list too
    EXPECT_TRUE(virtualDevices().isEmpty());
}

// Raw bytes on the slave side, read with a deadline while the event loop serves the handset.
class RawTerminal {
public:
    explicit RawTerminal(const QString& path) {
        m_fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        termios tio{};
        if (m_fd >= 0 && ::tcgetattr(m_fd, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::tcsetattr(m_fd, TCSANOW, &tio);
        }
    }
    ~RawTerminal() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    bool isOpen() const { return m_fd >= 0; }
    void write(const link::Bytes& bytes) {
        ASSERT_EQ(::write(m_fd, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }
    // Whatever arrives until count bytes are in or the time is up.
    link::Bytes read(std::size_t count, int timeoutMs) {
        link::Bytes in;
        (void)QTest::qWaitFor(
            [&] {
                std::uint8_t buf[64];
                const ssize_t n = ::read(m_fd, buf, sizeof buf);
                if (n > 0) {
                    in.insert(in.end(), buf, buf + n);
                }
                return in.size() >= count;
            },
            timeoutMs);
        return in;
    }

private:
    int m_fd = -1;
};

TEST(PtyHandset, UnplugFaultTakesItOffTheCableAndItComesBack) {
    HandsetConfig config = quickConfig(2);
    config.faults.push_back({FaultKind::Unplug, std::nullopt, 1, 1, 0}); // at the second frame
    PtyHandset handset(config);
    ASSERT_TRUE(handset.open());
    handset.setReplugAfterMs(300);
    handset.plug();
    NotificationCounter notes;
    RawTerminal tool(handset.slavePath());
    ASSERT_TRUE(tool.isOpen());

    tool.write(test::unhex("02 20 03 23"));
    EXPECT_EQ(tool.read(1, 2000), link::Bytes{link::kAck});
    tool.write(test::unhex("02 70 03 73"));
    EXPECT_TRUE(tool.read(1, 200).empty());
    EXPECT_TRUE(handset.isOffCable());
    EXPECT_FALSE(handset.isListed());
    EXPECT_EQ(notes.count, 1);

    EXPECT_TRUE(QTest::qWaitFor([&] { return handset.isListed(); }, 2000));
    EXPECT_EQ(notes.count, 4);
    tool.write(test::unhex("02 20 03 23"));
    EXPECT_EQ(tool.read(1, 2000), link::Bytes{link::kAck});
}

} // namespace
} // namespace tolvan::sim

namespace tolvan::sim {
namespace {

TEST(PtyHandset, ASequenceSwapsInTheNextHandsetWhenTheToolLeaves) {
    QString error;
    const auto cl = parseSimCommandLine({QStringLiteral("tolvan-sim"), QStringLiteral("--sequence"),
                                         QStringLiteral("100000001,200000002:ZX-VA100"),
                                         QStringLiteral("--swap-ms"), QStringLiteral("50")},
                                        &error);
    ASSERT_TRUE(cl) << error.toStdString();
    ASSERT_EQ(cl->sequence.size(), 2u);
    EXPECT_FALSE(parseSimCommandLine(
        {QStringLiteral("tolvan-sim"), QStringLiteral("--sequence"), QStringLiteral("12345678")}, &error));

    PtyHandset handset(quickConfig(3));
    ASSERT_TRUE(handset.open());
    handset.setSequence(cl->sequence, cl->swapMs);
    handset.plug();
    const link::Bytes firstPsId{47, 87, 66, 1}; // 100000001 in 7-bit groups
    EXPECT_EQ(*handset.handset().store().read(0x1201), firstPsId);
    RawTerminal tool(handset.slavePath());
    ASSERT_TRUE(tool.isOpen());

    // A close frame the tool follows with an open frame (a script ending in keep-alive) does not swap.
    tool.write(test::unhex("02 21 03 22"));
    EXPECT_EQ(tool.read(1, 2000), link::Bytes{link::kAck});
    tool.write(test::unhex("02 20 03 23"));
    EXPECT_EQ(tool.read(1, 2000), link::Bytes{link::kAck});
    EXPECT_FALSE(QTest::qWaitFor([&] { return handset.isOffCable(); }, 1800));
    // Silence after it does.
    tool.write(test::unhex("02 21 03 22"));
    EXPECT_EQ(tool.read(1, 2000), link::Bytes{link::kAck});
    EXPECT_TRUE(QTest::qWaitFor([&] { return handset.isOffCable(); }, 3000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return handset.isListed(); }, 2000));
    EXPECT_EQ(handset.handset().modelCode(), 2);
    EXPECT_EQ(*handset.handset().store().read(0x1201), (link::Bytes{95, 47, 4, 2})); // 200000002

    // After the last one the cable stays empty.
    tool.write(test::unhex("02 21 03 22"));
    EXPECT_EQ(tool.read(1, 2000), link::Bytes{link::kAck});
    EXPECT_TRUE(QTest::qWaitFor([&] { return handset.isOffCable(); }, 3000));
    EXPECT_FALSE(QTest::qWaitFor([&] { return handset.isListed(); }, 300));
}

// A tool killed while it held the line leaves the line's setting behind (odd parity, of which
// the pty keeps only the odd bit); the next tool must still open the port.
TEST(PtyHandset, TheNextToolOpensThePortAfterOneWasKilledHoldingIt) {
    PtyHandset handset(quickConfig(3));
    QString error;
    ASSERT_TRUE(handset.open(&error)) << error.toStdString();
    const QByteArray path = handset.slavePath().toLocal8Bit();
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    termios tio{};
    ASSERT_EQ(::tcgetattr(fd, &tio), 0);
    tio.c_cflag |= PARENB | PARODD | CLOCAL;
    tio.c_iflag |= IGNPAR;
    ASSERT_EQ(::tcsetattr(fd, TCSANOW, &tio), 0);
    ::close(fd); // as a killed process's descriptors are closed: nothing restores the setting

    QSerialPort port;
    port.setPortName(handset.slavePath());
    port.setBaudRate(QSerialPort::Baud9600);
    port.setParity(QSerialPort::OddParity);
    EXPECT_TRUE(QTest::qWaitFor([&] { return port.open(QIODevice::ReadWrite); }, 2000))
        << port.errorString().toStdString();
    port.close();
}

} // namespace
} // namespace tolvan::sim
