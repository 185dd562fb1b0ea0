// tolvan-cli register against tolvan-sim: the registration's file pair and write-back, each way it
// can fail, and the arguments it refuses before anything is opened.
#include "tests/support/cliprocess.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tolvan::test {
namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The transmitted frames of a --trace, in order, as their hex text.
QStringList sentFrames(const QString& trace) {
    QStringList frames;
    for (const QString& line : trace.split(QLatin1Char('\n'))) {
        const qsizetype at = line.indexOf(QLatin1String(" > "));
        if (at >= 0) {
            frames << line.mid(at + 3).trimmed();
        }
    }
    return frames;
}

QStringList registerArgs(const QString& device, const QString& base, const QString& psNumber = "201",
                         const QString& pin = "1234") {
    return {QStringLiteral("--trace"),
            QStringLiteral("--port"),
            device,
            QStringLiteral("register"),
            base,
            QStringLiteral("--ps-number"),
            psNumber,
            QStringLiteral("--pin"),
            pin};
}

class BackupDir {
public:
    BackupDir() : m_saved(qgetenv("TOLVAN_BACKUP_DIR")) {
        qputenv("TOLVAN_BACKUP_DIR", m_dir.path().toLocal8Bit());
    }
    ~BackupDir() { qputenv("TOLVAN_BACKUP_DIR", m_saved); }
    BackupDir(const BackupDir&) = delete;
    BackupDir& operator=(const BackupDir&) = delete;
    QString path() const { return m_dir.path(); }
    QStringList files() const {
        QStringList out;
        QDirIterator it(m_dir.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            out << it.next();
        }
        return out;
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_saved;
};

TEST(CliRegister, SuccessSavesTheFilePairAndWritesBackWithSeamlessOff) {
    SimProcess sim({QStringLiteral("--no-pacing"), QStringLiteral("--model"), QStringLiteral("ZX-VA100")});
    ASSERT_TRUE(sim.started());
    QTemporaryDir dir;
    BackupDir backups;
    const QString base = dir.filePath(QStringLiteral("unit7"));
    const CliResult run = runCli(registerArgs(sim.device(), base), 90000);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("子機登録実行中\n子機登録制御完了(正常終了)\n"));

    // The same handset read again gives the same files the registration saved.
    const QString settings = dir.filePath(QStringLiteral("again.jv4"));
    const QString params = dir.filePath(QStringLiteral("again.jv1"));
    ASSERT_EQ(runCli({QStringLiteral("--port"), sim.device(), QStringLiteral("settings"),
                      QStringLiteral("read"), settings})
                  .exitCode,
              0);
    ASSERT_EQ(runCli({QStringLiteral("--port"), sim.device(), QStringLiteral("params"),
                      QStringLiteral("read"), params})
                  .exitCode,
              0);
    const QByteArray jv4 = contents(base + QStringLiteral(".jv4"));
    EXPECT_EQ(jv4, contents(settings));
    EXPECT_TRUE(jv4.contains("\"PS\x94\xd4\x8d\x86\",\"2\",\"0\",\"1\"\r\n")) << jv4.toStdString();
    EXPECT_EQ(contents(base + QStringLiteral(".jv1")), contents(params));

    // PS number and PIN go out as ASCII digits; every operation record (the write, the one that
    // starts the registration, the write-back after it) has seamless handover off.
    const QStringList frames = sentFrames(run.err);
    EXPECT_FALSE(
        frames.filter(QRegularExpression(QStringLiteral("^02 30 23 21 52 50 51 20 20 20 20 "))).isEmpty());
    EXPECT_FALSE(frames.filter(QRegularExpression(QStringLiteral("^02 30 23 22 51 52 53 54 "))).isEmpty());
    const QStringList records = frames.filter(QRegularExpression(QStringLiteral("^02 30 21 24 ")));
    ASSERT_GE(records.size(), 3);
    for (const QString& record : records) {
        EXPECT_TRUE(record.startsWith(QLatin1String("02 30 21 24 20 "))) << record.toStdString();
    }
    const QStringList commands = frames.filter(QRegularExpression(QStringLiteral("^02 40 21 ")));
    ASSERT_FALSE(commands.isEmpty());
    EXPECT_GT(frames.lastIndexOf(records.last()), frames.lastIndexOf(commands.last()));

