#include "common/logfile/setrecovery.h"

#include "common/logfile/foldersync.h"
#include "common/logfile/intentrecord.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

namespace tolvan::logfile {
namespace {

Message notice(const QString& text) {
    return {QStringLiteral("Tolvan"), text};
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

Message unfinished(const QString& base, const QString& why) {
    return errorMessage(
        QStringLiteral("前回中断した保存を完了できないため、このファイルは使用できません: %1 (%2)")
            .arg(shown(base), why));
}

// Staged and kept files an interrupted save of base left: beside each file of the set, and beside
// the file each of its links points to.
QStringList leftoversOf(const QString& base) {
    const QFileInfo baseInfo(base);
    const QDir folder = baseInfo.absoluteDir();
    const QString name = QRegularExpression::escape(baseInfo.fileName());
    // One extension only, so the files of "set.old" are never taken for those of "set".
    const QRegularExpression own(
        QStringLiteral("^%1\\.[^.]+\\.tolvan-(new|old)|^%1\\.tolvan-intent\\.").arg(name));
    const QRegularExpression member(QStringLiteral("^%1\\.[^.]+$").arg(name));
    constexpr auto kEverything = QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    QStringList found;
    QSet<QString> linkEnds;
    for (const QFileInfo& entry : folder.entryInfoList(kEverything)) {
        if (own.match(entry.fileName()).hasMatch()) {
            found.append(entry.filePath());
        } else if (entry.isSymLink() && member.match(entry.fileName()).hasMatch()) {
            const LinkEnd end = followLinks(entry.filePath());
            if (end.error.isEmpty()) {
                linkEnds.insert(end.path);
            }
        }
    }
    for (const QString& end : linkEnds) {
        const QFileInfo endInfo(end);
        const QRegularExpression beside(
            QStringLiteral("^%1\\.tolvan-(new|old)").arg(QRegularExpression::escape(endInfo.fileName())));
        for (const QFileInfo& entry : endInfo.absoluteDir().entryInfoList(kEverything)) {
            if (beside.match(entry.fileName()).hasMatch()) {
                found.append(entry.filePath());
            }
        }
    }
    return found;
}

void cleanLeftovers(const QString& base, Recovery& recovery) {
    QStringList stuck;
    bool removed = false;
    for (const QString& leftover : leftoversOf(base)) {
        // A save of an older version could die between renaming the old file aside and the new
        // one in: then the kept file is the only copy and goes back.
        const qsizetype old = leftover.lastIndexOf(QStringLiteral(".tolvan-old"));
        if (old > 0 && !isThere(leftover.left(old))) {
            if (!renameOver(leftover, leftover.left(old))) {
                removed = true;
                continue;
            }
        }
        if (removeIfThere(leftover)) {
            removed = true;
        } else {
            stuck.append(shown(leftover));
        }
    }
    if (removed) {
        recovery.notices.append(
            notice(QStringLiteral("前回中断した保存の一時ファイルを削除しました: %1").arg(shown(base))));
    }
    if (!stuck.isEmpty()) {
        recovery.notices.append(
            notice(QStringLiteral("前回中断した保存の一時ファイルを削除できませんでした: %1")
                       .arg(stuck.join(QStringLiteral(", ")))));
    }
}

} // namespace

SetLock::SetLock(const QString& lockPath) : m_name(lockPath), m_lock(lockPath) {
    // Only a dead holder's lock is stale: a slow save on a network share is not robbed.
    m_lock.setStaleLockTime(0);
}

std::optional<Message> SetLock::acquire(int waitMs) {
    if (m_lock.tryLock(waitMs)) {
        return std::nullopt;
    }
    if (m_lock.error() == QLockFile::LockFailedError) {
        return errorMessage(
            QStringLiteral("他の処理が同じファイルを使用中です。しばらくしてからやり直してください。\n%1")
                .arg(shown(m_name)));
    }
    return errorMessage(QStringLiteral("%1: ロックファイルを作成できません").arg(shown(m_name)));
}

Recovery recoverLocked(const QString& base) {
    Recovery recovery;
    const QString intentPath = intentPathOf(base);
    if (isThere(intentPath)) {
        const auto record = IntentRecord::read(intentPath);
        if (!record) {
            recovery.failed = unfinished(base, shown(intentPath) + QStringLiteral(": 記録を読み込めません"));
            return recovery;
        }
        QStringList left;
        if (record->direction == IntentRecord::Direction::Forward) {
            // The record is written only once every staged file is complete: the set goes in.
            for (const IntentRecord::Entry& entry : record->entries) {
                if (isThere(entry.staged)) {
                    if (const auto failed = renameOver(entry.staged, entry.target)) {
                        recovery.failed =
                            unfinished(base, shown(entry.target) + QStringLiteral(": ") + *failed);
                        return recovery;
                    }
                }
            }
            syncFoldersOf(*record);
        } else {
            left = undoPlacement(*record);
            if (!left.isEmpty()) {
                recovery.failed = unfinished(base, QStringLiteral("元のファイルは次の名前で残っています: ") +
                                                       left.join(QStringLiteral(", ")));
                return recovery;
            }
            syncFoldersOf(*record);
        }
        if (!removeIfThere(intentPath)) {
            recovery.failed =
                unfinished(base, shown(intentPath) + QStringLiteral(": ファイルを削除できません"));
            return recovery;
        }
        for (const IntentRecord::Entry& entry : record->entries) {
            if (!entry.kept.isEmpty()) {
                removeIfThere(entry.kept);
            }
        }
        recovery.notices.append(
            notice(record->direction == IntentRecord::Direction::Forward
                       ? QStringLiteral("前回中断した保存を完了しました: %1").arg(shown(base))
                       : QStringLiteral("前回中断した保存を取り消しました: %1").arg(shown(base))));
    }
    cleanLeftovers(base, recovery);
    return recovery;
}

SetAccess::SetAccess(const QString& base, int waitMs) : m_lock(lockPathOf(base)) {
    if (auto failed = m_lock.acquire(waitMs)) {
        // Where no lock can be made nobody saves either; only an unfinished set is refused there.
        if (m_lock.busy() || isThere(intentPathOf(base))) {
            m_recovery.failed = failed;
        }
        return;
    }
    m_recovery = recoverLocked(base);
}

} // namespace tolvan::logfile
