#include "tests/cli/expectedparams.h"
#include "tests/support/cliprocess.h"

#include "tests/support/filebytes.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tolvan::test {
namespace {

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Replaces the line whose first field is the label.
void setLine(QStringList& lines, const QString& label, const QStringList& values) {
    const QString start = QLatin1Char('"') + label + QLatin1Char('"');
    for (QString& line : lines) {
        if (line == start || line.startsWith(start + QLatin1Char(','))) {
            line = start;
            for (const QString& value : values) {
                line += QStringLiteral(",\"") + value + QLatin1Char('"');
            }
            return;
        }
    }
    ADD_FAILURE() << "no line " << label.toStdString();
}

struct Model {
    const char* name;
    std::uint32_t code;
};

void PrintTo(const Model& model, std::ostream* os) {
    *os << model.name;
}

class CliParams : public ::testing::TestWithParam<Model> {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    // The simulator answers at once: these tests are about what is read and written, the
    // benchmark is about time.
    QStringList simArguments() const {
        return {QStringLiteral("--model"), QString::fromLatin1(GetParam().name),
                QStringLiteral("--no-pacing")};
    }
    CliResult params(const SimProcess& sim, const char* direction, const QString& file,
                     const QString& memo = QString()) {
        return runCli({QStringLiteral("--port"), sim.device(), QStringLiteral("--memo"), memo,
                       QStringLiteral("params"), QString::fromLatin1(direction), file},
                      90000);
    }
    QString path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }

    QTemporaryDir m_dir;
};

TEST_P(CliParams, ReadWritesTheFactoryDataAsLogFile1UnderTheExactName) {
    SimProcess sim(simArguments());
    ASSERT_TRUE(sim.started());
    // A memo with commas and Japanese text goes into the file as given.
    const QString memo = QStringLiteral("点検済,A棟 3F");
    const QString file = path("handset 7");
    const CliResult r = params(sim, "read", file, memo);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(contentsOf(file), cp932File(simParamsLines(GetParam().code, memo)));
    // No extension is added and nothing else is left in the folder.
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("handset 7")});
}

TEST_P(CliParams, WrittenEditsComeBackOnTheNextRead) {
    SimProcess sim(simArguments());
    ASSERT_TRUE(sim.started());
    const QString original = path("original.jv1");
    ASSERT_EQ(params(sim, "read", original).exitCode, 0);

    QStringList lines = linesOfCp932File(contentsOf(original));
    setLine(lines, QStringLiteral("PS-ID"), {"1", "1", "1", "2", "2", "2", "3", "3", "3"});
    setLine(lines, QStringLiteral("待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ"), {"45"});
    setLine(lines, QStringLiteral("ﾁｬﾈﾙ切替えFERしきい値　ｽﾛｯﾄｴﾗｰ数"), {"17"});
    setLine(lines, QStringLiteral("CS-ID中のｼｽﾃﾑ呼び出し符号"),
            {"0", "0", "0", "0", "7", "6", "5", "4", "3"});
    setLine(lines, QStringLiteral("ｲﾝﾀｰﾊﾞﾙ値"), {"99"});
    setLine(lines, QStringLiteral("ZX-RM15検出"), {"ｵﾌ"});
    if (GetParam().code != 3) {
        setLine(lines, QStringLiteral("ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰFERしきい値"), {"31"});
        setLine(lines, QStringLiteral("CS-IDの付加ID設定数"), {"8"});
        setLine(lines, QStringLiteral("付加ID3"), {"0", "b", "c", "d"});
    }
    const QString edited = path("edited.jv1");
    ASSERT_TRUE(writeBytes(edited, cp932File(lines)));
    const CliResult write = params(sim, "write", edited);
    ASSERT_EQ(write.exitCode, 0) << write.err.toStdString();
    EXPECT_TRUE(write.err.isEmpty()) << write.err.toStdString();

    const QString after = path("after.jv1");
    ASSERT_EQ(params(sim, "read", after).exitCode, 0);
    EXPECT_EQ(linesOfCp932File(contentsOf(after)), lines);
}

INSTANTIATE_TEST_SUITE_P(
    AllModels, CliParams,
    ::testing::Values(Model{"ZX-VA100", 2}, Model{"ZX-VA150", 3}, Model{"ZX-VA150(C)", 4}),
    [](const auto& info) {
        return std::string(info.param.code == 2 ? "VA100" : info.param.code == 3 ? "VA150" : "VA150C");
    });

class CliParamsFailures : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    QTemporaryDir m_dir;
};

