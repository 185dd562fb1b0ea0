// tolvan-sim as a program: the device path on its first line, an independent client on the
// pseudo-terminal, a transcript, a clean end on SIGTERM and its usage errors.
#include "tests/support/virtuallink.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace tolvan::sim {
namespace {

const QString kProgram = QStringLiteral(TOLVAN_SIM_EXECUTABLE);

// Sends the frame and collects the answer until count bytes are in or two seconds passed.
std::string exchange(int fd, const char* frame, std::size_t count) {
    const link::Bytes out = test::unhex(frame);
    EXPECT_EQ(::write(fd, out.data(), out.size()), static_cast<ssize_t>(out.size()));
    link::Bytes in;
    (void)QTest::qWaitFor(
        [&] {
            std::uint8_t buf[64];
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n > 0) {
                in.insert(in.end(), buf, buf + n);
            }
            return in.size() >= count;
        },
        2000);
    return test::hex(in);
}

TEST(TolvanSim, ServesAnIndependentClientAndRecordsTheTraffic) {
    QTemporaryDir dir;
    const QString record = dir.filePath(QStringLiteral("va100.txt"));
    QProcess sim;
    sim.start(kProgram, {QStringLiteral("--model"), QStringLiteral("ZX-VA100"), QStringLiteral("--record"),
                         record, QStringLiteral("--delay"), QStringLiteral("1")});
    ASSERT_TRUE(sim.waitForStarted(3000));
    ASSERT_TRUE(sim.waitForReadyRead(3000));
    const QString path = QString::fromLocal8Bit(sim.readLine()).trimmed();
    ASSERT_TRUE(path.startsWith(QStringLiteral("/dev/pts/"))) << path.toStdString();

    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    termios tio{};
    ::tcgetattr(fd, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(fd, TCSANOW, &tio);
    EXPECT_EQ(exchange(fd, "02 20 03 23", 1), "06");
    EXPECT_EQ(exchange(fd, "02 70 03 73", 5), "02 20 21 03 02");
    EXPECT_EQ(exchange(fd, "02 71 03 72", 1), "06");
    EXPECT_EQ(exchange(fd, "02 70 03 73", 5), "02 71 22 03 50");
    EXPECT_EQ(exchange(fd, "02 30 30 21 03 22", 1), "06");
    EXPECT_EQ(exchange(fd, "02 70 03 73", 11), "02 30 20 30 21 22 2E 51 67 03 38");
    ::close(fd);

    sim.terminate(); // SIGTERM
    ASSERT_TRUE(sim.waitForFinished(3000));
    EXPECT_EQ(sim.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sim.exitCode(), 0);

    QFile file(record);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
    ASSERT_EQ(lines.size(), 12);
    EXPECT_TRUE(lines[0].trimmed().endsWith("> 02 20 03 23")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].trimmed().endsWith("< 06")) << lines[1].toStdString();
    EXPECT_TRUE(lines[11].trimmed().endsWith("< 02 30 20 30 21 22 2E 51 67 03 38"))
        << lines[11].toStdString();
    // Time stamps in milliseconds, rising.
    double last = -1;
    for (const QByteArray& line : lines) {
        bool ok = false;
        const double ms = line.trimmed().split(' ').first().toDouble(&ok);
        ASSERT_TRUE(ok) << line.toStdString();
        EXPECT_GE(ms, last);
        last = ms;
    }
}

TEST(TolvanSim, RefusesAnUnknownModelAndBadFaults) {
    QProcess sim;
    sim.start(kProgram, {QStringLiteral("--model"), QStringLiteral("ZX-VA200")});
    ASSERT_TRUE(sim.waitForFinished(3000));
    EXPECT_EQ(sim.exitCode(), 2);
    EXPECT_TRUE(sim.readAllStandardError().contains("unknown model"));
    EXPECT_TRUE(sim.readAllStandardOutput().isEmpty());

    sim.start(kProgram, {QStringLiteral("--fault"), QStringLiteral("nak@10")});
    ASSERT_TRUE(sim.waitForFinished(3000));
    EXPECT_EQ(sim.exitCode(), 2);

    sim.start(kProgram, {QStringLiteral("--help")});
    ASSERT_TRUE(sim.waitForFinished(3000));
    EXPECT_EQ(sim.exitCode(), 0);
    const QByteArray help = sim.readAllStandardOutput();
    for (const char* option :
         {"--model", "--record", "--fault", "--unplug-after", "--registration", "--no-pacing"}) {
        EXPECT_TRUE(help.contains(option)) << option;
    }
}

} // namespace
} // namespace tolvan::sim
