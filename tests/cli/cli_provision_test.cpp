// tolvan-cli provision against tolvan-sim --sequence: a plan with a bad cell touches nothing; a
// run of two handsets on one pty prints a line each, saves their sets, and its summary prints;
// a registering run registers under the row or fails the row with the registration's cause;
// Ctrl-C in the middle of a write lets that handset finish and starts no other.
#include "flows/provision/provisionsummary.h"
#include "modes/datasave/model/saveset.h"
#include "tests/modes/datasave/model/simhandsetstore.h"
#include "tests/support/backupfoldertest.h"
#include "tests/support/cliprocess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>

namespace tolvan::test {
namespace {

class CliProvision : public BackupFolderTest {
protected:
    void SetUp() override {
        BackupFolderTest::SetUp();
        const auto store = datasave::test::storeReadFromSim(3);
        ASSERT_FALSE(datasave::writeSaveSet(
            m_dir.filePath(QStringLiteral("standard")),
            std::get<datasave::SaveSetFiles>(datasave::buildSaveSet(store, 3, QString()))));
    }
    void writePlan(const QByteArray& csv) {
        QFile plan(m_dir.filePath(QStringLiteral("plan.csv")));
        ASSERT_TRUE(plan.open(QIODevice::WriteOnly));
        plan.write(csv);
    }
    QStringList args(const QString& port) {
        return {QStringLiteral("--port"),     port,
                QStringLiteral("provision"),  m_dir.filePath(QStringLiteral("plan.csv")),
                QStringLiteral("--template"), m_dir.filePath(QStringLiteral("standard.jv4")),
                QStringLiteral("--out"),      m_dir.filePath(QStringLiteral("run"))};
    }
};

TEST_F(CliProvision, ABadPlanTouchesNoHandset) {
    writePlan("PS-ID,PS番号\n123,201\n");
    const CliResult result = runCli(args(QStringLiteral("/dev/null")));
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.err, QStringLiteral("2行目, PS-ID, 9桁の数字(268435455まで)ではありません\n"));
    EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("run/provision.jsonl"))));
}

TEST_F(CliProvision, TwoHandsetsInTurnOnOnePty) {
    writePlan("PS-ID,PS番号\n100000002,201\n100000003,202\n");
    SimProcess sim({QStringLiteral("--no-pacing"), QStringLiteral("--sequence"),
                    QStringLiteral("234567001,234567002"), QStringLiteral("--swap-ms"),
                    QStringLiteral("200")});
    ASSERT_TRUE(sim.started());
    const CliResult result = runCli(args(sim.device()), 60000);
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QStringList lines = result.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("2\t201\t100000002\tZX-VA150\t成功\t")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("3\t202\t100000003\tZX-VA150\t成功\t")));
    EXPECT_TRUE(QFile::exists(m_dir.filePath(QStringLiteral("run/202_100000003.jv4"))));
    EXPECT_EQ(result.err.count(QStringLiteral("次の子機に交換してください")), 1);

    QFile summary(m_dir.filePath(QStringLiteral("run/summary.csv")));
    ASSERT_TRUE(summary.open(QIODevice::ReadOnly));
    const auto rows = provision::readSummaryCsv(summary.readAll());
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->size(), 2);
    const QString pdf = m_dir.filePath(QStringLiteral("summary.pdf"));
    EXPECT_EQ(runCli({QStringLiteral("print"), summary.fileName(), QStringLiteral("--pdf"), pdf}).exitCode,
              0);
    EXPECT_TRUE(QFile::exists(pdf));
}