TEST_F(CliParamsFailures, BadLinesAreReportedAndTheOtherItemsAreStillWritten) {
    SimProcess sim({QStringLiteral("--model"), QStringLiteral("ZX-VA100"), QStringLiteral("--no-pacing")});
    ASSERT_TRUE(sim.started());
    QStringList lines = simParamsLines(2, QString());
    lines[2] = QStringLiteral("\"PS-lD\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\"");
    setLine(lines, QStringLiteral("付加ID2"), {"0", "g", "2", "3"});
    setLine(lines, QStringLiteral("待ち受けｿﾞｰﾝ保持ﾚﾍﾞﾙ"), {"21"});
    const QString file = path("bad.jv1");
    ASSERT_TRUE(writeBytes(file, cp932File(lines)));
    const CliResult write = runCli(
        {QStringLiteral("--port"), sim.device(), QStringLiteral("params"), QStringLiteral("write"), file},
        90000);
    EXPECT_EQ(write.exitCode, 0) << write.err.toStdString();
    EXPECT_EQ(write.err, QStringLiteral("エラー: PS-ID:読み出しエラー\nエラー: ファイルデータエラー\n"));

    const QString after = path("after.jv1");
    ASSERT_EQ(runCli({QStringLiteral("--port"), sim.device(), QStringLiteral("params"),
                      QStringLiteral("read"), after},
                     90000)
                  .exitCode,
              0);
    QStringList expected = simParamsLines(2, QString());
    setLine(expected, QStringLiteral("付加ID2"), {"0", "0", "2", "3"});
    setLine(expected, QStringLiteral("待ち受けｿﾞｰﾝ保持ﾚﾍﾞﾙ"), {"21"});
    EXPECT_EQ(linesOfCp932File(contentsOf(after)), expected);
}

TEST_F(CliParamsFailures, FileOfAnotherModelIsRefusedAndNothingIsWritten) {
    SimProcess sim({QStringLiteral("--model"), QStringLiteral("ZX-VA150(C)"), QStringLiteral("--no-pacing")});
    ASSERT_TRUE(sim.started());
    QStringList lines = simParamsLines(3, QString());
    setLine(lines, QStringLiteral("待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ"), {"60"});
    const QString file = path("va150.jv1");
    ASSERT_TRUE(writeBytes(file, cp932File(lines)));
    const CliResult write = runCli(
        {QStringLiteral("--port"), sim.device(), QStringLiteral("params"), QStringLiteral("write"), file},
        90000);
    EXPECT_EQ(write.exitCode, 3);
    EXPECT_EQ(write.err, QStringLiteral("エラー: 接続モデルはZX-VA150(C)ですが、読み込みファイルはZX-VA150(C)"
                                        "用ではありません\n"));

    const QString after = path("after.jv1");
    ASSERT_EQ(runCli({QStringLiteral("--port"), sim.device(), QStringLiteral("params"),
                      QStringLiteral("read"), after},
                     90000)
                  .exitCode,
              0);
    EXPECT_EQ(contentsOf(after), cp932File(simParamsLines(4, QString())));
}

TEST_F(CliParamsFailures, MissingFileEndsBeforeTheHandsetIsTouched) {
    SimProcess sim({QStringLiteral("--no-pacing")});
    ASSERT_TRUE(sim.started());
    const CliResult r = runCli({QStringLiteral("--trace"), QStringLiteral("--port"), sim.device(),
                                QStringLiteral("params"), QStringLiteral("write"), path("absent.jv1")});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.err, QStringLiteral(
                         "エラー: 指定されたファイルは存在しません。\nファイル名を再入力してください。\n"));
    EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();

    // A folder is not a log file either.
    EXPECT_EQ(runCli({QStringLiteral("--port"), sim.device(), QStringLiteral("params"),
                      QStringLiteral("write"), m_dir.path()})
                  .exitCode,
              3);
}

TEST_F(CliParamsFailures, UnwritableTargetsEndBeforeTheHandsetIsTouched) {
    SimProcess sim({QStringLiteral("--no-pacing")});
    ASSERT_TRUE(sim.started());
    ASSERT_TRUE(QFile(path("plain")).open(QIODevice::WriteOnly));
    QStringList targets{path("no-such-folder/params.jv1"), path("plain/params.jv1")};
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("locked")));
    QFile::setPermissions(path("locked"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    // Root writes into a read-only folder anyway; there only the other two cases apply.
    if (!QFileInfo(path("locked")).isWritable()) {
        targets << path("locked/params.jv1");
    }
    for (const QString& target : targets) {
        const CliResult r = runCli({QStringLiteral("--trace"), QStringLiteral("--port"), sim.device(),
                                    QStringLiteral("params"), QStringLiteral("read"), target});
        EXPECT_EQ(r.exitCode, 3) << target.toStdString();
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("エラー: ") + target + QStringLiteral(": ")))
            << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        EXPECT_FALSE(QFileInfo::exists(target));
    }
    QFile::setPermissions(path("locked"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    // A memo code page 932 cannot carry is refused the same way.
    const CliResult memo = runCli({QStringLiteral("--port"), sim.device(), QStringLiteral("--memo"),
                                   QStringLiteral("caf\u00e9 \U0001F600"), QStringLiteral("params"),
                                   QStringLiteral("read"), path("memo.jv1")});
    EXPECT_EQ(memo.exitCode, 3);
    EXPECT_TRUE(memo.err.startsWith(QStringLiteral("エラー: メモ: "))) << memo.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("memo.jv1")));
}

