// tolvan-cli save and write-back against tolvan-sim: the saved set byte for byte and all or
// nothing, the write-back with its backup and its check, and every way either refuses to start.
#include "link/core/catalogue.h"
#include "modes/datasave/model/saveset.h"
#include "modes/datasave/model/writebackframes.h"
#include "tests/cli/expectedparams.h"
#include "tests/modes/datasave/model/simhandsetstore.h"
#include "tests/support/backupfoldertest.h"
#include "tests/support/cliprocess.h"

#include "tests/support/filebytes.h"
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace tolvan::test {
namespace {

// A log file as text, and back (code page 932).
QString textOf(const QString& path) {
    return QStringDecoder("CP932").decode(contentsOf(path));
}
QByteArray cp932(const QString& text) {
    return QStringEncoder("CP932").encode(text);
}

QString hexOf(const link::Bytes& bytes) {
    QStringList parts;
    for (const std::uint8_t b : bytes) {
        parts << QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
    }
    return parts.join(QLatin1Char(' '));
}

// Write frames (groups 0x00 to 0x0C) in a --trace.
int writesIn(const QString& trace) {
    int writes = 0;
    for (const QString& line : trace.split(QLatin1Char('\n'))) {
        const QString unit = line.simplified().section(QLatin1Char(' '), 1);
        if (unit.startsWith(QStringLiteral("> 02 30 2")) && unit.size() > 10) {
            ++writes;
        }
    }
    return writes;
}

// The read requests (six-byte frames of groups 0x10 and up) in a --trace, in order.
std::vector<std::uint32_t> readsIn(const QString& trace) {
    std::vector<std::uint32_t> reads;
    for (const QString& line : trace.split(QLatin1Char('\n'))) {
        const QStringList bytes = line.simplified().section(QLatin1Char(' '), 1).split(QLatin1Char(' '));
        if (bytes.size() == 7 && bytes[0] == QLatin1String(">") && bytes[1] == QLatin1String("02") &&
            bytes[2] == QLatin1String("30") && bytes[5] == QLatin1String("03") &&
            bytes[3] >= QLatin1String("30")) {
            reads.push_back(((bytes[3].toUInt(nullptr, 16) - 0x20) << 8) |
                            (bytes[4].toUInt(nullptr, 16) - 0x20));
        }
    }
    return reads;
}

// Script 18 as a handset of the model is read by it: every step the model filter lets through.
std::vector<std::uint32_t> readAllFor(std::uint8_t model) {
    std::vector<std::uint32_t> reads;
    for (int step = 1; step <= link::scriptLastStep(18); ++step) {
        const std::uint32_t code = link::scriptEntry(18, step);
        if (code != link::cmd::kClose && !link::isSkippedForModel(code, model)) {
            reads.push_back(code);
        }
    }
    return reads;
}

// The saved set of the sim's factory data as the model writers give it.
datasave::SaveSetFiles factorySet(std::uint8_t model, const QString& memo) {
    const auto set = datasave::buildSaveSet(datasave::test::storeReadFromSim(model), model, memo);
    return std::holds_alternative<datasave::SaveSetFiles>(set) ? std::get<datasave::SaveSetFiles>(set)
                                                               : datasave::SaveSetFiles{};
}

class CliDataSave : public BackupFolderTest {
protected:
    static QStringList simArgs(const char* model, const QStringList& more = {}) {
        return QStringList{QStringLiteral("--no-pacing"), QStringLiteral("--model"),
                           QString::fromLatin1(model)} +
               more;
    }
    CliResult cli(const SimProcess& sim, const QStringList& command) {
        return runCli(QStringList{QStringLiteral("--trace"), QStringLiteral("--port"), sim.device(),
                                  QStringLiteral("--memo"), QStringLiteral("交換前")} +
                          command,
                      90000);
    }
    QString path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    QStringList backups() const {
        QStringList files;
        QDirIterator it(m_backups.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            files << QDir(m_backups.path()).relativeFilePath(it.next());
        }
        files.sort();
        return files;
    }
};

struct Model {
    const char* name;
    std::uint8_t code;
};

class CliSave : public CliDataSave, public ::testing::WithParamInterface<Model> {};

TEST_P(CliSave, ANameEndingInJv4SavesTheThreeFilesSideBySideByteForByte) {
    SimProcess sim(simArgs(GetParam().name));
    ASSERT_TRUE(sim.started());
    const CliResult save = cli(sim, {QStringLiteral("save"), path("handset.jv4")});
    ASSERT_EQ(save.exitCode, 0) << save.err.toStdString();
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("handset.jv1"), QStringLiteral("handset.jv3"),
                           QStringLiteral("handset.jv4")}));
    // Log file 1 against the lines written out by hand.
    EXPECT_EQ(contentsOf(path("handset.jv1")),
              cp932File(simParamsLines(GetParam().code, QStringLiteral("交換前"))));
    const datasave::SaveSetFiles expected = factorySet(GetParam().code, QStringLiteral("交換前"));
    EXPECT_EQ(contentsOf(path("handset.jv1")), expected.jv1);
    EXPECT_EQ(contentsOf(path("handset.jv3")), expected.jv3);
    EXPECT_EQ(contentsOf(path("handset.jv4")), expected.jv4);
    EXPECT_EQ(writesIn(save.err), 0);
    EXPECT_EQ(readsIn(save.err), readAllFor(GetParam().code));
}

