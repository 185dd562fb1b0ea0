// tolvan-cli diff and check: saved sets and single log files compared with each other and with
// tolvan-sim, each differing line exactly, and every file that cannot be compared refused.
#include "common/logfile/intentrecord.h"
#include "modes/datasave/model/saveset.h"
#include "modes/test/model/logfile2writer.h"
#include "tests/modes/datasave/model/simhandsetstore.h"
#include "tests/support/backupfoldertest.h"
#include "tests/support/cliprocess.h"

#include "tests/support/filebytes.h"
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tolvan::test {
namespace {

// Replaces one text of a log file (code page 932), which must be there.
void edit(const QString& path, const QString& from, const QString& to) {
    QString text = QStringDecoder("CP932").decode(contentsOf(path));
    ASSERT_TRUE(text.contains(from)) << path.toStdString() << ": " << from.toStdString();
    text.replace(from, to);
    writeFile(path, QStringEncoder("CP932").encode(text));
}

// Write frames (groups 0x00 to 0x0C) in a --trace.
bool anyWriteIn(const QString& trace) {
    for (const QString& line : trace.split(QLatin1Char('\n'))) {
        const QString unit = line.simplified().section(QLatin1Char(' '), 1);
        if (unit.startsWith(QStringLiteral("> 02 30 2")) && unit.size() > 10) {
            return true;
        }
    }
    return false;
}

class CliCompare : public BackupFolderTest {
protected:
    QString path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }

    // A saved set BASE.jv1, .jv3, .jv4 and a BASE.jv2 of the sim's factory data, as the writers
    // make them.
    void writeFactoryFiles(std::uint8_t model, const char* base, const QString& memo) {
        const handset::HandsetStore store = datasave::test::storeReadFromSim(model);
        const auto set = datasave::buildSaveSet(store, model, memo);
        ASSERT_TRUE(std::holds_alternative<datasave::SaveSetFiles>(set));
        ASSERT_FALSE(datasave::writeSaveSet(path(base), std::get<datasave::SaveSetFiles>(set)));
        writeFile(path(base) + QStringLiteral(".jv2"),
                  testmode::LogFile2Writer::fromStore(store, model, memo).bytes);
    }

    static CliResult cli(const QStringList& command) { return runCli(command, 90000); }
    CliResult cli(const SimProcess& sim, const QStringList& command) {
        return runCli(
            QStringList{QStringLiteral("--trace"), QStringLiteral("--port"), sim.device()} + command, 90000);
    }
    static QStringList simArgs(const char* model) {
        return {QStringLiteral("--no-pacing"), QStringLiteral("--model"), QString::fromLatin1(model)};
    }
    bool anyBackup() const {
        return QDirIterator(m_backups.path(), QDir::Files, QDirIterator::Subdirectories).hasNext();
    }
};

// The memo, the header and the buffers are the file's own: two sets apart in those alone are equal.
TEST_F(CliCompare, DiffOfSetsAndFilesApartInTheirOwnLinesAlone) {
    writeFactoryFiles(2, "a", QStringLiteral("交換前"));
    writeFactoryFiles(2, "b", QStringLiteral("交換後"));
    writeFile(path("b.jv3"), "not even a log file 3");
    const std::pair<const char*, const char*> pairs[] = {
        {"a", "b"}, {"a.jv3", "b.jv1"}, {"a.jv1", "b.jv1"}, {"a.jv4", "b.jv4"}, {"a.jv2", "b.jv2"}};
    for (const auto& [one, other] : pairs) {
        const CliResult diff = cli({QStringLiteral("diff"), path(one), path(other)});
        EXPECT_EQ(diff.exitCode, 0) << one << ' ' << other << ": " << diff.err.toStdString();
        EXPECT_TRUE(diff.out.isEmpty()) << diff.out.toStdString();
    }
}

TEST_F(CliCompare, DiffListsEachDifferingLineOfEachKind) {
    writeFactoryFiles(2, "a", {});
    writeFactoryFiles(2, "b", {});
    edit(path("b.jv1"), QStringLiteral("\"待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ\",\"30\""),
         QStringLiteral("\"待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ\",\"31\""));
    edit(path("b.jv4"), QStringLiteral("\"PS番号\",\"2\",\"1\",\"5\""),
         QStringLiteral("\"PS番号\",\"2\",\"5\",\"6\""));
    // Lower case is the same hex digit, so only the 59 counts.
    edit(path("b.jv2"), QStringLiteral("\"送信DAC値補正係数\",\"58\",\"1B\""),
         QStringLiteral("\"送信DAC値補正係数\",\"59\",\"1b\""));
    const QString jv1Line = QStringLiteral("待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ\t30\t31\n");
    const QString jv4Line = QStringLiteral("PS番号\t2 1 5\t2 5 6\n");
    const std::pair<QStringList, QString> cases[] = {
        {{path("a"), path("b.jv4")}, jv1Line + jv4Line},
        {{path("a.jv1"), path("b.jv1")}, jv1Line},
        {{path("b.jv4"), path("a.jv4")}, QStringLiteral("PS番号\t2 5 6\t2 1 5\n")},
        {{path("a.jv2"), path("b.jv2")}, QStringLiteral("送信DAC値補正係数\t58 1B 00 00\t59 1B 00 00\n")},
    };
    for (const auto& [files, out] : cases) {
        const CliResult diff = cli(QStringList{QStringLiteral("diff")} + files);
        EXPECT_EQ(diff.exitCode, 1) << files.join(' ').toStdString() << ": " << diff.err.toStdString();
        EXPECT_EQ(diff.out, out);
    }
}

TEST_F(CliCompare, DiffRefusesFilesItCannotCompare) {
    writeFactoryFiles(2, "a", {});
    writeFactoryFiles(2, "b", {});
    writeFactoryFiles(3, "other", {});
    writeFile(path("junk.jv1"), "\"ZX-VA100ログファイル4\"\r\n");
    writeFile(path("partial.jv4"), contentsOf(path("a.jv4")));
    writeFile(path("bad.jv4"), contentsOf(path("a.jv4")));
    edit(path("bad.jv4"), QStringLiteral("\"PS番号\""), QStringLiteral("\"PS番\""));
    const std::pair<QStringList, QString> cases[] = {
        {{path("a.jv1"), path("none.jv1")},
         QStringLiteral("tolvan-cli: ") + path("none.jv1") + ": no such file"},
        // A set without the .jv1 the other has.
        {{path("a"), path("partial")},
         QStringLiteral("tolvan-cli: ") + path("partial.jv1") + ": no such file"},
        {{path("junk.jv1"), path("a.jv1")},
         QStringLiteral("tolvan-cli: ") + path("junk.jv1") +
             ": the first line is not the header of a log file 1 of ZX-VA100, ZX-VA150 or ZX-VA150(C)"},
        {{path("a.jv4"), path("bad.jv4")},
         QStringLiteral("エラー: ") + path("bad.jv4") + QStringLiteral(": PS番号:読み出しエラー")},
        {{path("a.jv2"), path("b.jv1")},
         QStringLiteral("tolvan-cli: ") + path("a.jv2") + " and " + path("b.jv1") +
             " are not log files of one kind"},
        // The first file read decides the model.
        {{path("a"), path("other")},
         QStringLiteral("エラー: ") + path("other.jv1") +
             QStringLiteral(": 接続モデルはZX-VA100ですが、読み込みファイルはZX-VA100用ではありません")},
        {{path("other.jv2"), path("a.jv2")},
         QStringLiteral("エラー: ") + path("a.jv2") +
             QStringLiteral(": 接続モデルはZX-VA150ですが、読み込みファイルはZX-VA150用ではありません")},
    };
    for (const auto& [files, message] : cases) {
        const CliResult diff = cli(QStringList{QStringLiteral("diff")} + files);
        EXPECT_EQ(diff.exitCode, 3) << files.join(' ').toStdString();
        EXPECT_EQ(diff.err, message + '\n');
        EXPECT_TRUE(diff.out.isEmpty());
    }
    EXPECT_EQ(cli({QStringLiteral("diff"), path("a")}).exitCode, 2);
    EXPECT_EQ(cli({QStringLiteral("diff"), path("a"), QStringLiteral("--verify")}).exitCode, 2);
}

// A save of b killed after its record of intent: diff finishes it first and says so, or refuses
// a set whose record cannot be read.
TEST_F(CliCompare, DiffFinishesASaveLeftUnfinishedFirst) {
    writeFactoryFiles(2, "a", {});
    writeFactoryFiles(2, "b", {});
    const QString staged = path("b.jv4") + QStringLiteral(".tolvan-new-1");
    writeFile(staged, contentsOf(path("b.jv4")));
    edit(staged, QStringLiteral("\"PS番号\",\"2\",\"1\",\"5\""),
         QStringLiteral("\"PS番号\",\"2\",\"5\",\"6\""));
    logfile::IntentRecord record;
    record.entries.append({path("b.jv4"), staged, {}});
    ASSERT_FALSE(record.write(path("b.tolvan-intent")));
    const CliResult diff = cli({QStringLiteral("diff"), path("a"), path("b")});
    EXPECT_EQ(diff.exitCode, 1) << diff.err.toStdString();
    EXPECT_EQ(diff.err, QStringLiteral("Tolvan: 前回中断した保存を完了しました: ") + path("b") + '\n');
    EXPECT_EQ(diff.out, QStringLiteral("PS番号\t2 1 5\t2 5 6\n"));
    EXPECT_FALSE(QFile::exists(staged));
    EXPECT_FALSE(QFile::exists(path("b.tolvan-intent")));

    writeFile(path("b.tolvan-intent"), "not a record");
    const CliResult refused = cli({QStringLiteral("check"), path("b")});
    EXPECT_EQ(refused.exitCode, 3);
    EXPECT_TRUE(refused.err.startsWith(QStringLiteral("エラー: 前回中断した保存を完了できないため")))
        << refused.err.toStdString();
}

// A set just saved is held; one changed line in each file is listed, and nothing is written.
// The ZX-VA150(C)'s menu has a gap that a write would close: still the same menu.
TEST_F(CliCompare, CheckListsEachLineOfASetTheHandsetDoesNotHold) {
    SimProcess sim(simArgs("ZX-VA150(C)"));
    ASSERT_TRUE(sim.started());
    ASSERT_EQ(cli(sim, {QStringLiteral("save"), path("unit")}).exitCode, 0);
    const CliResult held = cli(sim, {QStringLiteral("check"), path("unit")});
    EXPECT_EQ(held.exitCode, 0) << held.out.toStdString() << held.err.toStdString();
    EXPECT_TRUE(held.out.isEmpty());

    edit(path("unit.jv1"), QStringLiteral("\"待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ\",\"30\""),
         QStringLiteral("\"待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ\",\"5\""));
    edit(path("unit.jv4"), QStringLiteral("\"PS番号\",\"3\",\"9\",\"1\""),
         QStringLiteral("\"PS番号\",\"2\",\"5\",\"6\""));
    const CliResult differs = cli(sim, {QStringLiteral("check"), path("unit.jv3")});
    EXPECT_EQ(differs.exitCode, 1) << differs.err.toStdString();
    EXPECT_EQ(differs.out, QStringLiteral("待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ\t5\t30\nPS番号\t2 5 6\t3 9 1\n"));
    EXPECT_FALSE(anyWriteIn(held.err + differs.err));
    EXPECT_FALSE(anyBackup());
}

// A single file is read with its own mode's read: the calibration values are not in script 18.
TEST_F(CliCompare, CheckOfOneLogFileOfEachKind) {
    SimProcess sim(simArgs("ZX-VA100"));
    ASSERT_TRUE(sim.started());
    ASSERT_EQ(cli(sim, {QStringLiteral("params"), QStringLiteral("read"), path("p.jv1")}).exitCode, 0);
    ASSERT_EQ(cli(sim, {QStringLiteral("settings"), QStringLiteral("read"), path("s.jv4")}).exitCode, 0);
    ASSERT_EQ(cli(sim, {QStringLiteral("calibration"), QStringLiteral("read"), path("c.jv2")}).exitCode, 0);
    EXPECT_EQ(cli(sim, {QStringLiteral("check"), path("c.jv2")}).exitCode, 0);

    edit(path("p.jv1"), QStringLiteral("\"ｲﾝﾀｰﾊﾞﾙ値\",\"150\""), QStringLiteral("\"ｲﾝﾀｰﾊﾞﾙ値\",\"151\""));
    edit(path("s.jv4"), QStringLiteral("\"PS番号\",\"2\",\"1\",\"5\""),
         QStringLiteral("\"PS番号\",\"2\",\"1\",\"6\""));
    edit(path("c.jv2"), QStringLiteral("\"RSSI補正係数1\",\"2C\""),
         QStringLiteral("\"RSSI補正係数1\",\"2D\""));
    const std::pair<const char*, QString> cases[] = {
        {"p.jv1", QStringLiteral("ｲﾝﾀｰﾊﾞﾙ値\t151\t150\n")},
        {"s.jv4", QStringLiteral("PS番号\t2 1 6\t2 1 5\n")},
        {"c.jv2", QStringLiteral("RSSI補正係数1\t2D 01\t2C 01\n")},
    };
    for (const auto& [file, out] : cases) {
        const CliResult check = cli(sim, {QStringLiteral("check"), path(file)});
        EXPECT_EQ(check.exitCode, 1) << file << ": " << check.err.toStdString();
        EXPECT_EQ(check.out, out) << file;
        EXPECT_FALSE(anyWriteIn(check.err));
    }
}

TEST_F(CliCompare, CheckRefusesAnotherModelsSetAndABrokenFileBeforeReading) {
    SimProcess sim(simArgs("ZX-VA100"));
    ASSERT_TRUE(sim.started());
    writeFactoryFiles(3, "other", {});
    const CliResult other = cli(sim, {QStringLiteral("check"), path("other")});
    EXPECT_EQ(other.exitCode, 3);
    EXPECT_TRUE(other.err.contains(
        QStringLiteral("エラー: ") + path("other.jv1") +
        QStringLiteral(": 接続モデルはZX-VA100ですが、読み込みファイルはZX-VA100用ではありません")))
        << other.err.toStdString();
    EXPECT_TRUE(other.out.isEmpty());

    edit(path("other.jv4"), QStringLiteral("\"PS番号\""), QStringLiteral("\"PS番\""));
    const CliResult broken = cli(sim, {QStringLiteral("check"), path("other.jv4")});
    EXPECT_EQ(broken.exitCode, 3);
    EXPECT_EQ(broken.err,
              QStringLiteral("エラー: ") + path("other.jv4") + QStringLiteral(": PS番号:読み出しエラー\n"));
    EXPECT_EQ(cli(sim, {QStringLiteral("check"), path("none")}).exitCode, 3);
}

} // namespace
} // namespace tolvan::test
