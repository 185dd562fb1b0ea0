// A set of log files is written all or nothing: every file the new one, or every file as it was,
// whether the failure comes while writing or while the files are put in place, with a second
// writer at work on the same set, through links, and after an earlier save was interrupted.
#include "common/logfile/logfileset.h"
#include "common/logfile/setrecovery.h"
#include "tests/support/logfilesetfixture.h"

#include <QFileInfo>

namespace tolvan::logfile {
namespace {

using Step = LogFileSet::Step;

// Refuses the n-th step a save reaches (counting from 1), as the file layer would.
LogFileSet::StepHook failingAt(int n) {
    return [n, seen = 0](Step, qsizetype) mutable { return ++seen != n; };
}

// Refuses one step of one file.
LogFileSet::StepHook failing(Step step, qsizetype index) {
    return [step, index](Step at, qsizetype i) { return at != step || i != index; };
}

class LogFileSetTest : public LogFileSetFixture {
protected:
    void expectOlderPairOnly() const {
        for (const char* ext : {".jv1", ".jv4"}) {
            EXPECT_EQ(contentsOf(path(ext)), older(ext)) << ext;
        }
        EXPECT_EQ(names(), (QStringList{QStringLiteral("set.jv1"), QStringLiteral("set.jv4")}))
            << names().join(QLatin1Char(' ')).toStdString();
    }
};

TEST_F(LogFileSetTest, EveryFileIsReplacedAndNothingElseIsLeft) {
    LogFileSet set;
    fill(set);
    ASSERT_FALSE(set.save());
    EXPECT_EQ(wholeSet(), "newer");
    EXPECT_TRUE(onlyTheSet()) << names().join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(set.notices().isEmpty());
}

TEST_F(LogFileSetTest, ASecondFileThatCannotBeWrittenLeavesTheFirstAsItWas) {
    // A folder where the .jv3 should go.
    ASSERT_TRUE(QFile::remove(path(".jv3")));
    ASSERT_TRUE(QDir().mkdir(path(".jv3")));
    LogFileSet set;
    fill(set);
    const auto failed = set.save();
    ASSERT_TRUE(failed);
    EXPECT_TRUE(failed->startsWith(path(".jv3") + QStringLiteral(": "))) << failed->toStdString();
    expectOlderPairOnly();
    EXPECT_TRUE(QFileInfo(path(".jv3")).isDir());
}

TEST_F(LogFileSetTest, ASecondFileTheFileLayerRefusesLeavesTheFirstAsItWas) {
    ASSERT_TRUE(QFile::remove(path(".jv3")));
    LogFileSet set;
    set.add(path(".jv1"), newer(".jv1"));
    set.add(path(".jv4"), newer(".jv4"));
    set.setStepHook(failing(Step::Stage, 1));
    const auto failed = set.save();
    ASSERT_TRUE(failed);
    EXPECT_TRUE(failed->startsWith(path(".jv4") + QStringLiteral(": "))) << failed->toStdString();
    expectOlderPairOnly();
}

TEST_F(LogFileSetTest, AFolderThatRefusesTheFirstFileChangesNothing) {
    ASSERT_TRUE(QFile::remove(path(".jv3")));
    LogFileSet set;
    fill(set);
    set.setStepHook(failing(Step::Stage, 0));
    ASSERT_TRUE(set.save());
    expectOlderPairOnly();
}

TEST_F(LogFileSetTest, AFolderThatIsAFileCreatesNothing) {
    const QString plain = m_dir.filePath(QStringLiteral("plain"));
    ASSERT_TRUE(QFile(plain).open(QIODevice::WriteOnly));
    LogFileSet set;
    set.add(plain + QStringLiteral("/set.jv1"), newer(".jv1"));
    set.add(plain + QStringLiteral("/set.jv4"), newer(".jv4"));
    ASSERT_TRUE(set.save());
    EXPECT_TRUE(QFileInfo(plain).isFile());
    EXPECT_EQ(QFileInfo(plain).size(), 0);
}

TEST_F(LogFileSetTest, AFailureWhilePlacingPutsBackWhatWasAlreadyReplaced) {
    for (const qsizetype failingFile : {0, 1, 2}) {
        LogFileSet set;
        fill(set);
        set.setStepHook(failing(Step::Place, failingFile));
        const auto failed = set.save();
        ASSERT_TRUE(failed) << failingFile;
        EXPECT_TRUE(failed->startsWith(path(kExtensions[failingFile]) + QStringLiteral(": ")))
            << failed->toStdString();
        EXPECT_EQ(wholeSet(), "older") << failingFile;
        EXPECT_TRUE(onlyTheSet()) << names().join(QLatin1Char(' ')).toStdString();
    }

    // A file new to the folder is taken away again as well.
    ASSERT_TRUE(QFile::remove(path(".jv1")));
    LogFileSet set;
    fill(set);
    set.setStepHook(failing(Step::Place, 2));
    ASSERT_TRUE(set.save());
    EXPECT_FALSE(QFileInfo::exists(path(".jv1")));
    EXPECT_EQ(contentsOf(path(".jv3")), older(".jv3"));
}

TEST_F(LogFileSetTest, EachStepFailingInTurnLeavesOneWholeSet) {
    QList<Step> steps;
    {
        LogFileSet counting;
        fill(counting);
        counting.setStepHook([&](Step step, qsizetype) {
            steps.append(step);
            return true;
        });
        ASSERT_FALSE(counting.save());
        writeOlder();
    }
    ASSERT_EQ(steps.size(), 17); // lock, recover, stage and keep x3, intent, place x3, sync, drop x4
    for (int n = 1; n <= steps.size(); ++n) {
        LogFileSet set;
        fill(set);
        set.setStepHook(failingAt(n));
        const auto failed = set.save();
        if (steps[n - 1] == Step::DropIntent || steps[n - 1] == Step::DropKept) {
            // Past the point of no return: the new set stands and what is left over is named.
            EXPECT_FALSE(failed) << n;
            EXPECT_EQ(wholeSet(), "newer") << n;
            ASSERT_EQ(set.notices().size(), 1) << n;
            EXPECT_TRUE(set.notices().first().text.contains(QStringLiteral(".tolvan-"))) << n;
            LogFileSet next;
            fill(next);
            ASSERT_FALSE(next.save());
            writeOlder();
        } else {
            ASSERT_TRUE(failed) << n;
            EXPECT_EQ(wholeSet(), "older") << n;
        }
        EXPECT_TRUE(onlyTheSet()) << n << ": " << names().join(QLatin1Char(' ')).toStdString();
    }
}

TEST_F(LogFileSetTest, ASecondWriterWaitsForTheFirstAndNeverMixesTheSets) {
    LogFileSet first;
    fill(first, "first");
    std::optional<QString> second;
    bool readerRefused = false;
    first.setStepHook([&](Step step, qsizetype index) {
        if (step == Step::Place && index == 1) {
            LogFileSet other;
            fill(other, "second");
            other.setLockWait(20);
            second = other.save();
            readerRefused = SetAccess(base(), 20).refused().has_value();
        }
        return true;
    });
    ASSERT_FALSE(first.save());
    ASSERT_TRUE(second);
    EXPECT_TRUE(second->contains(QStringLiteral("他の処理が同じファイルを使用中です")))
        << second->toStdString();
    EXPECT_TRUE(readerRefused);
    EXPECT_EQ(wholeSet(), "first");

    LogFileSet again;
    fill(again, "second");
    ASSERT_FALSE(again.save());
    EXPECT_EQ(wholeSet(), "second");
    EXPECT_TRUE(onlyTheSet()) << names().join(QLatin1Char(' ')).toStdString();
}

TEST_F(LogFileSetTest, LinksAreWrittenThroughAndStayLinks) {
    QDir elsewhere(m_dir.filePath(QStringLiteral("elsewhere")));
    ASSERT_TRUE(QDir().mkdir(elsewhere.path()));
    const QString real = elsewhere.filePath(QStringLiteral("real.jv1"));
    const QString absent = elsewhere.filePath(QStringLiteral("absent.jv4"));
    ASSERT_TRUE(QFile::rename(path(".jv1"), real));
    ASSERT_TRUE(QFile::link(real, path(".jv1")));
    ASSERT_TRUE(QFile::remove(path(".jv4")));
    ASSERT_TRUE(QFile::link(absent, path(".jv4"))); // dangling

    LogFileSet set;
    fill(set);
    ASSERT_FALSE(set.save());
    EXPECT_TRUE(QFileInfo(path(".jv1")).isSymLink());
    EXPECT_TRUE(QFileInfo(path(".jv4")).isSymLink());
    EXPECT_EQ(contentsOf(real), newer(".jv1"));
    EXPECT_EQ(contentsOf(absent), newer(".jv4"));
    EXPECT_TRUE(onlyTheSet()) << names().join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(elsewhere.entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("absent.jv4"), QStringLiteral("real.jv1")}));