INSTANTIATE_TEST_SUITE_P(AllModels, CliSave,
                         ::testing::Values(Model{"ZX-VA100", 2}, Model{"ZX-VA150", 3},
                                           Model{"ZX-VA150(C)", 4}));

// A fresh tool has read no receive-gain block before: the set must carry the handset's own
// switch, read right after the amplifier bias.
TEST_F(CliDataSave, AZxVa100SavesItsOwnReceiveGainSwitch) {
    SimProcess sim(simArgs("ZX-VA100"));
    ASSERT_TRUE(sim.started());
    const CliResult save = cli(sim, {QStringLiteral("save"), path("gain")});
    ASSERT_EQ(save.exitCode, 0) << save.err.toStdString();
    EXPECT_TRUE(
        textOf(path("gain.jv1")).contains(QStringLiteral("\r\n\"VA100受話ｹﾞｲﾝ調整機能\",\"ｵﾝ\"\r\n")));
    const std::vector<std::uint32_t> reads = readsIn(save.err);
    const auto bias = std::find(reads.begin(), reads.end(), 0x1005u);
    ASSERT_NE(bias, reads.end());
    ASSERT_GE(std::distance(bias, reads.end()), 3);
    EXPECT_EQ(std::vector<std::uint32_t>(bias, bias + 3),
              (std::vector<std::uint32_t>{0x1005, 0x1008, 0x1407}));
    EXPECT_EQ(std::count(reads.begin(), reads.end(), 0x1008u), 1);
}

// A folder takes the place of the .jv3 while the handset is read, after the names were checked:
// the save fails and leaves the older set of that name whole, not a new .jv1 beside an old .jv4.
TEST_F(CliDataSave, ASaveFailingOnItsSecondFileLeavesTheOlderSetAsItWas) {
    SimProcess sim(simArgs("ZX-VA150", {QStringLiteral("--fault"), QStringLiteral("delay@1C01,ms=1200")}));
    ASSERT_TRUE(sim.started());
    const QByteArray olderJv1 = factorySet(2, QStringLiteral("older")).jv1;
    const QByteArray olderJv4 = factorySet(2, QStringLiteral("older")).jv4;
    writeFile(path("unit.jv1"), olderJv1);
    writeFile(path("unit.jv4"), olderJv4);

    QProcess save;
    save.setReadChannel(QProcess::StandardError);
    save.start(QStringLiteral(TOLVAN_CLI_PATH), {QStringLiteral("--trace"), QStringLiteral("--port"),
                                                 sim.device(), QStringLiteral("save"), path("unit")});
    ASSERT_TRUE(save.waitForStarted(5000));
    QByteArray err;
    // The read of 0x1C01 is out; its answer takes 1.2 s.
    while (!err.contains("> 02 30 3C 21 ") && save.waitForReadyRead(10000)) {
        err += save.readAllStandardError();
    }
    ASSERT_TRUE(err.contains("> 02 30 3C 21 ")) << err.toStdString();
    ASSERT_TRUE(QDir().mkdir(path("unit.jv3")));
    ASSERT_TRUE(save.waitForFinished(30000));
    err += save.readAllStandardError();
    EXPECT_EQ(save.exitCode(), 3);
    EXPECT_TRUE(
        QString::fromUtf8(err).contains(QStringLiteral("エラー: ") + path("unit.jv3") + QStringLiteral(": ")))
        << err.toStdString();
    EXPECT_EQ(contentsOf(path("unit.jv1")), olderJv1);
    EXPECT_EQ(contentsOf(path("unit.jv4")), olderJv4);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("unit.jv1"), QStringLiteral("unit.jv4")}));
}

