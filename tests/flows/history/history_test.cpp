// A handset's history from files: the versions every source finds with their kinds and order,
// what each changed from the one before, the choice of a version to restore, and pruning.
#include "flows/history/backupprune.h"
#include "flows/history/restoreversion.h"
#include "flows/history/versionchanges.h"
#include "flows/history/versionfinder.h"

#include "common/backup/backupfolder.h"
#include "modes/datasave/model/saveset.h"
#include "modes/psent/model/handsetsettingimage.h"
#include "tests/modes/datasave/model/simhandsetstore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Readable failures.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << text.toStdString();
}
namespace tolvan::logfile {
inline void PrintTo(const LineDifference& d, std::ostream* os) {
    *os << (d.label + QLatin1Char('|') + d.first + QLatin1Char('|') + d.second).toStdString();
}
} // namespace tolvan::logfile

namespace tolvan::history {
namespace {

using Kind = HandsetVersion::Kind;

constexpr std::uint32_t kPsId = 234567891; // the virtual ZX-VA150's

const QDateTime kStart(QDate(2026, 12, 1), QTime(10, 0, 0));

datasave::SaveSetFiles filesOf(const handset::HandsetBlocks& store) {
    return std::get<datasave::SaveSetFiles>(datasave::buildSaveSet(store, 3, QString()));
}

void writeFile(const QString& path, const QByteArray& bytes, const QDateTime& modified) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    // Written out first, or closing would set the time again.
    ASSERT_TRUE(file.flush());
    ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
}

class History : public ::testing::Test {
protected:
    // A backup of the store's files with those endings, stamped when.
    QString backUp(const handset::HandsetBlocks& store, const QStringList& endings, const QDateTime& when,
                   std::uint32_t psId = kPsId) {
        const datasave::SaveSetFiles files = filesOf(store);
        QList<backup::BackupFile> parts;
        for (const QString& ending : endings) {
            const QByteArray bytes = ending == QLatin1String("jv1")   ? files.jv1
                                     : ending == QLatin1String("jv3") ? files.jv3
                                     : ending == QLatin1String("jv4") ? files.jv4
                                                                      : QByteArray("\"not a log file\"\r\n");
            parts.append({ending, bytes});
        }
        const auto saved = backup::saveBackup(m_backups.path(), 3, psId, parts, when);
        EXPECT_TRUE(std::holds_alternative<QString>(saved));
        return std::holds_alternative<QString>(saved) ? QFileInfo(std::get<QString>(saved)).fileName()
                                                      : QString();
    }

