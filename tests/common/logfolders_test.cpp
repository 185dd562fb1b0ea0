#include "common/logfolderlist.h"
#include "common/logfolders.h"
#include "common/sessiontexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <dirent.h>

#ifdef Q_OS_LINUX
#include <sys/inotify.h>
#include <unistd.h>
#endif

namespace tolvan {
namespace {

const QString kVa150 = QStringLiteral("ZXVA150設定ログフォルダ");
const QString kVa150C = QStringLiteral("ZXVA150(C)設定ログフォルダ");
const QString kVa100 = QStringLiteral("ZXVA100設定ログフォルダ");

// The directory's entries as the file system hands them out, independent of Qt.
QStringList readdirOrder(const QString& folder) {
    QStringList names;
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (dir == nullptr) {
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        names.append(QFile::decodeName(entry->d_name));
    }
    ::closedir(dir);
    return names;
}

class LogFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_root.isValid());
        ASSERT_TRUE(m_folders.createModelFolders());
    }
    void TearDown() override {
        // Read-only folders would stop the temporary directory from cleaning up.
        for (const QString& path : m_readOnly) {
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    }
    QString va150(const QString& name = {}) const { return m_folders.logPath(kLogModelVa150, name); }
    void makeDir(const QString& path) { ASSERT_TRUE(QDir().mkdir(path)) << path.toStdString(); }
    void makeReadOnly(const QString& path) {
        m_readOnly.append(path);
        ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                                    QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther));
    }

    QTemporaryDir m_root;
    LogFolders m_folders{m_root.path()};
    QStringList m_readOnly;
};

TEST_F(LogFolderTest, ModelFoldersCarryTheirNamesAndSurviveRecreation) {
    EXPECT_EQ(m_folders.modelFolder(kLogModelVa100), m_root.filePath(kVa100));
    EXPECT_EQ(m_folders.modelFolder(kLogModelVa150), m_root.filePath(kVa150));
    EXPECT_EQ(m_folders.modelFolder(kLogModelVa150C), m_root.filePath(kVa150C));
    EXPECT_TRUE(m_folders.modelFolder(5).isEmpty());
    for (const QString& name : {kVa100, kVa150, kVa150C}) {
        EXPECT_TRUE(QFileInfo(m_root.filePath(name)).isDir()) << name.toStdString();
    }
    // A second start leaves existing folders and their logs alone.
    QFile log(va150(QStringLiteral("a.jv1")));
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    log.write("x");
    log.close();
    EXPECT_TRUE(m_folders.createModelFolders());
    EXPECT_TRUE(QFileInfo::exists(va150(QStringLiteral("a.jv1"))));
}

#ifdef Q_OS_LINUX
TEST(LogFolders, ModelFoldersAreCreatedInTheFixedOrder) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const int fd = ::inotify_init1(IN_NONBLOCK);
    ASSERT_GE(fd, 0);
    ASSERT_GE(::inotify_add_watch(fd, QFile::encodeName(root.path()).constData(), IN_CREATE), 0);
    ASSERT_TRUE(LogFolders(root.path()).createModelFolders());
    alignas(inotify_event) char buffer[4096];
    const ssize_t length = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    ASSERT_GT(length, 0);
    QStringList created;
    for (ssize_t offset = 0; offset < length;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
        created.append(QFile::decodeName(event->name));
        offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
    EXPECT_EQ(created, (QStringList{kVa150, kVa150C, kVa100}));
}
#endif

