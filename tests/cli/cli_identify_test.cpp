#include "tests/support/cliprocess.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace tolvan::test {
namespace {

TEST(CliIdentify, PrintsTheAttachedModelForEachModel) {
    for (const char* model : {"ZX-VA100", "ZX-VA150", "ZX-VA150(C)"}) {
        SimProcess sim({QStringLiteral("--model"), QString::fromLatin1(model)});
        ASSERT_TRUE(sim.started()) << model;
        const CliResult r = runCli({QStringLiteral("--port"), sim.device(), QStringLiteral("identify")});
        EXPECT_EQ(r.exitCode, 0) << model << r.err.toStdString();
        EXPECT_EQ(r.out, QString::fromLatin1(model) + QLatin1Char('\n'));
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    }
}

TEST(CliIdentify, TraceShowsEveryUnitWithItsTime) {
    SimProcess sim({QStringLiteral("--model"), QStringLiteral("ZX-VA150(C)")});
    ASSERT_TRUE(sim.started());
    const CliResult r = runCli(
        {QStringLiteral("--trace"), QStringLiteral("--port"), sim.device(), QStringLiteral("identify")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    // The trace is on stderr, so stdout holds only the model.
    EXPECT_EQ(r.out, QStringLiteral("ZX-VA150(C)\n"));
    const QStringList lines = r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 5);
    const QRegularExpression unit(
        QStringLiteral("^ *[0-9]+\\.[0-9]{3} ([<>]) ([0-9A-F]{2}(?: [0-9A-F]{2})*)$"));
    auto part = [&](int i, int group) { return unit.match(lines.at(i)).captured(group); };
    EXPECT_EQ(part(0, 1), QStringLiteral(">"));
    EXPECT_EQ(part(0, 2), QStringLiteral("02 20 03 23"));
    EXPECT_EQ(part(1, 1), QStringLiteral("<"));
    EXPECT_EQ(part(1, 2), QStringLiteral("06"));
    EXPECT_EQ(part(2, 2), QStringLiteral("02 70 03 73"));
    // The model answer of a ZX-VA150(C) is in there.
    EXPECT_TRUE(r.err.contains(QStringLiteral("< 02 71 24 03 56"))) << r.err.toStdString();
    for (int i = 0; i < lines.size(); ++i) {
        EXPECT_TRUE(unit.match(lines.at(i)).hasMatch()) << lines.at(i).toStdString();
    }
}

TEST(CliIdentify, SilentHandsetEndsWithTheUsbMessage) {
    SimProcess sim({QStringLiteral("--fault"), QStringLiteral("silence,count=0")});
    ASSERT_TRUE(sim.started());
    const CliResult r = runCli({QStringLiteral("--port"), sim.device(), QStringLiteral("identify")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(
        r.err.contains(QStringLiteral("エラー: USBでエラーが発生したため再度読み込みを行ってください")))
        << r.err.toStdString();
}

TEST(CliIdentify, MissingPortAndBadUsage) {
    const CliResult missing =
        runCli({QStringLiteral("--port"), QStringLiteral("/dev/does-not-exist"), QStringLiteral("identify")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("USBを検出しましたがポートがOPENできませんでした。")))
        << missing.err.toStdString();
    EXPECT_TRUE(missing.err.contains(QStringLiteral("エラー: 子機と通信ができませんでした。")));

    EXPECT_EQ(runCli({}).exitCode, 2);
    EXPECT_EQ(runCli({QStringLiteral("frobnicate")}).exitCode, 2);
    EXPECT_EQ(runCli({QStringLiteral("--port")}).exitCode, 2);
    EXPECT_EQ(runCli({QStringLiteral("identify"), QStringLiteral("extra")}).exitCode, 2);
    EXPECT_EQ(runCli({QStringLiteral("--help")}).exitCode, 0);
}

} // namespace
} // namespace tolvan::test
