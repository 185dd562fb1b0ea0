// tolvan-cli history and restore against tolvan-sim: the versions with their change lines, the
// handsets known, a restore refused for another handset and done on request with its backup and
// check, and pruning on request.
#include "common/backup/backupfolder.h"
#include "modes/datasave/model/saveset.h"
#include "modes/dataset/model/systemparamimage.h"
#include "modes/psent/model/handsetsettingimage.h"
#include "tests/modes/datasave/model/simhandsetstore.h"
#include "tests/support/backupfoldertest.h"
#include "tests/support/cliprocess.h"

#include <QDirIterator>
#include <gtest/gtest.h>

namespace tolvan::test {
namespace {

constexpr std::uint32_t kOther = 111111111;

int filesUnder(const QString& root) {
    int files = 0;
    for (QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories); it.hasNext(); it.next()) {
        ++files;
    }
    return files;
}

// Write frames (groups 0x00 to 0x0C) in a --trace.
int writesIn(const QString& trace) {
    int writes = 0;
    for (const QString& line : trace.split(QLatin1Char('\n'))) {
        const QString unit = line.simplified().section(QLatin1Char(' '), 1);
        writes += unit.startsWith(QStringLiteral("> 02 30 2")) && unit.size() > 10 ? 1 : 0;
    }
    return writes;
}

class CliHistory : public BackupFolderTest {
protected:
    // A write-back's backup of the virtual ZX-VA150's data under another PS-ID, the PS number as
    // given.
    QString backUpOther(const QDateTime& when, const char* psNumber) {
        handset::HandsetBlocks store = datasave::test::storeReadFromSim(3);
        psent::HandsetSettingImage settings = psent::HandsetSettingImage::fromStore(store);
        settings.setPsIdValue(kOther);
        std::copy(psNumber, psNumber + 3, settings.psNumber.begin());
        settings.storeInto(store);
        dataset::SystemParamImage params = dataset::SystemParamImage::fromStore(store);
        params.setPsIdValue(kOther);
        params.storeInto(store);
        const auto files = std::get<datasave::SaveSetFiles>(datasave::buildSaveSet(store, 3, QString()));
        const auto saved = backup::saveBackup(m_backups.path(), 3, kOther,
                                              {{QStringLiteral("jv1"), files.jv1},
                                               {QStringLiteral("jv3"), files.jv3},
                                               {QStringLiteral("jv4"), files.jv4}},
                                              when);
        return std::get<QString>(saved);
    }
    // Log folders of the test's own, so none of the user's sets count.
    CliResult run(QStringList args) {
        args.prepend(m_dir.path());
        args.prepend(QStringLiteral("--log-root"));
        return runCli(args, 90000);
    }
    CliResult cli(const SimProcess& sim, QStringList args) {
        args.prepend(sim.device());
        args.prepend(QStringLiteral("--port"));
        return run(args);
    }
};

TEST_F(CliHistory, RestoreRefusesAnotherHandsetUnlessForcedAndHistoryListsWhatChanged) {
    SimProcess sim({QStringLiteral("--no-pacing")});
    ASSERT_TRUE(sim.started());
    const QDateTime older = QDateTime(QDate::currentDate().addDays(-10), QTime(10, 0, 0));
    const QDateTime newer = older.addSecs(3600);
    const QString olderBase = backUpOther(older, "301");
    const QString newerBase = backUpOther(newer, "317");
    const QString stamp = QStringLiteral("yyyyMMdd-HHmmss");
    const QString shown = QStringLiteral("yyyy-MM-dd HH:mm:ss");

    const CliResult listed = run({QStringLiteral("history"), QStringLiteral("111111111")});
    ASSERT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    const QString newerLine = newer.toString(stamp) + QLatin1Char('\t') + newer.toString(shown) +
                              QStringLiteral("\tbefore-write-back\tZX-VA150\t") + newerBase +
                              QLatin1Char('\n');
    const QString olderLine = older.toString(stamp) + QLatin1Char('\t') + older.toString(shown) +
                              QStringLiteral("\tbefore-write-back\tZX-VA150\t") + olderBase +
                              QLatin1Char('\n');
    EXPECT_EQ(listed.out, newerLine + QStringLiteral("\tPS番号\t3 0 1\t3 1 7\n") + olderLine);

    // The handset on the port is 234567891: refused before anything is written or backed up.
    const CliResult refused =
        cli(sim, {QStringLiteral("--trace"), QStringLiteral("restore"), QStringLiteral("111111111")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral(
        "エラー: 接続されている子機のPS-ID（234567891）は、この版の子機のPS-ID（111111111）と異なります。")))
        << refused.err.toStdString();
    EXPECT_EQ(writesIn(refused.err), 0);
    EXPECT_EQ(filesUnder(m_backups.path()), 6);

    // Asked for: the older version goes in, the handset's own data is backed up first, and the
    // check finds nothing amiss.
    const CliResult forced =
        cli(sim, {QStringLiteral("restore"), QStringLiteral("111111111"), older.toString(stamp),
                  QStringLiteral("--verify"), QStringLiteral("--force")});
    EXPECT_EQ(forced.exitCode, 0) << forced.err.toStdString();
    EXPECT_EQ(forced.out, QString());
    EXPECT_EQ(filesUnder(m_backups.path()), 9);

    // The handset is 111111111 now; its PS number is the older version's.
    const CliResult onPort = run({QStringLiteral("history"), QStringLiteral("--port"), sim.device()});
    ASSERT_EQ(onPort.exitCode, 0) << onPort.err.toStdString();
    EXPECT_TRUE(onPort.out.startsWith(newerLine)) << onPort.out.toStdString();
    const CliResult known = run({QStringLiteral("history")});
    ASSERT_EQ(known.exitCode, 0);
    const QStringList handsets = known.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(handsets.size(), 2) << known.out.toStdString();
    EXPECT_TRUE(handsets[0].startsWith(QStringLiteral("ZX-VA150\t234567891\t1\t")));
    EXPECT_EQ(handsets[1], QStringLiteral("ZX-VA150\t111111111\t2\t") + newer.toString(shown));

    // Pruning only on request, and only what is old enough.
    const CliResult kept =
        run({QStringLiteral("history"), QStringLiteral("--prune-older-than"), QStringLiteral("30")});
    EXPECT_EQ(kept.out, QStringLiteral("0\n"));
    const CliResult pruned =
        run({QStringLiteral("history"), QStringLiteral("--prune-older-than"), QStringLiteral("5")});
    EXPECT_EQ(pruned.exitCode, 0);
    EXPECT_EQ(pruned.out, QStringLiteral("2\n"));
    EXPECT_EQ(filesUnder(m_backups.path()), 3);
    EXPECT_EQ(run({QStringLiteral("restore"), QStringLiteral("111111111")}).exitCode, 3);
}

} // namespace
} // namespace tolvan::test
