// tolvan-cli's test mode commands against tolvan-sim: calibration read and write (log file 2),
// test and measure with their result lines.
#include "tests/support/cliprocess.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tolvan::test {
namespace {

QStringList cp932Lines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringDecoder decode("CP932");
    const QString text = decode(file.readAll());
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

TEST(CliCalibration, ReadWritesLogFile2AndWriteSendsItsCoefficientsBack) {
    SimProcess sim({QStringLiteral("--no-pacing"), QStringLiteral("--model"), QStringLiteral("ZX-VA150(C)")});
    ASSERT_TRUE(sim.started());
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("cal"));
    const CliResult read =
        runCli({QStringLiteral("--port"), sim.device(), QStringLiteral("--memo"), QStringLiteral("校正"),
                QStringLiteral("calibration"), QStringLiteral("read"), file});
    ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();
    const QStringList lines = cp932Lines(file);
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], QStringLiteral("\"ZX-VA150(C)ログファイル2\""));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("\"送信DAC値補正係数\",")));
    EXPECT_EQ(lines[5], QStringLiteral("\"校正\""));

    const CliResult write = runCli({QStringLiteral("--trace"), QStringLiteral("--port"), sim.device(),
                                    QStringLiteral("calibration"), QStringLiteral("write"), file});
    ASSERT_EQ(write.exitCode, 0) << write.err.toStdString();
    // The RSSI block (0x0003) and the amplifier-bias block (0x0005) go out, in that order.
    const qsizetype rssi = write.err.indexOf(QStringLiteral("> 02 30 20 23 "));
    const qsizetype amp = write.err.indexOf(QStringLiteral("> 02 30 20 25 "));
    EXPECT_GE(rssi, 0);
    EXPECT_GT(amp, rssi);

    // Its printed report renders to PDF.
    const QString pdf = dir.filePath(QStringLiteral("cal.pdf"));
    const CliResult print = runCli({QStringLiteral("print"), file, QStringLiteral("--pdf"), pdf});
    EXPECT_EQ(print.exitCode, 0) << print.err.toStdString();
    EXPECT_GT(QFile(pdf).size(), 1000);

    const CliResult wrong = runCli({QStringLiteral("--port"), sim.device(), QStringLiteral("calibration"),
                                    QStringLiteral("write"), dir.filePath(QStringLiteral("absent.jv2"))});
    EXPECT_EQ(wrong.exitCode, 3);
}

TEST(CliCalibration, TestAndMeasurePrintTheirResultsThenStop) {
    SimProcess sim({QStringLiteral("--no-pacing")});
    ASSERT_TRUE(sim.started());
    const CliResult test =
        runCli({QStringLiteral("--port"), sim.device(), QStringLiteral("test"), QStringLiteral("receive"),
                QStringLiteral("--slot"), QStringLiteral("1=on,77,200,LO,2"), QStringLiteral("--seconds"),
                QStringLiteral("1")});
    ASSERT_EQ(test.exitCode, 0) << test.err.toStdString();
    const QStringList lines = test.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    const QRegularExpression line(QStringLiteral("^[0-9]+\\.[0-9]{3}\\trssi=[0-9]+\\tfer=[0-9]+$"));
    for (const QString& l : lines) {
        EXPECT_TRUE(line.match(l).hasMatch()) << l.toStdString();
    }
    const CliResult measure = runCli({QStringLiteral("--port"), sim.device(), QStringLiteral("measure"),
                                      QStringLiteral("5"), QStringLiteral("--seconds"), QStringLiteral("1")});
    ASSERT_EQ(measure.exitCode, 0) << measure.err.toStdString();
    EXPECT_TRUE(measure.out.contains(QStringLiteral("\tbattery_voltage="))) << measure.out.toStdString();

    // Out of range or unknown: usage errors, nothing sent.
    for (const QStringList& args :
         {QStringList{QStringLiteral("test"), QStringLiteral("receive"), QStringLiteral("--slot"),
                      QStringLiteral("1=on,78,70,HI,1")},
          QStringList{QStringLiteral("test"), QStringLiteral("9")},
          QStringList{QStringLiteral("test"), QStringLiteral("receive"), QStringLiteral("--output-slot"),
                      QStringLiteral("5")},
          QStringList{QStringLiteral("measure"), QStringLiteral("rssi-gain"), QStringLiteral("--slot"),
                      QStringLiteral("2=on,5,70,HI,1")}}) {
        EXPECT_EQ(runCli(QStringList{QStringLiteral("--port"), sim.device()} + args).exitCode, 2)
            << args.join(QLatin1Char(' ')).toStdString();
    }
}

} // namespace
} // namespace tolvan::test