    // Before the first write the handset's own settings (PS number 215) were backed up.
    bool original = false;
    for (const QString& file : backups.files()) {
        original = original || (file.endsWith(QLatin1String(".jv4")) &&
                                contents(file).contains("\"PS\x94\xd4\x8d\x86\",\"2\",\"1\",\"5\"\r\n"));
    }
    EXPECT_TRUE(original);
}

TEST(CliRegister, TheWriteBackGoesOutWhenItsBackupCannotBeSaved) {
    SimProcess sim({QStringLiteral("--no-pacing"), QStringLiteral("--model"), QStringLiteral("ZX-VA100"),
                    QStringLiteral("--registration"), QStringLiteral("success,ms=1500")});
    ASSERT_TRUE(sim.started());
    QTemporaryDir dir;
    BackupDir backups;
    const QString base = dir.filePath(QStringLiteral("unit8"));
    QProcess cli;
    cli.start(QStringLiteral(TOLVAN_CLI_PATH), registerArgs(sim.device(), base));
    // The start's backup is saved; once the registration runs, the backup folder's place is
    // taken by a file, so the write-back's backup cannot be.
    QByteArray out;
    while (!out.contains("\n") && cli.waitForReadyRead(30000)) {
        out += cli.readAllStandardOutput();
    }
    ASSERT_EQ(out, QStringLiteral("子機登録実行中\n").toUtf8());
    const QString models = backups.path() + QStringLiteral("/ZX-VA100");
    ASSERT_TRUE(QDir().rename(models, backups.path() + QStringLiteral("/kept")));
    ASSERT_TRUE(QFile(models).open(QIODevice::WriteOnly));
    ASSERT_TRUE(cli.waitForFinished(60000));
    out += cli.readAllStandardOutput();
    const QString err = QString::fromUtf8(cli.readAllStandardError());

    EXPECT_EQ(cli.exitCode(), 3) << err.toStdString();
    EXPECT_TRUE(out.endsWith(QStringLiteral("子機登録制御完了(正常終了)\n").toUtf8()));
    EXPECT_TRUE(err.contains(QStringLiteral("エラー: 書き込み前のバックアップを保存できませんでした。")))
        << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("バックアップなしで設定を子機に書き戻します。")));
    EXPECT_FALSE(err.contains(QStringLiteral("何も書き込んでいません")));
    EXPECT_TRUE(QFile::exists(base + QStringLiteral(".jv4")));
    // The operation record went out again after the registration command: the write-back.
    const QStringList frames = sentFrames(err);
    const QStringList records = frames.filter(QRegularExpression(QStringLiteral("^02 30 21 24 ")));
    const QStringList commands = frames.filter(QRegularExpression(QStringLiteral("^02 40 21 ")));
    ASSERT_FALSE(records.isEmpty());
    ASSERT_FALSE(commands.isEmpty());
    EXPECT_GT(frames.lastIndexOf(records.last()), frames.lastIndexOf(commands.last()));
}

struct FailedOutcome {
    const char* name;
    const char* rule;
    int exitCode;
    const char* outEnd;
    const char* errPart;
};

class CliRegisterFails : public ::testing::TestWithParam<FailedOutcome> {};