    // A link into a folder that does not exist is refused, in Japanese, and nothing changes.
    ASSERT_TRUE(QFile::remove(path(".jv4")));
    ASSERT_TRUE(QFile::link(m_dir.filePath(QStringLiteral("gone/absent.jv4")), path(".jv4")));
    LogFileSet refused;
    fill(refused, "second");
    const auto failed = refused.save();
    ASSERT_TRUE(failed);
    EXPECT_EQ(*failed, path(".jv4") + QStringLiteral(": リンク先のフォルダがありません"));
    EXPECT_EQ(contentsOf(real), newer(".jv1"));
}

TEST_F(LogFileSetTest, LeftoversOfAnInterruptionAreCleanedByTheNextUse) {
    auto write = [](const QString& name, const QByteArray& bytes) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    // Names an older version left as well as this one's.
    write(path(".jv1") + QStringLiteral(".tolvan-new"), "half");
    write(path(".jv3") + QStringLiteral(".tolvan-new2"), "half");
    write(path(".jv1") + QStringLiteral(".tolvan-old-00ff"), older(".jv1"));
    // Killed between renaming the old file aside and the new one in: the kept file is the only one.
    ASSERT_TRUE(QFile::rename(path(".jv4"), path(".jv4") + QStringLiteral(".tolvan-old")));
    // Another set's files are none of this one's business.
    const QString neighbour = m_dir.filePath(QStringLiteral("set.old.jv1.tolvan-new-1"));
    write(neighbour, "theirs");

    {
        const SetAccess reader(base());
        EXPECT_FALSE(reader.refused());
        ASSERT_EQ(reader.notices().size(), 1);
        EXPECT_EQ(reader.notices().first().text,
                  QStringLiteral("前回中断した保存の一時ファイルを削除しました: ") +
                      QDir::toNativeSeparators(base()));
    }
    EXPECT_EQ(wholeSet(), "older");
    QFile::remove(neighbour);
    EXPECT_TRUE(onlyTheSet()) << names().join(QLatin1Char(' ')).toStdString();

    write(path(".jv3") + QStringLiteral(".tolvan-new-abc"), "half");
    write(neighbour, "theirs");
    LogFileSet set;
    fill(set);
    ASSERT_FALSE(set.save());
    EXPECT_EQ(set.notices().size(), 1);
    EXPECT_EQ(wholeSet(), "newer");
    EXPECT_TRUE(QFile::exists(neighbour));
}

} // namespace
} // namespace tolvan::logfile
