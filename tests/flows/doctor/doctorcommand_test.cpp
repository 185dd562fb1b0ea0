// tolvan-cli doctor in the process, on a faked system and the virtual handset.
#include "cli/cliapp.h"
#include "cli/doctorcommand.h"
#include "tests/support/doctorfakes.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tolvan::test {
namespace {

struct CommandRun {
    int exitCode = -1;
    QString out;
    QString err;
};

CommandRun runDoctor(const QStringList& arguments, bool handsetAttached = true) {
    CommandRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    cli::CliApp app(out, err);
    cli::addDoctorCommand(app, [handsetAttached] {
        cli::DoctorEnvironment environment;
        auto platform = std::make_unique<FakePlatform>();
        if (handsetAttached) {
            platform->devices = {handsetAdapter()};
        }
        environment.platform = std::move(platform);
        environment.tester = std::make_unique<VirtualLineTester>(sim::realisticConfig(3));
        environment.opener = [](const QString&) {
            link::SerialOpenResult result;
            auto buffer = std::make_unique<QBuffer>();
            buffer->open(QIODevice::ReadWrite);
            result.port = std::move(buffer);
            return result;
        };
        environment.context.program = QStringLiteral("tolvan-cli");
        return environment;
    });
    run.exitCode = app.run(arguments);
    return run;
}

TEST(CliDoctor, PrintsOneLinePerFindingAndWritesTheReport) {
    QTemporaryDir dir;
    const QString report = dir.filePath(QStringLiteral("support.txt"));
    const CommandRun r = runDoctor({QStringLiteral("doctor"), QStringLiteral("--report"), report});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << r.out.toStdString();
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("○ /dev/ttyUSB0 を開きました")));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("○ 回線テスト 10.0 秒: 読み出し ")));
    EXPECT_TRUE(r.err.isEmpty());
    QFile file(report);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    for (const QString& line : lines) {
        EXPECT_TRUE(text.contains(line + QLatin1Char('\n')));
    }
}

TEST(CliDoctor, ExitStatusSaysWhetherTheLineIsGoodAndTheReportWritten) {
    const CommandRun none = runDoctor({QStringLiteral("doctor")}, false);
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.out.startsWith(QStringLiteral("× シリアルポートが1つもありません")));

    const CommandRun unwritable = runDoctor(
        {QStringLiteral("doctor"), QStringLiteral("--report"), QStringLiteral("/nonexistent/dir/r.txt")});
    EXPECT_EQ(unwritable.exitCode, 3);
    EXPECT_EQ(unwritable.err,
              QStringLiteral("エラー: /nonexistent/dir/r.txt に診断レポートを書き込めませんでした\n"));

    // --trace puts the line test's units on stderr, stdout keeps the findings.
    const CommandRun traced = runDoctor({QStringLiteral("--trace"), QStringLiteral("doctor")});
    EXPECT_TRUE(traced.err.startsWith(QStringLiteral("   0.000 > 02 20 03 23\n   0.016 < 06\n")))
        << traced.err.toStdString();
    EXPECT_EQ(traced.out.count(QLatin1Char('\n')), 4);

    EXPECT_EQ(runDoctor({QStringLiteral("doctor"), QStringLiteral("--report")}).exitCode, 2);
    EXPECT_EQ(runDoctor({QStringLiteral("doctor"), QStringLiteral("--pin"), QStringLiteral("1234")}).exitCode,
              2);
}

} // namespace
} // namespace tolvan::test
