// Before params (or calibration) write touches a handset, what the handset held is saved as a backup set; a
// backup that cannot be written stops the write, and --no-backup skips it.
#include "tests/cli/expectedparams.h"
#include "tests/support/backupfoldertest.h"
#include "tests/support/cliprocess.h"

#include "tests/support/filebytes.h"
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tolvan::test {
namespace {

QStringList filesUnder(const QString& root) {
    QStringList files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files << QDir(root).relativeFilePath(it.next());
    }
    return files;
}

// The backup folder of this test, in the environment tolvan-cli inherits.
class CliBackup : public BackupFolderTest {
protected:
    CliResult params(const SimProcess& sim, const QStringList& options, const char* direction,
                     const QString& file) {
        QStringList args{QStringLiteral("--trace"), QStringLiteral("--port"), sim.device(),
                         QStringLiteral("--memo"), QStringLiteral("点検前")};
        args << options << QStringLiteral("params") << QString::fromLatin1(direction) << file;
        return runCli(args, 90000);
    }
    QString path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }
};

// How many write frames a --trace shows.
int writesIn(const QString& trace) {
    int writes = 0;
    for (const QString& line : trace.split(QLatin1Char('\n'))) {
        // A write of groups 0x00 to 0x04 goes out as "> 02 30 2G 2I ...", G the group.
        const QString unit = line.simplified().section(QLatin1Char(' '), 1);
        if (unit.startsWith(QStringLiteral("> 02 30 2")) && unit.size() > 10 &&
            unit.at(9) < QLatin1Char('5')) {
            ++writes;
        }
    }
    return writes;
}

TEST_F(CliBackup, WriteSavesWhatTheHandsetHeldFirst) {
    SimProcess sim({QStringLiteral("--no-pacing"), QStringLiteral("--model"), QStringLiteral("ZX-VA100")});
    ASSERT_TRUE(sim.started());
    const QString file = path("params.jv1");
    ASSERT_EQ(params(sim, {}, "read", file).exitCode, 0);
    // A file that differs from the handset: the backup is the handset's, not the file's.
    QString edited = QStringDecoder("CP932").decode(contentsOf(file));
    ASSERT_TRUE(edited.contains(QStringLiteral("\"ｲﾝﾀｰﾊﾞﾙ値\",\"150\"")));
    edited.replace(QStringLiteral("\"ｲﾝﾀｰﾊﾞﾙ値\",\"150\""), QStringLiteral("\"ｲﾝﾀｰﾊﾞﾙ値\",\"151\""));
    writeFile(file, QStringEncoder("CP932").encode(edited));
    const CliResult write = params(sim, {}, "write", file);
    ASSERT_EQ(write.exitCode, 0) << write.err.toStdString();
    const QStringList sets = filesUnder(m_backups.path());
    ASSERT_EQ(sets.size(), 1) << sets.join(QLatin1Char(' ')).toStdString();
    // <model>/<PS-ID, nine digits>/<yyyyMMdd-HHmmss>.jv1, the file the read would have written.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^ZX-VA100/198765432/[0-9]{8}-[0-9]{6}\\.jv1$"))
                    .match(sets.first())
                    .hasMatch())
        << sets.first().toStdString();
    EXPECT_EQ(contentsOf(m_backups.filePath(sets.first())),
              cp932File(simParamsLines(2, QStringLiteral("点検前"))));

    // A second write within the same second does not overwrite the first set.
    ASSERT_EQ(params(sim, {}, "write", file).exitCode, 0);
    EXPECT_EQ(filesUnder(m_backups.path()).size(), 2);
}

TEST_F(CliBackup, ABackupThatCannotBeWrittenStopsTheWriteBeforeAnythingIsSent) {
    SimProcess sim({QStringLiteral("--no-pacing")});
    ASSERT_TRUE(sim.started());
    const QString file = path("params.jv1");
    ASSERT_EQ(params(sim, {}, "read", file).exitCode, 0);
    // The backup folder is a plain file: nothing can go under it.
    const QString blocked = path("blocked");
    ASSERT_TRUE(QFile(blocked).open(QIODevice::WriteOnly));
    qputenv("TOLVAN_BACKUP_DIR", blocked.toLocal8Bit());
    const CliResult write = params(sim, {}, "write", file);
    EXPECT_EQ(write.exitCode, 3);
    EXPECT_TRUE(
        write.err.contains(QStringLiteral("エラー: 書き込み前のバックアップを保存できませんでした。")))
        << write.err.toStdString();
    EXPECT_EQ(writesIn(write.err), 0);

    // --no-backup writes without one.
    const CliResult unguarded = params(sim, {QStringLiteral("--no-backup")}, "write", file);
    EXPECT_EQ(unguarded.exitCode, 0) << unguarded.err.toStdString();
    EXPECT_GT(writesIn(unguarded.err), 0);
}

TEST_F(CliBackup, CalibrationWriteKeepsTheValuesReadAsLogFile2) {
    SimProcess sim({QStringLiteral("--no-pacing")});
    ASSERT_TRUE(sim.started());
    const QString file = path("calibration.jv2");
    const QStringList port{QStringLiteral("--port"), sim.device(), QStringLiteral("--memo"),
                           QStringLiteral("点検前")};
    ASSERT_EQ(runCli(port + QStringList{QStringLiteral("calibration"), QStringLiteral("read"), file}, 90000)
                  .exitCode,
              0);
    const CliResult write =
        runCli(port + QStringList{QStringLiteral("calibration"), QStringLiteral("write"), file}, 90000);
    ASSERT_EQ(write.exitCode, 0) << write.err.toStdString();
    const QStringList sets = filesUnder(m_backups.path());
    ASSERT_EQ(sets.size(), 1);
    // The test mode's read does not ask for the PS-ID: the set is filed under nine zeros.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^ZX-VA150/000000000/[0-9]{8}-[0-9]{6}\\.jv2$"))
                    .match(sets.first())
                    .hasMatch())
        << sets.first().toStdString();
    // The values as the read wrote them, memo included.
    EXPECT_EQ(contentsOf(m_backups.filePath(sets.first())), contentsOf(file));
}

} // namespace
} // namespace tolvan::test