TEST_F(CliParamsFailures, SilentHandsetLeavesNoFile) {
    SimProcess sim(
        {QStringLiteral("--no-pacing"), QStringLiteral("--fault"), QStringLiteral("silence@1401,count=0")});
    ASSERT_TRUE(sim.started());
    const QString file = path("params.jv1");
    const CliResult r = runCli(
        {QStringLiteral("--port"), sim.device(), QStringLiteral("params"), QStringLiteral("read"), file},
        90000);
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("エラー: "))) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(file));
}

TEST_F(CliParamsFailures, CheckByteErrorIsAFatalLinkError) {
    SimProcess sim(
        {QStringLiteral("--no-pacing"), QStringLiteral("--fault"), QStringLiteral("bad-check@1401,count=0")});
    ASSERT_TRUE(sim.started());
    const QString file = path("params.jv1");
    const CliResult r = runCli(
        {QStringLiteral("--port"), sim.device(), QStringLiteral("params"), QStringLiteral("read"), file},
        90000);
    EXPECT_EQ(r.exitCode, 4) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(file));
}

TEST_F(CliParamsFailures, NoHandsetGivesTheDataSettingMessage) {
    const CliResult r = runCli({QStringLiteral("--port"), QStringLiteral("/dev/does-not-exist"),
                                QStringLiteral("params"), QStringLiteral("read"), path("params.jv1")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(
        QStringLiteral("エラー: 子機と通信が出来ませんでした。\n接続と電源がONか確認して下さい。")))
        << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("params.jv1")));
}

// The units of a --trace run, direction and bytes ("> 02 20 03 23").
QStringList tracedUnits(const QString& out) {
    QStringList units;
    for (const QString& line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        units << line.simplified().section(QLatin1Char(' '), 1);
    }
    return units;
}

TEST_F(CliParamsFailures, SessionEndsAtTheLastScriptsAcknowledgedCloseFrame) {
    SimProcess sim({QStringLiteral("--no-pacing"), QStringLiteral("--model"), QStringLiteral("ZX-VA100")});
    ASSERT_TRUE(sim.started());
    const QString file = path("params.jv1");
    const CliResult read = runCli({QStringLiteral("--trace"), QStringLiteral("--port"), sim.device(),
                                   QStringLiteral("params"), QStringLiteral("read"), file},
                                  90000);
    ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();
    const QStringList units = tracedUnits(read.err);
    // One dialogue: open, model query, the sixteen reads, close; no keep-alive dialogue after.
    ASSERT_GE(units.size(), 2);
    EXPECT_EQ(units.first(), QStringLiteral("> 02 20 03 23"));
    EXPECT_EQ(units.count(QStringLiteral("> 02 20 03 23")), 1);
    EXPECT_EQ(units.count(QStringLiteral("> 02 21 03 22")), 1);
    EXPECT_EQ(units.mid(units.size() - 2),
              (QStringList{QStringLiteral("> 02 21 03 22"), QStringLiteral("< 06")}));
    EXPECT_EQ(units.count(QStringLiteral("> 02 70 03 73")), 2 + 16);

    // The write runs in the keep-alive dialogue the read leaves, and ends at script 1's close.
    const CliResult write = runCli({QStringLiteral("--trace"), QStringLiteral("--port"), sim.device(),
                                    QStringLiteral("params"), QStringLiteral("write"), file},
                                   90000);
    ASSERT_EQ(write.exitCode, 0) << write.err.toStdString();
    const QStringList written = tracedUnits(write.err);
    EXPECT_EQ(written.count(QStringLiteral("> 02 21 03 22")), 2);
    EXPECT_EQ(written.mid(written.size() - 2),
              (QStringList{QStringLiteral("> 02 21 03 22"), QStringLiteral("< 06")}));
}

TEST(CliParamsUsage, WrongArgumentsAreUsageErrors) {
    for (const QStringList& args :
         {QStringList{"params"}, QStringList{"params", "read"}, QStringList{"params", "write"},
          QStringList{"params", "read", "a.jv1", "b.jv1"}, QStringList{"params", "copy", "a.jv1"}}) {
        const CliResult r = runCli(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("params read FILE"))) << r.err.toStdString();
    }
}

} // namespace
} // namespace tolvan::test
