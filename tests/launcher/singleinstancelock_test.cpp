#include "singleinstancelock.h"
#include "testfolders.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kName = QStringLiteral("ZX-VAｼﾘｰｽﾞ子機設定ｿﾌﾄｳｪｱ LAUNCHER");

class SingleInstanceLockTest : public ::testing::Test {
protected:
    QTemporaryDir m_runtime;
    ScopedEnv m_env{"XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path())};
};

TEST_F(SingleInstanceLockTest, OnlyOneHolderUntilItLetsGo) {
    {
        const SingleInstanceLock first(kName);
        ASSERT_EQ(first.state(), SingleInstanceLock::State::Acquired);
        EXPECT_TRUE(QFile::exists(m_runtime.filePath(kName + QStringLiteral(".lock"))));
        const SingleInstanceLock second(kName);
        EXPECT_EQ(second.state(), SingleInstanceLock::State::HeldElsewhere);
    }
    const SingleInstanceLock third(kName);
    EXPECT_EQ(third.state(), SingleInstanceLock::State::Acquired);
}

TEST_F(SingleInstanceLockTest, FileLeftByADeadHolderDoesNotBlock) {
    QFile stale(SingleInstanceLock::lockFilePath(kName));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    const SingleInstanceLock lock(kName);
    EXPECT_EQ(lock.state(), SingleInstanceLock::State::Acquired);
}

TEST_F(SingleInstanceLockTest, OtherNamesDoNotInterfere) {
    const SingleInstanceLock launcher(kName);
    const SingleInstanceLock other(QStringLiteral("another program"));
    EXPECT_EQ(launcher.state(), SingleInstanceLock::State::Acquired);
    EXPECT_EQ(other.state(), SingleInstanceLock::State::Acquired);
}

// A tool started while the lock is held must not inherit it: otherwise a launcher that dies
// while Tolvan runs would lock out every new launcher until Tolvan ends.
TEST_F(SingleInstanceLockTest, ChildProcessDoesNotKeepTheLock) {
    const QString marker = m_runtime.filePath(QStringLiteral("marker"));
    const ScopedEnv markerEnv("LAUNCHER_FAKE_TOOL_MARKER", QFile::encodeName(marker));
    QProcess tool;
    {
        const SingleInstanceLock lock(kName);
        ASSERT_EQ(lock.state(), SingleInstanceLock::State::Acquired);
        tool.setProgram(QStringLiteral(FAKE_TOOL_BINARY));
        tool.start();
        ASSERT_TRUE(tool.waitForStarted(10000));
    }
    const SingleInstanceLock next(kName);
    EXPECT_EQ(next.state(), SingleInstanceLock::State::Acquired);
    EXPECT_EQ(tool.state(), QProcess::Running);

    QFile release(marker + QStringLiteral(".release"));
    ASSERT_TRUE(release.open(QIODevice::WriteOnly));
    EXPECT_TRUE(tool.waitForFinished(10000));
}

} // namespace