TEST_F(CliDataSave, ASaveThatCannotBeWrittenTouchesNoHandset) {
    SimProcess sim(simArgs("ZX-VA150"));
    ASSERT_TRUE(sim.started());
    const CliResult save = cli(sim, {QStringLiteral("save"), path("missing/handset")});
    EXPECT_EQ(save.exitCode, 3);
    EXPECT_TRUE(save.err.contains(QStringLiteral("エラー: ") + path("missing/handset.jv1")))
        << save.err.toStdString();
    EXPECT_FALSE(save.err.contains(QStringLiteral(" > 02 ")));
}

// A saved set written back with a level of 5 and another PS number: sent as 39, backed up first,
// and found in the handset when read again.
TEST_F(CliDataSave, WriteBackSendsTheSetAfterABackupAndVerifies) {
    SimProcess sim(simArgs("ZX-VA150(C)"));
    ASSERT_TRUE(sim.started());
    ASSERT_EQ(cli(sim, {QStringLiteral("save"), path("unit")}).exitCode, 0);
    QString jv1 = textOf(path("unit.jv1"));
    jv1.replace(QStringLiteral("\"待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ\",\"30\""),
                QStringLiteral("\"待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ\",\"5\""));
    writeFile(path("unit.jv1"), cp932(jv1));
    QString jv4 = textOf(path("unit.jv4"));
    jv4.replace(QStringLiteral("\"PS番号\",\"3\",\"9\",\"1\""),
                QStringLiteral("\"PS番号\",\"2\",\"5\",\"6\""));
    writeFile(path("unit.jv4"), cp932(jv4));

    const CliResult write =
        cli(sim, {QStringLiteral("write-back"), path("unit.jv3"), QStringLiteral("--verify")});
    ASSERT_EQ(write.exitCode, 0) << write.err.toStdString();
    EXPECT_TRUE(write.out.isEmpty()) << write.out.toStdString();
    // 0x0401 with the first level 39 (+ 0x20); 0x0301 with "256".
    EXPECT_TRUE(write.err.contains(QStringLiteral("> 02 30 24 21 47 "))) << write.err.toStdString();
    EXPECT_TRUE(write.err.contains(QStringLiteral("> 02 30 23 21 52 55 56 ")));
    EXPECT_EQ(writesIn(write.err), 18); // script 19's writes, 0x0C01 included

    // What the handset held before, as the three files of a set.
    const QStringList sets = backups();
    ASSERT_EQ(sets.size(), 3) << sets.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(sets.first().startsWith(QStringLiteral("ZX-VA150(C)/123456789/")));
    const datasave::SaveSetFiles before = factorySet(4, QStringLiteral("交換前"));
    EXPECT_EQ(contentsOf(m_backups.filePath(sets.at(0))), before.jv1);
    EXPECT_EQ(contentsOf(m_backups.filePath(sets.at(1))), before.jv3);
    EXPECT_EQ(contentsOf(m_backups.filePath(sets.at(2))), before.jv4);

    // Saved again, the set holds what was written.
    ASSERT_EQ(cli(sim, {QStringLiteral("save"), path("again")}).exitCode, 0);
    EXPECT_TRUE(textOf(path("again.jv1")).contains(QStringLiteral("\"待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ\",\"5\"")));
    EXPECT_TRUE(textOf(path("again.jv4")).contains(QStringLiteral("\"PS番号\",\"2\",\"5\",\"6\"")));
}

