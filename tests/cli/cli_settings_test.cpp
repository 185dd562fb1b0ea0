// tolvan-cli's handset setting commands against tolvan-sim: settings read (log file 4), settings
// write with its backup, and the printed report of a log file 4.
#include "tests/support/cliprocess.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tolvan::test {
namespace {

struct Model {
    const char* name;
    int lines;
};

class CliSettings : public ::testing::TestWithParam<Model> {};

TEST_P(CliSettings, ReadWritesLogFile4AndWriteBacksUpThenSendsItBack) {
    SimProcess sim(
        {QStringLiteral("--no-pacing"), QStringLiteral("--model"), QString::fromLatin1(GetParam().name)});
    ASSERT_TRUE(sim.started());
    QTemporaryDir dir;
    QTemporaryDir backups;
    const QByteArray saved = qgetenv("TOLVAN_BACKUP_DIR");
    qputenv("TOLVAN_BACKUP_DIR", backups.path().toLocal8Bit());
    const QString file = dir.filePath(QStringLiteral("settings"));
    const CliResult read = runCli(
        {QStringLiteral("--port"), sim.device(), QStringLiteral("settings"), QStringLiteral("read"), file});
    ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    EXPECT_EQ(bytes.count("\r\n"), GetParam().lines);
    EXPECT_TRUE(bytes.startsWith("\"" + QByteArray(GetParam().name)));

    const CliResult write = runCli({QStringLiteral("--trace"), QStringLiteral("--port"), sim.device(),
                                    QStringLiteral("settings"), QStringLiteral("write"), file});
    ASSERT_EQ(write.exitCode, 0) << write.err.toStdString();
    EXPECT_TRUE(write.err.contains(QStringLiteral("> 02 30 21 22 "))) << "the 0x0102 record goes out";
    QStringList sets;
    QDirIterator it(backups.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        sets << QFileInfo(it.next()).suffix();
    }
    sets.sort();
    EXPECT_EQ(sets, (QStringList{QStringLiteral("jv1"), QStringLiteral("jv4")}));
    qputenv("TOLVAN_BACKUP_DIR", saved);

    const QString pdf = dir.filePath(QStringLiteral("settings.pdf"));
    EXPECT_EQ(runCli({QStringLiteral("print"), file, QStringLiteral("--pdf"), pdf}).exitCode, 0);
    EXPECT_GT(QFile(pdf).size(), 1000);
}

INSTANTIATE_TEST_SUITE_P(AllModels, CliSettings,
                         ::testing::Values(Model{"ZX-VA100", 28}, Model{"ZX-VA150", 30},
                                           Model{"ZX-VA150(C)", 33}));

TEST(CliSettingsFailures, AFileOfAnotherModelWritesNothing) {
    SimProcess sim({QStringLiteral("--no-pacing"), QStringLiteral("--model"), QStringLiteral("ZX-VA100")});
    ASSERT_TRUE(sim.started());
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("other.jv4"));
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("\"ZX-VA150\x83\x8d\x83\x4f\x83\x74\x83\x40\x83\x43\x83\x8b"
              "4\"\r\n");
    out.close();
    const CliResult write = runCli({QStringLiteral("--trace"), QStringLiteral("--port"), sim.device(),
                                    QStringLiteral("settings"), QStringLiteral("write"), file});
    EXPECT_EQ(write.exitCode, 3);
    EXPECT_TRUE(write.err.contains(QStringLiteral("接続モデルはZX-VA100ですが"))) << write.err.toStdString();
    EXPECT_FALSE(write.err.contains(QStringLiteral("> 02 30 21 22 ")));
}

} // namespace
} // namespace tolvan::test