TEST(LogFolders, CreationFailureIsReported) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile blocker(dir.filePath(QStringLiteral("notadir")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(LogFolders(blocker.fileName()).createModelFolders());
}

TEST_F(LogFolderTest, ListsOnlyPlainWritableVisibleFoldersInFileSystemOrder) {
    for (const QString& name : {QStringLiteral("Acme"), QStringLiteral("東京支店"), QStringLiteral(".hidden"),
                                QStringLiteral("readonly"), QStringLiteral("Zeta")}) {
        makeDir(va150(name));
    }
    makeReadOnly(va150(QStringLiteral("readonly")));
    QFile file(va150(QStringLiteral("notes.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(QFile::link(va150(QStringLiteral("Acme")), va150(QStringLiteral("link"))));

    QStringList expected = readdirOrder(va150());
    const QStringList excluded{QStringLiteral("."),         QStringLiteral(".."),
                               QStringLiteral(".hidden"),   QStringLiteral("readonly"),
                               QStringLiteral("notes.txt"), QStringLiteral("link")};
    expected.removeIf([&](const QString& name) { return excluded.contains(name); });
    ASSERT_EQ(expected.size(), 3);
    EXPECT_EQ(m_folders.subFolders(kLogModelVa150), expected);
    EXPECT_TRUE(m_folders.subFolders(kLogModelVa100).isEmpty());
}

TEST_F(LogFolderTest, ListStopsAt255NamesWithoutCountingHiddenOnes) {
    for (int i = 0; i < 300; ++i) {
        makeDir(va150(QStringLiteral("customer%1").arg(i, 3, 10, QLatin1Char('0'))));
        if (i % 50 == 0) {
            makeDir(va150(QStringLiteral(".skip%1").arg(i)));
        }
    }
    QStringList expected = readdirOrder(va150());
    expected.removeIf([](const QString& name) { return name.startsWith(QLatin1Char('.')); });
    expected = expected.mid(0, 255);
    const QStringList listed = m_folders.subFolders(kLogModelVa150);
    EXPECT_EQ(listed.size(), 255);
    EXPECT_EQ(listed, expected);
}

TEST_F(LogFolderTest, FolderBoxTakesOverTypedNames) {
    makeDir(va150(QStringLiteral("Acme")));
    SessionTexts texts;
    LogFolderList box(m_folders, texts);
    ASSERT_TRUE(box.refill(kLogModelVa150));
    EXPECT_EQ(box.names(), QStringList{QStringLiteral("Acme")});

    // A listed name is only taken.
    EXPECT_EQ(box.takeOver(QStringLiteral("Acme"), kLogModelVa150), LogFolderList::TakeOver::Listed);
    EXPECT_EQ(texts.logFolderName(), QStringLiteral("Acme"));

    // A new name is listed and created below the folder of the model just read.
    EXPECT_EQ(box.takeOver(QStringLiteral("北海道"), kLogModelVa150C), LogFolderList::TakeOver::Added);
    EXPECT_EQ(texts.logFolderName(), QStringLiteral("北海道"));
    EXPECT_TRUE(QFileInfo(m_root.filePath(kVa150C + QStringLiteral("/北海道"))).isDir());
    EXPECT_EQ(box.names(), (QStringList{QStringLiteral("Acme"), QStringLiteral("北海道")}));
    EXPECT_EQ(m_folders.logPath(kLogModelVa150C, texts.logFolderName()),
              m_root.filePath(kVa150C) + QStringLiteral("/北海道"));

    // Empty box: logs go into the model folder itself.
    EXPECT_EQ(box.takeOver(QString(), kLogModelVa150), LogFolderList::TakeOver::Empty);
    EXPECT_TRUE(texts.logFolderName().isEmpty());
    EXPECT_EQ(m_folders.logPath(kLogModelVa150, texts.logFolderName()), va150());
    EXPECT_TRUE(m_folders.logPath(7, QStringLiteral("Acme")).isEmpty());

    // After a mode with another model the box lists that model's folders.
    ASSERT_TRUE(box.refill(kLogModelVa150C));
    EXPECT_EQ(box.names(), QStringList{QStringLiteral("北海道")});
    EXPECT_FALSE(box.refill(0));
    EXPECT_EQ(box.names(), QStringList{QStringLiteral("北海道")});
}

TEST_F(LogFolderTest, FolderNamesCannotLeaveTheModelFolder) {
    SessionTexts texts;
    texts.setLogFolderName(QStringLiteral("previous"));
    LogFolderList box(m_folders, texts);
    box.refill(kLogModelVa150);
    for (const QString& name : {QStringLiteral("../escaped"), QStringLiteral(".."), QStringLiteral("a/b"),
                                QStringLiteral("a\\b"), QStringLiteral("\t")}) {
        EXPECT_EQ(box.takeOver(name, kLogModelVa150), LogFolderList::TakeOver::Rejected)
            << name.toStdString();
        EXPECT_TRUE(texts.logFolderName().isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(m_root.filePath(QStringLiteral("escaped"))));
    EXPECT_FALSE(QFileInfo::exists(va150(QStringLiteral("a"))));
    EXPECT_TRUE(box.names().isEmpty());
}

TEST_F(LogFolderTest, FullListStillCreatesATypedFolder) {
    for (int i = 0; i < 255; ++i) {
        makeDir(va150(QString::number(i)));
    }
    SessionTexts texts;
    LogFolderList box(m_folders, texts);
    box.refill(kLogModelVa150);
    ASSERT_EQ(box.names().size(), 255);
    EXPECT_EQ(box.takeOver(QStringLiteral("extra"), kLogModelVa150), LogFolderList::TakeOver::Unlisted);
    EXPECT_EQ(box.names().size(), 255);
    EXPECT_TRUE(QFileInfo(va150(QStringLiteral("extra"))).isDir());
    EXPECT_EQ(texts.logFolderName(), QStringLiteral("extra"));
}

TEST_F(LogFolderTest, UncreatableFolderIsReportedAndNotListed) {
    QFile blocker(va150(QStringLiteral("taken")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SessionTexts texts;
    LogFolderList box(m_folders, texts);
    box.refill(kLogModelVa150);
    EXPECT_EQ(box.takeOver(QStringLiteral("taken"), kLogModelVa150), LogFolderList::TakeOver::CreateFailed);
    EXPECT_TRUE(box.names().isEmpty());
}

TEST(LogFolders, TabAloneAsFolderNameBecomesEmptyOnRefill) {
    QTemporaryDir root;
    LogFolders folders(root.path());
    ASSERT_TRUE(folders.createModelFolders());
    SessionTexts texts;
    texts.setLogFolderName(QStringLiteral("\t"));
    LogFolderList box(folders, texts);
    box.refill(kLogModelVa100);
    EXPECT_TRUE(box.editText().isEmpty());
    texts.setLogFolderName(QStringLiteral("Acme"));
    box.refill(kLogModelVa100);
    EXPECT_EQ(box.editText(), QStringLiteral("Acme"));
}

TEST(LogFolders, FileExistsAppendsTheExtensionOnlyWithoutADot) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const QString& name : {QStringLiteral("log.x"), QStringLiteral("log.a")}) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    EXPECT_TRUE(LogFolders::fileExists(dir.filePath(QStringLiteral("log")), QStringLiteral(".x")));
    EXPECT_FALSE(LogFolders::fileExists(dir.filePath(QStringLiteral("log")), QStringLiteral(".jv1")));
    EXPECT_TRUE(LogFolders::fileExists(dir.filePath(QStringLiteral("log.a")), QStringLiteral(".x")));
    EXPECT_FALSE(LogFolders::fileExists(dir.filePath(QStringLiteral("log.b")), QStringLiteral(".a")));
    EXPECT_FALSE(LogFolders::fileExists(QString(), QStringLiteral(".x")));

    // A dot in a folder name is no extension.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Acme.Inc")));
    QFile inside(dir.filePath(QStringLiteral("Acme.Inc/log.jv1")));
    ASSERT_TRUE(inside.open(QIODevice::WriteOnly));
    EXPECT_TRUE(LogFolders::fileExists(dir.filePath(QStringLiteral("Acme.Inc/log")), QStringLiteral(".jv1")));
}

TEST(LogFolders, RootComesFromTheCommandLineThenTheEnvironmentThenHome) {
    const QByteArray saved = qgetenv("TOLVAN_LOG_ROOT");
    const bool wasSet = qEnvironmentVariableIsSet("TOLVAN_LOG_ROOT");
    qputenv("TOLVAN_LOG_ROOT", "/srv/logs");
    EXPECT_EQ(LogFolders::resolveRoot(QStringLiteral("/tmp/explicit")), QStringLiteral("/tmp/explicit"));
    EXPECT_EQ(LogFolders::resolveRoot(), QStringLiteral("/srv/logs"));
    qunsetenv("TOLVAN_LOG_ROOT");
#ifdef Q_OS_WIN
    EXPECT_EQ(LogFolders::resolveRoot(), QStringLiteral("c:/"));
#else
    EXPECT_EQ(LogFolders::resolveRoot(), QDir::homePath());
#endif
    if (wasSet) {
        qputenv("TOLVAN_LOG_ROOT", saved);
    }
}

} // namespace
} // namespace tolvan
