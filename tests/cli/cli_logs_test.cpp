// tolvan-cli's log display commands against tolvan-sim: logs read (log file 3), logs clear, and
// the printed report of a log file 3.
#include "tests/support/cliprocess.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tolvan::test {
namespace {

TEST(CliLogs, ReadWritesTheBuffersAsLogFile3AndItPrints) {
    SimProcess sim({QStringLiteral("--no-pacing"), QStringLiteral("--model"), QStringLiteral("ZX-VA100")});
    ASSERT_TRUE(sim.started());
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("buffers.jv3"));
    const CliResult read = runCli(
        {QStringLiteral("--port"), sim.device(), QStringLiteral("logs"), QStringLiteral("read"), file});
    ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    EXPECT_TRUE(bytes.startsWith("\"ZX-VA100\x83\x8d\x83\x4f\x83\x74\x83\x40\x83\x43\x83\x8b"
                                 "3\"\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 178);

    const QString pdf = dir.filePath(QStringLiteral("buffers.pdf"));
    EXPECT_EQ(runCli({QStringLiteral("print"), file, QStringLiteral("--pdf"), pdf}).exitCode, 0);
    EXPECT_GT(QFile(pdf).size(), 1000);
}

TEST(CliLogs, ClearSendsTheBuffersClearCommandFirstAndAllClearsEverything) {
    SimProcess sim({QStringLiteral("--no-pacing")});
    ASSERT_TRUE(sim.started());
    // Buffer 4 is the MMI status: its clear command 0x0803, answered by ACK alone.
    const CliResult one = runCli({QStringLiteral("--trace"), QStringLiteral("--port"), sim.device(),
                                  QStringLiteral("logs"), QStringLiteral("clear"), QStringLiteral("4")});
    ASSERT_EQ(one.exitCode, 0) << one.err.toStdString();
    const qsizetype clear = one.err.indexOf(QStringLiteral("> 02 30 28 03 1B"));
    ASSERT_GE(clear, 0) << one.err.toStdString();
    EXPECT_TRUE(one.err.mid(clear).section(QLatin1Char('\n'), 1, 1).endsWith(QStringLiteral("< 06")));
    EXPECT_TRUE(one.out.isEmpty());

    const CliResult all = runCli({QStringLiteral("--trace"), QStringLiteral("--port"), sim.device(),
                                  QStringLiteral("logs"), QStringLiteral("clear"), QStringLiteral("all")});
    ASSERT_EQ(all.exitCode, 0) << all.err.toStdString();
    for (const char* frame : {"> 02 30 25 03", "> 02 30 26 03", "> 02 30 27 03", "> 02 30 28 03",
                              "> 02 30 29 03", "> 02 30 2A 03"}) {
        EXPECT_TRUE(all.err.contains(QString::fromLatin1(frame))) << frame;
    }
    for (const char* wrong : {"0", "7", "x"}) {
        EXPECT_EQ(runCli({QStringLiteral("--port"), sim.device(), QStringLiteral("logs"),
                          QStringLiteral("clear"), QString::fromLatin1(wrong)})
                      .exitCode,
                  2);
    }
}

} // namespace
} // namespace tolvan::test