    QTemporaryDir m_backups;
    QTemporaryDir m_logRoot;
    QTemporaryDir m_saved;
    handset::HandsetBlocks m_store = datasave::test::storeReadFromSim(3);
};

TEST_F(History, EverySourceListsItsVersionsNewestFirstWithTheirKinds) {
    EXPECT_EQ(backUp(m_store, {QStringLiteral("jv1")}, kStart), QStringLiteral("20261201-100000"));
    // A correction write in the same second claims the same stamp for its .jv2: a version of its own.
    EXPECT_EQ(backUp(m_store, {QStringLiteral("jv2")}, kStart), QStringLiteral("20261201-100000"));
    const QDateTime day2 = kStart.addDays(1);
    backUp(m_store, {QStringLiteral("jv1"), QStringLiteral("jv3"), QStringLiteral("jv4")}, day2);
    EXPECT_EQ(backUp(m_store, {QStringLiteral("jv1"), QStringLiteral("jv4")}, day2),
              QStringLiteral("20261202-100000-2"));
    backUp(m_store, {QStringLiteral("jv1")}, kStart, 111111111);

    // A registration's pair in a log folder, a saved set named <PS番号>_<PS-ID>, and files that are
    // neither.
    const datasave::SaveSetFiles files = filesOf(m_store);
    const LogFolders folders(m_logRoot.path());
    ASSERT_TRUE(folders.createModelFolders());
    const QString customer = folders.logPath(3, QStringLiteral("客先A"));
    writeFile(customer + QStringLiteral("/reg.jv1"), files.jv1, kStart.addDays(3));
    writeFile(customer + QStringLiteral("/reg.jv4"), files.jv4, kStart.addDays(3));
    writeFile(customer + QStringLiteral("/params.jv1"), files.jv1, kStart.addDays(4));
    writeFile(m_saved.filePath(QStringLiteral("007_234567891.jv1")), files.jv1, kStart.addDays(2));
    writeFile(m_saved.filePath(QStringLiteral("007_234567891.jv4")), files.jv4, kStart.addDays(2));
    writeFile(m_saved.filePath(QStringLiteral("notes.jv1")), files.jv1, kStart.addDays(5));

    VersionFinder finder(m_backups.path(), m_logRoot.path());
    finder.addSource(std::make_unique<SavedSetVersions>(m_saved.path()));
    const QList<HandsetVersion> versions = finder.versionsOf(kPsId);
    QList<std::pair<Kind, QString>> seen;
    for (const HandsetVersion& version : versions) {
        seen.append({version.kind, version.id});
    }
    const QList<std::pair<Kind, QString>> expected{
        {Kind::Registration, customer + QStringLiteral("/reg")},
        {Kind::Saved, m_saved.filePath(QStringLiteral("007_234567891"))},
        {Kind::BeforeSettingsWrite, QStringLiteral("20261202-100000-2")},
        {Kind::BeforeWriteBack, QStringLiteral("20261202-100000")},
        {Kind::BeforeParamsWrite, QStringLiteral("20261201-100000")},
        {Kind::BeforeCalibrationWrite, QStringLiteral("20261201-100000")},
    };
    EXPECT_EQ(seen, expected);
    ASSERT_EQ(versions.size(), 6);
    EXPECT_EQ(versions[0].when, kStart.addDays(3));
    EXPECT_EQ(versions[5].extensions, QStringList{QStringLiteral("jv2")});
    EXPECT_EQ(versions[4].extensions, QStringList{QStringLiteral("jv1")});

    const QList<KnownHandset> handsets = finder.handsets();
    ASSERT_EQ(handsets.size(), 2);
    EXPECT_EQ(handsets[0].psId, kPsId);
    EXPECT_EQ(handsets[0].versions, 6);
    EXPECT_EQ(handsets[0].last, kStart.addDays(3));
    EXPECT_EQ(handsets[1].psId, 111111111u);
    EXPECT_EQ(handsets[1].versions, 1);
}

TEST_F(History, EachVersionListsTheLinesChangedFromTheNearestOlderFileOfItsKind) {
    backUp(m_store, {QStringLiteral("jv1"), QStringLiteral("jv4")}, kStart);
    // A data setting write's backup holds no handset settings: the next .jv4 is compared with the
    // first one.
    backUp(m_store, {QStringLiteral("jv1")}, kStart.addSecs(60));
    handset::HandsetBlocks changed = m_store;
    psent::HandsetSettingImage settings = psent::HandsetSettingImage::fromStore(changed);
    // The log file writes the three digits as fields of their own.
    const QString before = QStringLiteral("%1 %2 %3")
                               .arg(QChar(settings.psNumber[0]))
                               .arg(QChar(settings.psNumber[1]))
                               .arg(QChar(settings.psNumber[2]));
    settings.psNumber[1] = '1';
    settings.psNumber[2] = '7';
    const QString after = QStringLiteral("%1 1 7").arg(QChar(settings.psNumber[0]));
    settings.storeInto(changed);
    backUp(changed, {QStringLiteral("jv1"), QStringLiteral("jv4")}, kStart.addSecs(120));

    const QList<HandsetVersion> versions =
        VersionFinder(m_backups.path(), m_logRoot.path()).versionsOf(kPsId);
    ASSERT_EQ(versions.size(), 3);
    const QList<VersionChanges> changes = changesOf(versions);
    ASSERT_EQ(changes.size(), 3);
    EXPECT_FALSE(changes[0].first);
    ASSERT_EQ(changes[0].lines.size(), 1);
    EXPECT_EQ(changes[0].lines[0], (logfile::LineDifference{QStringLiteral("PS番号"), before, after}));
    EXPECT_FALSE(changes[1].first);
    EXPECT_TRUE(changes[1].lines.isEmpty());
    EXPECT_TRUE(changes[2].first);
    for (const VersionChanges& change : changes) {
        EXPECT_TRUE(change.problems.isEmpty()) << change.problems.join(QLatin1Char('\n')).toStdString();
    }
}

TEST_F(History, ARestoreTakesTheNamedOrNewestVersionAWriteBackCanTakeAndOnlyItsOwnHandset) {
    backUp(m_store, {QStringLiteral("jv1"), QStringLiteral("jv4")}, kStart);
    backUp(m_store, {QStringLiteral("jv2")}, kStart.addSecs(1));
    writeFile(m_saved.filePath(QStringLiteral("007_234567891.jv4")), filesOf(m_store).jv4,
              kStart.addSecs(-60));
    VersionFinder finder(m_backups.path(), m_logRoot.path());
    finder.addSource(std::make_unique<SavedSetVersions>(m_saved.path()));
    const QList<HandsetVersion> versions = finder.versionsOf(kPsId);
    ASSERT_EQ(versions.size(), 3);

    // The newest is a calibration backup, which a write-back cannot take.
    const auto newest = versionToRestore(versions, kPsId, {});
    ASSERT_TRUE(std::holds_alternative<HandsetVersion>(newest));
    EXPECT_EQ(std::get<HandsetVersion>(newest).id, QStringLiteral("20261201-100000"));
    EXPECT_EQ(writeBackFileOf(std::get<HandsetVersion>(newest)),
              m_backups.filePath(QStringLiteral("ZX-VA150/234567891/20261201-100000.jv1")));
    // A set by its path, ending and all; it has no .jv1, so its .jv4 goes.
    const auto set = versionToRestore(versions, kPsId, m_saved.filePath(QStringLiteral("007_234567891.jv4")));
    ASSERT_TRUE(std::holds_alternative<HandsetVersion>(set));
    EXPECT_EQ(writeBackFileOf(std::get<HandsetVersion>(set)),
              m_saved.filePath(QStringLiteral("007_234567891.jv4")));

    const auto calibration = versionToRestore(versions, kPsId, QStringLiteral("20261201-100001"));
    ASSERT_TRUE(std::holds_alternative<Message>(calibration));
    EXPECT_EQ(std::get<Message>(calibration).text,
              QStringLiteral("版 20261201-100001 は補正値のバックアップのため、書き戻しでは戻せません。"));
    const auto unknown = versionToRestore(versions, kPsId, QStringLiteral("20261201-235959"));
    ASSERT_TRUE(std::holds_alternative<Message>(unknown));
    EXPECT_EQ(std::get<Message>(unknown).text,
              QStringLiteral("PS-ID 234567891 の子機に版 20261201-235959 はありません。"));
    EXPECT_TRUE(std::holds_alternative<Message>(versionToRestore({}, 42, {})));

    EXPECT_FALSE(otherHandset(kPsId, kPsId));
    const auto other = otherHandset(111111111, kPsId);
    ASSERT_TRUE(other);
    EXPECT_EQ(
        other->text,
        QStringLiteral(
            "接続されている子機のPS-ID（111111111）は、この版の子機のPS-ID（234567891）と異なります。"));
}

TEST_F(History, PruningRemovesOnlyBackupsOlderThanAskedAndTheFoldersItEmptied) {
    const QDateTime now = kStart.addDays(60);
    backUp(m_store, {QStringLiteral("jv1"), QStringLiteral("jv3"), QStringLiteral("jv4")}, now.addDays(-40));
    backUp(m_store, {QStringLiteral("jv1")}, now.addDays(-5));
    backUp(m_store, {QStringLiteral("jv1")}, now.addDays(-31), 111111111);

    const PruneResult pruned = pruneBackups(m_backups.path(), 30, now);
    EXPECT_EQ(pruned.removed, 2);
    EXPECT_TRUE(pruned.failed.isEmpty());
    const QDir handset(m_backups.filePath(QStringLiteral("ZX-VA150/234567891")));
    EXPECT_EQ(
        handset.entryList(QDir::Files),
        QStringList{now.addDays(-5).toString(QStringLiteral("yyyyMMdd-HHmmss")) + QStringLiteral(".jv1")});
    EXPECT_FALSE(QFileInfo::exists(m_backups.filePath(QStringLiteral("ZX-VA150/111111111"))));
    // Nothing is older than 60 days: nothing goes.
    EXPECT_EQ(pruneBackups(m_backups.path(), 60, now).removed, 0);
    EXPECT_EQ(handset.entryList(QDir::Files).size(), 1);
}

} // namespace
} // namespace tolvan::history
