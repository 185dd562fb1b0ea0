// The launcher binary itself, run as real processes.
#include "testfolders.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kName = QStringLiteral("ZX-VAｼﾘｰｽﾞ子機設定ｿﾌﾄｳｪｱ LAUNCHER");

class VantorProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_runtime.isValid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("VANTOR_DISMISS_REFUSAL"), QStringLiteral("1"));
        for (QProcess* vantor : {&m_first, &m_second, &m_third}) {
            vantor->setProcessEnvironment(env);
            vantor->setProgram(QStringLiteral(VANTOR_BINARY));
        }
    }

    void TearDown() override {
        for (QProcess* vantor : {&m_first, &m_second, &m_third}) {
            if (vantor->state() != QProcess::NotRunning) {
                vantor->kill();
                vantor->waitForFinished(10000);
            }
        }
    }

    QString lockFile() const { return m_runtime.filePath(kName + QStringLiteral(".lock")); }

    bool waitUntilHolding(QProcess& vantor) {
        return QTest::qWaitFor([&] { return holdsFlock(vantor.processId(), lockFile()); }, 10000);
    }

    QTemporaryDir m_runtime;
    QProcess m_first;
    QProcess m_second;
    QProcess m_third;
};

TEST_F(VantorProcessTest, SecondCopyIsRefusedAndEndsWithStatusZero) {
    m_first.start();
    ASSERT_TRUE(m_first.waitForStarted(10000));
    ASSERT_TRUE(waitUntilHolding(m_first));

    m_second.start();
    ASSERT_TRUE(m_second.waitForFinished(10000));
    EXPECT_EQ(m_second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_second.exitCode(), 0);
    const QString refusal = kName + QStringLiteral(": ZX-VAｼﾘｰｽﾞ子機設定ｿﾌﾄｳｪｱ LAUNCHER\n"
                                                   "同一アプリケーションの多重起動はできません。\n"
                                                   "同時に2つ以上のアプリケーションは起動できません。\n"
                                                   "\n"
                                                   "終了します。\n");
    EXPECT_TRUE(QString::fromUtf8(m_second.readAllStandardError()).contains(refusal));

    EXPECT_EQ(m_first.state(), QProcess::Running);
    EXPECT_TRUE(holdsFlock(m_first.processId(), lockFile()));
}

TEST_F(VantorProcessTest, LockDiesWithTheLauncher) {
    m_first.start();
    ASSERT_TRUE(m_first.waitForStarted(10000));
    ASSERT_TRUE(waitUntilHolding(m_first));
    m_first.kill();
    ASSERT_TRUE(m_first.waitForFinished(10000));

    // The lock file is still there; the next launcher starts all the same.
    EXPECT_TRUE(QFile::exists(lockFile()));
    m_third.start();
    ASSERT_TRUE(m_third.waitForStarted(10000));
    EXPECT_TRUE(waitUntilHolding(m_third));
    EXPECT_EQ(m_third.state(), QProcess::Running);
}

} // namespace