TEST_F(CliDataSave, VerifyListsTheLinesOfABlockTheHandsetIgnored) {
    SimProcess sim(simArgs("ZX-VA100", {QStringLiteral("--fault"), QStringLiteral("ignore-write@0401")}));
    ASSERT_TRUE(sim.started());
    ASSERT_EQ(cli(sim, {QStringLiteral("save"), path("unit")}).exitCode, 0);
    QString jv1 = textOf(path("unit.jv1"));
    jv1.replace(QStringLiteral("\"待ち受けｿﾞｰﾝ保持ﾚﾍﾞﾙ\",\"20\""),
                QStringLiteral("\"待ち受けｿﾞｰﾝ保持ﾚﾍﾞﾙ\",\"22\""));
    jv1.replace(QStringLiteral("\"ｲﾝﾀｰﾊﾞﾙ値\",\"150\""), QStringLiteral("\"ｲﾝﾀｰﾊﾞﾙ値\",\"151\""));
    writeFile(path("unit.jv1"), cp932(jv1));

    const CliResult write = cli(sim, {QStringLiteral("--no-backup"), QStringLiteral("write-back"),
                                      path("unit.jv1"), QStringLiteral("--verify")});
    EXPECT_EQ(write.exitCode, 1) << write.err.toStdString();
    // The interval (0x0402) was taken; the levels block was not.
    EXPECT_EQ(write.out, QStringLiteral("待ち受けｿﾞｰﾝ保持ﾚﾍﾞﾙ\t22\t20\n"));
    EXPECT_TRUE(backups().isEmpty());
}

// BASE takes the extensions as given; a line of the set that does not read goes back as the
// handset holds it, and --verify says so instead of counting it held.
TEST_F(CliDataSave, VerifyNeverClaimsALineThatDidNotReadFromTheSet) {
    SimProcess sim(simArgs("ZX-VA100"));
    ASSERT_TRUE(sim.started());
    ASSERT_EQ(cli(sim, {QStringLiteral("save"), path("site.jvault")}).exitCode, 0);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("site.jvault.jv1"), QStringLiteral("site.jvault.jv3"),
                           QStringLiteral("site.jvault.jv4")}));
    QString jv4 = textOf(path("site.jvault.jv4"));
    ASSERT_EQ(jv4.count(QStringLiteral("\"PS番号\",")), 1);
    jv4.replace(QStringLiteral("\"PS番号\","), QStringLiteral("\"PS-No\","));
    writeFile(path("site.jvault.jv4"), cp932(jv4));

    const CliResult write = cli(sim, {QStringLiteral("--no-backup"), QStringLiteral("write-back"),
                                      path("site.jvault.jv4"), QStringLiteral("--verify")});
    EXPECT_EQ(write.exitCode, 1) << write.err.toStdString();
    EXPECT_TRUE(write.err.contains(QStringLiteral("エラー: PS番号:読み出しエラー")))
        << write.err.toStdString();
    EXPECT_TRUE(write.out.startsWith(QStringLiteral("PS番号\t読み出しエラー\t"))) << write.out.toStdString();
    EXPECT_EQ(write.out.count(QLatin1Char('\n')), 1);
}

// A clone: the set's settings go in, the handset's own identity stays.
TEST_F(CliDataSave, KeepIdentityWritesTheSetButLeavesThePsIdPsNumberAndPin) {
    SimProcess sim(simArgs("ZX-VA100"));
    ASSERT_TRUE(sim.started());
    ASSERT_EQ(cli(sim, {QStringLiteral("save"), path("before")}).exitCode, 0);
    const QString ownPsId =
        textOf(path("before.jv4")).section(QStringLiteral("\"PS-ID\""), 1).section('\n', 0, 0);
    const QString ownNumber =
        textOf(path("before.jv4")).section(QStringLiteral("\"PS番号\""), 1).section('\n', 0, 0);
    ASSERT_FALSE(ownPsId.isEmpty());
    ASSERT_FALSE(ownNumber.isEmpty());
    // Another handset's set: another PS-ID and PS number, and one changed setting.
    QString jv4 = textOf(path("before.jv4"));
    jv4.replace(QStringLiteral("\"PS-ID\"") + ownPsId,
                QStringLiteral("\"PS-ID\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\"\r"));
    jv4.replace(QStringLiteral("\"PS番号\"") + ownNumber, QStringLiteral("\"PS番号\",\"2\",\"5\",\"6\"\r"));
    ASSERT_FALSE(jv4.contains(QStringLiteral("\"PS-ID\"") + ownPsId));
    ASSERT_FALSE(jv4.contains(QStringLiteral("\"PS番号\"") + ownNumber));
    writeFile(path("other.jv4"), cp932(jv4));
    QString jv1 = textOf(path("before.jv1"));
    ASSERT_TRUE(jv1.contains(QStringLiteral("\"ｲﾝﾀｰﾊﾞﾙ値\",\"150\"")));
    jv1.replace(QStringLiteral("\"ｲﾝﾀｰﾊﾞﾙ値\",\"150\""), QStringLiteral("\"ｲﾝﾀｰﾊﾞﾙ値\",\"151\""));
    writeFile(path("other.jv1"), cp932(jv1));

    const CliResult clone = cli(sim, {QStringLiteral("write-back"), path("other.jv1"),
                                      QStringLiteral("--keep-identity"), QStringLiteral("--verify")});
    ASSERT_EQ(clone.exitCode, 0) << clone.err.toStdString() << clone.out.toStdString();
    ASSERT_EQ(cli(sim, {QStringLiteral("save"), path("after")}).exitCode, 0);
    const QString after = textOf(path("after.jv4"));
    EXPECT_TRUE(after.contains(QStringLiteral("\"PS-ID\"") + ownPsId)) << after.toStdString();
    EXPECT_TRUE(after.contains(QStringLiteral("\"PS番号\"") + ownNumber));
    EXPECT_TRUE(textOf(path("after.jv1")).contains(QStringLiteral("\"ｲﾝﾀｰﾊﾞﾙ値\",\"151\"")));
}

