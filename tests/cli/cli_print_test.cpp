#include "tests/cli/expectedparams.h"
#include "tests/support/cliprocess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tolvan::test {
namespace {

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// pdftotext's reading of a PDF, one text line per report line (tabs come out as spaces).
QStringList pdfLines(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                                QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        return {};
    }
    QStringList lines;
    for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty()) {
            lines << line.simplified();
        }
    }
    return lines;
}

// A report line as pdftotext gives it back: the tab-separated parts, one space between them.
QString spaced(const QString& reportLine) {
    return reportLine.split(QLatin1Char('\t'), Qt::SkipEmptyParts).join(QLatin1Char(' ')).simplified();
}

class CliPrint : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_hasPdftotext = !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
    }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    CliResult print(const QString& file, const QString& pdf) {
        return runCli({QStringLiteral("--log-root"), m_dir.path(), QStringLiteral("print"), file,
                       QStringLiteral("--pdf"), pdf});
    }

    QTemporaryDir m_dir;
    bool m_hasPdftotext = false;
};

TEST_F(CliPrint, ZxVa100ReportHasItsThirtyLinesInThePdf) {
    if (!m_hasPdftotext) {
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    // Saved in the customer's folder below the model's log folder: the customer name is printed.
    const QString folder = path(QStringLiteral("ZXVA100設定ログフォルダ/東京支店"));
    ASSERT_TRUE(QDir().mkpath(folder));
    QStringList lines = simParamsLines(2, QStringLiteral("点検済,A棟"));
    lines[19] = QStringLiteral("\"付加ID3\",\"0\",\"a\",\"5\",\"c\"");
    const QString file = folder + QStringLiteral("/handset.jv1");
    ASSERT_TRUE(writeBytes(file, cp932File(lines)));
    const QString pdf = path(QStringLiteral("report.pdf"));
    const CliResult r = print(file, pdf);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();

    const QStringList expected{
        QStringLiteral("ZX-VA100ﾛｸﾞﾌｧｲﾙ1 お客様名:東京支店\tメモ:点検済,A棟"),
        QString(117, QLatin1Char('-')),
        QStringLiteral("外部ﾏｲｺﾝｿﾌﾄｳｪｱ\t\t\t\tVer.02.14"),
        QStringLiteral("PSID\t\t\t\t\t198765432"),
        QStringLiteral("制御ch\t\t\t\t\t12chと18ch"),
        QStringLiteral("待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ\t\t\t30\tdBμV"),
        QStringLiteral("待ち受けｿﾞｰﾝ保持ﾚﾍﾞﾙ\t\t\t20\tdBμV"),
        QStringLiteral("再発呼型ﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ\t\t25\tdBμV"),
        QStringLiteral("再発呼型ﾊﾝﾄﾞｵｰﾊﾞｰ選択ﾚﾍﾞﾙ\t\t35\tdBμV"),
        QStringLiteral("TCH切替え型ﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ\t\t28\tdBμV"),
        QStringLiteral("ﾁｬﾈﾙ切替えFERしきい値　ｽﾛｯﾄｴﾗｰ数\t\t200"),
        QStringLiteral("FER起動型ﾊﾝﾄﾞｵｰﾊﾞｰﾚﾍﾞﾙ\t\t\t+6dB"),
        QStringLiteral("CS-ID中のｼｽﾃﾑ呼び出し符号\t\t512345678"),
        QStringLiteral("ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ\t\t\t40\tdBμV"),
        QStringLiteral("ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰ選択ﾚﾍﾞﾙ\t\t\t45\tdBμV"),
        QStringLiteral("ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰFERしきい値\t\t\t12"),
        QStringLiteral("一斉呼び出しｴﾘｱ種別\t\t\tｼｽﾃﾑ呼出符号+付加ID"),
        QStringLiteral("CS-IDの付加ID設定数\t\t\t5"),
        QStringLiteral("付加ID1\t\t\t\t\t1fff"),
        QStringLiteral("付加ID2\t\t\t\t\t0123"),
        QStringLiteral("付加ID3\t\t\t\t\t0a5c"),
        QStringLiteral("付加ID4\t\t\t\t\t1000"),
        QStringLiteral("付加ID5\t\t\t\t\t0001"),
        QStringLiteral("付加ID6\t\t\t\t\t0fed"),
        QStringLiteral("付加ID7\t\t\t\t\t0777"),
        QStringLiteral("付加ID8\t\t\t\t\t1abc"),
        QStringLiteral("ｲﾝﾀｰﾊﾞﾙ値\t\t\t\t150"),
        QStringLiteral("ZX-RM15検出\t\t\t\tｵﾝ"),
        QStringLiteral("VA100受話ｹﾞｲﾝ調整機能\t\t\tｵﾝ"),
        QStringLiteral("障害監視ｺｰﾄﾞ\t\t\t\tZKO"),
    };
    QStringList spacedExpected;
    for (const QString& line : expected) {
        spacedExpected << spaced(line);
    }
    EXPECT_EQ(pdfLines(pdf), spacedExpected);
}

TEST_F(CliPrint, ModelComesFromTheHeaderWhateverTheName) {
    if (!m_hasPdftotext) {
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    // Not in a customer folder: the customer name stays empty.
    const QString file = path(QStringLiteral("saved by a script.txt"));
    ASSERT_TRUE(writeBytes(file, cp932File(simParamsLines(3, QStringLiteral("memo")))));
    const QString pdf = path(QStringLiteral("va150.pdf"));
    const CliResult r = print(file, pdf);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = pdfLines(pdf);
    ASSERT_EQ(lines.size(), 16);
    EXPECT_EQ(lines.first(), spaced(QStringLiteral("ZX-VA150ﾛｸﾞﾌｧｲﾙ1 お客様名:\tメモ:memo")));
    EXPECT_EQ(lines.at(3), QStringLiteral("PSID 234567891"));
    EXPECT_EQ(lines.last(), QStringLiteral("障害監視ｺｰﾄﾞ ZKO"));

    ASSERT_TRUE(writeBytes(file, cp932File(simParamsLines(4, QString()))));
    ASSERT_EQ(print(file, pdf).exitCode, 0);
    const QStringList va150c = pdfLines(pdf);
    ASSERT_EQ(va150c.size(), 29);
    EXPECT_EQ(va150c.first(), spaced(QStringLiteral("ZX-VA150(B)ﾛｸﾞﾌｧｲﾙ1 お客様名:\tメモ:")));
}

TEST_F(CliPrint, BadLinesAreReportedAndPrintedEmpty) {
    if (!m_hasPdftotext) {
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    QStringList lines = simParamsLines(3, QString());
    lines[4] = QStringLiteral("\"待ち受けｿﾞｰﾝ選択\",\"30\"");
    const QString file = path(QStringLiteral("bad.jv1"));
    ASSERT_TRUE(writeBytes(file, cp932File(lines)));
    const QString pdf = path(QStringLiteral("bad.pdf"));
    const CliResult r = print(file, pdf);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, QStringLiteral("エラー: 待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ:読み出しエラー\n"));
    const QStringList printed = pdfLines(pdf);
    ASSERT_EQ(printed.size(), 16);
    EXPECT_EQ(printed.at(5), QStringLiteral("待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ dBμV"));
}

TEST_F(CliPrint, FilesItCannotPrint) {
    const QString pdf = path(QStringLiteral("out.pdf"));
    // A log file 3 that is only its header has none of its sections: a file error.
    const QString jv3 = path(QStringLiteral("buffers.jv3"));
    ASSERT_TRUE(writeBytes(jv3, cp932File({QStringLiteral("\"ZX-VA100ログファイル3\"")})));
    CliResult r = print(jv3, pdf);
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_TRUE(r.err.contains(QStringLiteral("not a log file 3"))) << r.err.toStdString();
    // A log file 4 that is only its header prints with every line reported and empty.
    const QString jv4 = path(QStringLiteral("settings.txt"));
    ASSERT_TRUE(writeBytes(jv4, cp932File({QStringLiteral("\"ZX-VA150(C)ログファイル4\"")})));
    EXPECT_EQ(print(jv4, pdf).exitCode, 0);
    QFile::remove(pdf);
    // A .jv2 without its header is a file error now that log file 2 prints.
    const QString jv2 = path(QStringLiteral("calibration.jv2"));
    ASSERT_TRUE(writeBytes(jv2, QByteArray("junk\r\n")));
    EXPECT_EQ(print(jv2, pdf).exitCode, 3);

    // A .jv1 whose header names no model, a file that is no log file, one that is not there.
    const QString headless = path(QStringLiteral("headless.jv1"));
    ASSERT_TRUE(writeBytes(headless, cp932File({QStringLiteral("\"PS-ID\",\"1\"")})));
    r = print(headless, pdf);
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_TRUE(r.err.contains(QStringLiteral("not the header of a log file 1"))) << r.err.toStdString();
    const QString text = path(QStringLiteral("notes.txt"));
    ASSERT_TRUE(writeBytes(text, QByteArray("hello\n")));
    EXPECT_EQ(print(text, pdf).exitCode, 3);
    EXPECT_EQ(print(path(QStringLiteral("absent.jv1")), pdf).exitCode, 3);
    EXPECT_FALSE(QFileInfo::exists(pdf));

    // An output that cannot be written leaves nothing behind.
    const QString good = path(QStringLiteral("good.jv1"));
    ASSERT_TRUE(writeBytes(good, cp932File(simParamsLines(3, QString()))));
    r = print(good, path(QStringLiteral("no-such-folder/out.pdf")));
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_TRUE(
        r.err.startsWith(QStringLiteral("tolvan-cli: ") + path(QStringLiteral("no-such-folder/out.pdf"))))
        << r.err.toStdString();
}

TEST_F(CliPrint, UsageErrors) {
    const QString file = path(QStringLiteral("good.jv1"));
    ASSERT_TRUE(writeBytes(file, cp932File(simParamsLines(3, QString()))));
    for (const QStringList& args :
         {QStringList{"print", file}, QStringList{"print", file, "--pdf"},
          QStringList{"print", file, "out.pdf"}, QStringList{"print", file, "--pdf", "out.pdf", "extra"},
          QStringList{"print", file, "--png", "out.png"},
          QStringList{"print", "--pdf", "out.pdf", "--pdf"}}) {
        const CliResult r = runCli(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("print FILE --pdf OUT"))) << r.err.toStdString();
    }
    // The option may come first.
    const QString pdf = path(QStringLiteral("first.pdf"));
    EXPECT_EQ(runCli({QStringLiteral("print"), QStringLiteral("--pdf"), pdf, file}).exitCode, 0);
    EXPECT_TRUE(QFileInfo(pdf).size() > 0);
}

} // namespace
} // namespace tolvan::test