TEST_F(CliProvision, CtrlCStopsOnceTheHandsetOnTheCableIsFinished) {
    writePlan("PS-ID,PS番号\n100000002,201\n100000003,202\n");
    SimProcess sim({QStringLiteral("--no-pacing"), QStringLiteral("--sequence"),
                    QStringLiteral("234567001,234567002"), QStringLiteral("--swap-ms"),
                    QStringLiteral("200")});
    ASSERT_TRUE(sim.started());
    QProcess cli;
    cli.start(QStringLiteral(TOLVAN_CLI_PATH), args(sim.device()));
    ASSERT_TRUE(cli.waitForStarted());
    // The backup is journalled just before the write goes out: that is when Ctrl-C comes.
    QFile journal(m_dir.filePath(QStringLiteral("run/provision.jsonl")));
    const QDeadlineTimer deadline(30000);
    while (!(journal.open(QIODevice::ReadOnly) && journal.readAll().contains(R"("step":"backup")")) &&
           !deadline.hasExpired()) {
        journal.close();
        QThread::msleep(5);
    }
    journal.close();
    ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitStatus(), QProcess::CrashExit); // ended by the signal, as a stopped program does
    EXPECT_TRUE(QString::fromUtf8(cli.readAllStandardError()).contains(QStringLiteral("中断します")));

    ASSERT_TRUE(journal.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = journal.readAll().split('\n');
    EXPECT_TRUE(lines.at(lines.size() - 2).contains(R"("step":"done")")) << lines.join('\n').toStdString();
    for (const QByteArray& line : lines) {
        EXPECT_FALSE(line.contains(R"("row":3)")) << line.toStdString();
    }
    const auto rows = [&] {
        QFile summary(m_dir.filePath(QStringLiteral("run/summary.csv")));
        return summary.open(QIODevice::ReadOnly) ? provision::readSummaryCsv(summary.readAll())
                                                 : std::nullopt;
    }();
    ASSERT_TRUE(rows);
    EXPECT_EQ((*rows)[0].result, provision::passedText());
    EXPECT_EQ((*rows)[1].result, provision::notRunText());
}

// A ZX-VA100 plan with --register: the handset is registered under its row's PS number and PIN
// and its set saved; a registration the handset refuses fails the row with its cause, saves nothing.
TEST_F(CliProvision, RegistersUnderTheRowAndARefusedRegistrationFailsItsRow) {
    const auto store = datasave::test::storeReadFromSim(2);
    ASSERT_FALSE(datasave::writeSaveSet(
        m_dir.filePath(QStringLiteral("va100")),
        std::get<datasave::SaveSetFiles>(datasave::buildSaveSet(store, 2, QString()))));
    writePlan("PS-ID,PS番号,暗証番号\n100000011,211,1234\n");
    auto run = [&](const QString& rule, const QString& out) {
        SimProcess sim({QStringLiteral("--no-pacing"), QStringLiteral("--registration"), rule,
                        QStringLiteral("--sequence"), QStringLiteral("234560011:ZX-VA100")});
        EXPECT_TRUE(sim.started());
        QStringList arguments = args(sim.device());
        arguments[5] = m_dir.filePath(QStringLiteral("va100.jv1"));
        arguments[7] = m_dir.filePath(out);
        arguments << QStringLiteral("--register");
        return runCli(arguments, 90000);
    };

    const CliResult registered = run(QStringLiteral("success"), QStringLiteral("ok"));
    EXPECT_EQ(registered.exitCode, 0) << registered.err.toStdString();
    EXPECT_TRUE(registered.out.startsWith(QStringLiteral("2\t211\t100000011\tZX-VA100\t成功\t")));
    QFile jv4(m_dir.filePath(QStringLiteral("ok/211_100000011.jv4")));
    ASSERT_TRUE(jv4.open(QIODevice::ReadOnly));
    EXPECT_TRUE(jv4.readAll().contains("\"2\",\"1\",\"1\"\r\n\"PS-ID\",\"1\",\"0\""));

    const CliResult refused = run(QStringLiteral("failure,cause=70"), QStringLiteral("refused"));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.out.startsWith(QStringLiteral("2\t211\t100000011\tZX-VA100\t失敗\t")));
    EXPECT_TRUE(refused.out.trimmed().endsWith(QStringLiteral("\t子機増設拒否(子機番号不一致)")));
    EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("refused/211_100000011.jv4"))));
}

} // namespace
} // namespace tolvan::test