TEST_P(CliRegisterFails, SavesNothingAndSaysWhy) {
    const FailedOutcome& o = GetParam();
    SimProcess sim({QStringLiteral("--no-pacing"), QStringLiteral("--model"), QStringLiteral("ZX-VA100"),
                    QStringLiteral("--registration"), QString::fromLatin1(o.rule)});
    ASSERT_TRUE(sim.started());
    QTemporaryDir dir;
    BackupDir backups;
    const QString base = dir.filePath(QStringLiteral("unit"));
    const CliResult run = runCli(registerArgs(sim.device(), base), 60000);
    EXPECT_EQ(run.exitCode, o.exitCode) << run.err.toStdString();
    EXPECT_TRUE(run.out.endsWith(QString::fromUtf8(o.outEnd))) << run.out.toStdString();
    EXPECT_TRUE(run.err.contains(QString::fromUtf8(o.errPart))) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(base + QStringLiteral(".jv1")));
    EXPECT_FALSE(QFile::exists(base + QStringLiteral(".jv4")));
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, CliRegisterFails,
    ::testing::Values(FailedOutcome{"RefusedPsNumber", "failure,cause=70", 1,
                                    "子機登録制御失敗(異常終了)\n子機増設拒否(子機番号不一致)\n", ""},
                      FailedOutcome{"Status30WithDetail", "failure,status=30,cause=10,detail=1A", 1,
                                    "子機登録制御失敗(異常終了)\n候補CSなし：1A\n", ""},
                      FailedOutcome{"CommandEnded", "abnormal", 1, "コマンド終了(異常終了)\n", ""},
                      FailedOutcome{"UnknownCause", "failure,cause=1D", 4, "", "エラー: バッファ内容エラー"},
                      FailedOutcome{"Battery", "battery", 1, "", "エラー: 電池残量無し（異常終了）"}),
    [](const ::testing::TestParamInfo<FailedOutcome>& info) { return std::string(info.param.name); });

TEST(CliRegisterRefuses, AnotherModelSendsNoWrite) {
    SimProcess sim({QStringLiteral("--no-pacing"), QStringLiteral("--model"), QStringLiteral("ZX-VA150")});
    ASSERT_TRUE(sim.started());
    QTemporaryDir dir;
    BackupDir backups;
    const QString base = dir.filePath(QStringLiteral("unit"));
    const CliResult run = runCli(registerArgs(sim.device(), base));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QLatin1String("ZX-VA100 only"))) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
    // Reads only: no write command (group below 0x10) went out, and nothing was backed up.
    EXPECT_TRUE(sentFrames(run.err).filter(QRegularExpression(QStringLiteral("^02 30 2"))).isEmpty());
    EXPECT_TRUE(backups.files().isEmpty());
    EXPECT_FALSE(QFile::exists(base + QStringLiteral(".jv1")));
}

TEST(CliRegisterRefuses, BadArgumentsAreUsageErrorsBeforeAnyPortIsOpened) {
    const QString port = QStringLiteral("/nonexistent/ttyX");
    const QStringList bad[] = {
        registerArgs(port, "b", "392", "1234"),
        registerArgs(port, "b", "20", "1234"),
        registerArgs(port, "b", "2O1", "1234"),
        registerArgs(port, "b", "201", "123"),
        registerArgs(port, "b", "201", "12345"),
        registerArgs(port, "b", "２０１", "1234"),
        {QStringLiteral("--port"), port, QStringLiteral("register"), QStringLiteral("--ps-number"),
         QStringLiteral("201"), QStringLiteral("--pin"), QStringLiteral("1234")},
        registerArgs(port, "b") << QStringLiteral("--pin") << QStringLiteral("1234"),
    };
    for (const QStringList& args : bad) {
        const CliResult run = runCli(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_FALSE(run.err.contains(QStringLiteral("子機と通信"))) << run.err.toStdString();
    }
}

TEST(CliRegisterRefuses, FilesThatCannotBeWrittenStopItBeforeThePortIsOpened) {
    QTemporaryDir dir;
    const QString port = QStringLiteral("/nonexistent/ttyX");
    const CliResult noFolder = runCli(registerArgs(port, dir.filePath(QStringLiteral("none/unit"))));
    EXPECT_EQ(noFolder.exitCode, 3);
    EXPECT_TRUE(noFolder.err.contains(QStringLiteral("unit.jv1"))) << noFolder.err.toStdString();
    const CliResult memo = runCli(QStringList{QStringLiteral("--memo"), QStringLiteral("\U0001F600")} +
                                  registerArgs(port, dir.filePath(QStringLiteral("unit"))));
    EXPECT_EQ(memo.exitCode, 3);
    for (const CliResult& run : {noFolder, memo}) {
        EXPECT_FALSE(run.err.contains(QStringLiteral("子機と通信"))) << run.err.toStdString();
    }
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

} // namespace
} // namespace tolvan::test
