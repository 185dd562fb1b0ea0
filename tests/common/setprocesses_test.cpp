// Sets of log files against real processes: one killed at every step of a save, and backups of one
// handset taken by two processes within the same second.
#include "common/backup/backupfolder.h"
#include "common/logfile/setrecovery.h"
#include "common/modelnames.h"
#include "tests/support/logfilesetfixture.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSet>

#include <sys/wait.h>
#include <unistd.h>

#include <iostream>

namespace tolvan::logfile {
namespace {

using Step = LogFileSet::Step;
using SetProcessesTest = LogFileSetFixture;

constexpr int kKilled = 9;

TEST_F(SetProcessesTest, AKillAtAnyStepLeavesOneWholeSetAfterTheNextUse) {
    int steps = 0;
    {
        LogFileSet counting;
        fill(counting);
        counting.setStepHook([&](Step, qsizetype) {
            ++steps;
            return true;
        });
        ASSERT_FALSE(counting.save());
        writeOlder();
    }
    ASSERT_GT(steps, 0);
    int whole = 0;
    QSet<QByteArray> seen;
    for (int k = 1; k <= steps; ++k) {
        EXPECT_EXIT(
            {
                LogFileSet set;
                fill(set);
                set.setStepHook([k, reached = 0](Step, qsizetype) mutable {
                    if (++reached == k) {
                        ::_exit(kKilled);
                    }
                    return true;
                });
                set.save();
                ::_exit(0);
            },
            ::testing::ExitedWithCode(kKilled), "")
            << k;
        // A load is the next use: it finishes or undoes what the killed save left.
        const bool refused = SetAccess(base()).refused().has_value();
        const QByteArray set = wholeSet();
        EXPECT_FALSE(refused) << k;
        EXPECT_NE(set, "mixed") << k;
        EXPECT_TRUE(onlyTheSet()) << k << ": " << names().join(QLatin1Char(' ')).toStdString();
        if (!refused && set != "mixed" && onlyTheSet()) {
            ++whole;
        }
        seen.insert(set);
        writeOlder();
    }
    EXPECT_EQ(seen, (QSet<QByteArray>{"older", "newer"}));
    EXPECT_EQ(whole, steps);
    std::cout << "kill points: " << whole << " of " << steps << " left one whole set\n";
}

TEST_F(SetProcessesTest, BackupsWithinOneSecondKeepEachOther) {
    const QString root = m_dir.filePath(QStringLiteral("backups"));
    const QDateTime when(QDate(2026, 12, 9), QTime(3, 4, 5));
    auto files = [](const char* who) {
        return QList<backup::BackupFile>{{QStringLiteral("jv1"), QByteArray(who) + " 1"},
                                         {QStringLiteral("jv4"), QByteArray(who) + " 4"}};
    };
    const auto first = backup::saveBackup(root, kModelVa150, 123, files("first"), when);
    const auto second = backup::saveBackup(root, kModelVa150, 123, files("second"), when);
    ASSERT_TRUE(std::holds_alternative<QString>(first));
    ASSERT_TRUE(std::holds_alternative<QString>(second));
    const QString stamped = backup::backupBase(root, kModelVa150, 123, when);
    EXPECT_EQ(std::get<QString>(first), stamped);
    EXPECT_EQ(std::get<QString>(second), stamped + QStringLiteral("-2"));

    // A second process backs up the same handset while the first is placing its set: it waits
    // for the folder and takes the next name instead of moving the first one's files aside.
    // What a backup killed while it was placed left is cleaned up by the next one.
    const QString killed = stamped + QStringLiteral("-9.jv1.tolvan-new-1");
    QFile(killed).open(QIODevice::WriteOnly);
    ASSERT_TRUE(QFile::exists(killed));
    pid_t child = -1;
    const auto third =
        backup::saveBackup(root, kModelVa150, 123, files("third"), when, [&](Step step, qsizetype index) {
            if (step == Step::Stage && index == 0 && child < 0) {
                child = ::fork();
                if (child == 0) {
                    const auto fourth = backup::saveBackup(root, kModelVa150, 123, files("fourth"), when);
                    ::_exit(std::holds_alternative<QString>(fourth) ? 0 : 1);
                }
            }
            return true;
        });
    ASSERT_GT(child, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(std::holds_alternative<QString>(third));
    EXPECT_EQ(std::get<QString>(third), stamped + QStringLiteral("-3"));
    const QString fourth = stamped + QStringLiteral("-4");
    for (const auto& [base, who] :
         {std::pair{stamped, "first"}, std::pair{stamped + QStringLiteral("-2"), "second"},
          std::pair{stamped + QStringLiteral("-3"), "third"}, std::pair{fourth, "fourth"}}) {
        EXPECT_EQ(contentsOf(base + QStringLiteral(".jv1")), QByteArray(who) + " 1") << who;
        EXPECT_EQ(contentsOf(base + QStringLiteral(".jv4")), QByteArray(who) + " 4") << who;
    }
    EXPECT_EQ(QDir(QFileInfo(stamped).path()).entryList(QDir::Files | QDir::Hidden).size(), 8);
}

} // namespace
} // namespace tolvan::logfile
