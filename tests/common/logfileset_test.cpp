// A set of log files is written all or nothing: every file the new one, or every file as it was,
// whether the failure comes while writing or while the files are put in place.
#include "common/logfile/logfileset.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tolvan::logfile {
namespace {

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Fails the rename that would put the n-th file (counting from 1) in place.
class FailingPlacement : public LogFileSet {
public:
    explicit FailingPlacement(int failing) : m_failing(failing) {}

protected:
    std::optional<QString> rename(const QString& from, const QString& to) override {
        if (from.endsWith(QStringLiteral(".tolvan-new")) && ++m_placed == m_failing) {
            return QStringLiteral("injected");
        }
        return LogFileSet::rename(from, to);
    }

private:
    int m_failing;
    int m_placed = 0;
};

class LogFileSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        // An older set of the same name, as a previous save left it.
        for (const char* ext : {".jv1", ".jv3", ".jv4"}) {
            QFile file(path(ext));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(older(ext));
        }
    }
    void TearDown() override {
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QString path(const char* ext) const { return m_dir.filePath(QStringLiteral("set") + QLatin1String(ext)); }
    static QByteArray older(const char* ext) { return QByteArray("older ") + ext + "\r\n"; }
    static QByteArray newer(const char* ext) { return QByteArray("\"newer\",\"") + ext + "\"\r\n"; }
    void fill(LogFileSet& set) const {
        for (const char* ext : {".jv1", ".jv3", ".jv4"}) {
            set.add(path(ext), newer(ext));
        }
    }
    void expectOlderSetOnly() const {
        for (const char* ext : {".jv1", ".jv4"}) {
            EXPECT_EQ(contentsOf(path(ext)), older(ext)) << ext;
        }
        // Nothing staged or kept aside is left behind.
        const QStringList names = QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);
        EXPECT_EQ(names, (QStringList{QStringLiteral("set.jv1"), QStringLiteral("set.jv4")}))
            << names.join(QLatin1Char(' ')).toStdString();
    }

    QTemporaryDir m_dir;
};

TEST_F(LogFileSetTest, EveryFileIsReplacedAndNothingElseIsLeft) {
    LogFileSet set;
    fill(set);
    ASSERT_FALSE(set.save());
    for (const char* ext : {".jv1", ".jv3", ".jv4"}) {
        EXPECT_EQ(contentsOf(path(ext)), newer(ext)) << ext;
    }
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
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
    expectOlderSetOnly();
    EXPECT_TRUE(QFileInfo(path(".jv3")).isDir());
}

TEST_F(LogFileSetTest, AReadOnlySecondFileLeavesTheFirstAsItWas) {
    ASSERT_TRUE(QFile::remove(path(".jv3")));
    ASSERT_TRUE(QFile::setPermissions(path(".jv4"), QFile::ReadOwner));
    if (QFileInfo(path(".jv4")).isWritable()) {
        GTEST_SKIP() << "root writes read-only files";
    }
    LogFileSet set;
    set.add(path(".jv1"), newer(".jv1"));
    set.add(path(".jv4"), newer(".jv4"));
    const auto failed = set.save();
    ASSERT_TRUE(failed);
    EXPECT_TRUE(failed->startsWith(path(".jv4"))) << failed->toStdString();
    expectOlderSetOnly();
}

TEST_F(LogFileSetTest, AnUnwritableFolderChangesNothing) {
    ASSERT_TRUE(QFile::remove(path(".jv3")));
    ASSERT_TRUE(QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    if (QFileInfo(m_dir.path()).isWritable()) {
        GTEST_SKIP() << "root writes into read-only folders";
    }
    LogFileSet set;
    fill(set);
    ASSERT_TRUE(set.save());
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    expectOlderSetOnly();
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
    for (const int failing : {1, 2, 3}) {
        FailingPlacement set(failing);
        fill(set);
        const auto failed = set.save();
        ASSERT_TRUE(failed) << failing;
        EXPECT_TRUE(failed->endsWith(QStringLiteral(": injected"))) << failed->toStdString();
        for (const char* ext : {".jv1", ".jv3", ".jv4"}) {
            EXPECT_EQ(contentsOf(path(ext)), older(ext)) << ext << " failing " << failing;
        }
        EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3) << failing;
    }

    // A file new to the folder is taken away again as well.
    ASSERT_TRUE(QFile::remove(path(".jv1")));
    FailingPlacement set(3);
    fill(set);
    ASSERT_TRUE(set.save());
    EXPECT_FALSE(QFileInfo::exists(path(".jv1")));
    EXPECT_EQ(contentsOf(path(".jv3")), older(".jv3"));
}

} // namespace
} // namespace tolvan::logfile