TEST_F(CliDataSave, AJv3NameWithOnlyTheJv4LoadsTheSettingsAndSendsTheSystemParametersAsRead) {
    SimProcess sim(simArgs("ZX-VA150"));
    ASSERT_TRUE(sim.started());
    writeFile(path("only.jv4"), factorySet(3, {}).jv4);
    writeFile(path("only.jv3"), QByteArray());
    const CliResult write = cli(sim, {QStringLiteral("write-back"), path("only.jv3")});
    ASSERT_EQ(write.exitCode, 0) << write.err.toStdString();
    EXPECT_TRUE(write.err.contains(QStringLiteral(
        "Tolvan: only.jv1 は見つからないか読み込めなかったため、子機に書き込んでいません。\n")))
        << write.err.toStdString();
    link::RequestBuffers asRead;
    ASSERT_TRUE(datasave::WriteBackFrames::fillRequestBuffers(datasave::test::storeReadFromSim(3), asRead));
    for (const std::uint16_t code : {0x0401, 0x0402, 0x0403, 0x0406, 0x0C01}) {
        EXPECT_TRUE(write.err.contains(QStringLiteral("> ") + hexOf(*asRead.get(code)))) << std::hex << code;
    }
}

TEST_F(CliDataSave, WriteBackRefusesWhatItCannotUseBeforeAnythingIsSent) {
    SimProcess sim(simArgs("ZX-VA100"));
    ASSERT_TRUE(sim.started());
    auto expectRefused = [&](const QStringList& command, const QString& message) {
        const CliResult write = cli(sim, command);
        EXPECT_EQ(write.exitCode, 3) << command.join(' ').toStdString();
        EXPECT_TRUE(write.err.contains(message)) << write.err.toStdString();
        EXPECT_EQ(writesIn(write.err), 0);
    };
    const QString missing =
        QStringLiteral("エラー: 指定されたファイルは存在しません。\nファイル名を再入力してください。");
    expectRefused({QStringLiteral("write-back"), path("none.jv1")}, missing);
    writeFile(path("nodot"), "x");
    expectRefused({QStringLiteral("write-back"), path("nodot")}, missing);
    writeFile(path("notes.txt"), "x");
    expectRefused({QStringLiteral("write-back"), path("notes.txt")},
                  QStringLiteral("エラー: jv読み出しフォーマットエラー"));
    // A .jv1 of another model and no .jv4: nothing of the set would reach the handset.
    writeFile(path("other.jv1"), factorySet(3, {}).jv1);
    expectRefused({QStringLiteral("write-back"), path("other.jv1")},
                  QStringLiteral("接続モデルはZX-VA100ですが"));
    // A backup that cannot be written stops the write.
    writeFile(path("set.jv4"), factorySet(2, {}).jv4);
    const QString blocked = path("blocked");
    writeFile(blocked, "x");
    qputenv("TOLVAN_BACKUP_DIR", blocked.toLocal8Bit());
    expectRefused({QStringLiteral("write-back"), path("set.jv4")},
                  QStringLiteral("エラー: 書き込み前のバックアップを保存できませんでした。"));
    EXPECT_EQ(runCli({QStringLiteral("write-back"), path("set.jv4"), QStringLiteral("--check")}).exitCode, 2);
}

} // namespace
} // namespace tolvan::test
