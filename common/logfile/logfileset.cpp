#include "common/logfile/logfileset.h"

#include "common/logfile/filereason.h"
#include "common/logfile/foldersync.h"
#include "common/logfile/intentrecord.h"
#include "common/logfile/logfileio.h"
#include "common/logfile/placementguard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

namespace tolvan::logfile {
namespace {

QString refused(const QString& path) {
    return path + QStringLiteral(": ") + fileReason(QFileDevice::WriteError);
}

} // namespace

void LogFileSet::add(const QString& path, const QByteArray& bytes) {
    m_entries.append({path, bytes, {}, {}, {}});
}

std::optional<QString> LogFileSet::save() {
    m_notices.clear();
    if (m_entries.isEmpty()) {
        return std::nullopt;
    }
    const QString base = baseOf(m_entries.first().path);
    if (!passes(Step::Lock)) {
        return refused(lockPathOf(base));
    }
    SetLock lock(lockPathOf(base));
    if (const auto failed = lock.acquire(m_lockWaitMs)) {
        // No lock file where the set cannot be written either: the file that cannot says more.
        for (const Entry& entry : m_entries) {
            if (const auto unwritable = lock.busy() ? std::nullopt : checkWritable(entry.path)) {
                return unwritable->text;
            }
        }
        return failed->text;
    }
    if (!passes(Step::Recover)) {
        return refused(base);
    }
    Recovery recovery = recoverLocked(base);
    m_notices = recovery.notices;
    if (recovery.failed) {
        return recovery.failed->text;
    }

    for (Entry& entry : m_entries) {
        const LinkEnd end = followLinks(entry.path);
        if (!end.error.isEmpty()) {
            return end.error;
        }
        entry.target = QFileInfo(end.path).absoluteFilePath();
        if (!m_replaceExisting && isThere(entry.target)) {
            return entry.path + QStringLiteral(": 同じ名前のファイルがすでにあります");
        }
        // A dangling link gets its file, but not a folder made up for it.
        if (end.path != entry.path && !QFileInfo(QFileInfo(entry.target).absolutePath()).isDir()) {
            return entry.path + QStringLiteral(": リンク先のフォルダがありません");
        }
    }
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (auto failed = stage(m_entries[i], i)) {
            dropStaged();
            return failed;
        }
    }
    return place(base);
}

std::optional<QString> LogFileSet::stage(Entry& entry, qsizetype index) {
    if (!passes(Step::Stage, index)) {
        return refused(entry.path);
    }
    // A folder or a read-only file in the target's place is found before anything is written.
    if (const auto unwritable = checkWritable(entry.target)) {
        return entry.path + QStringLiteral(": ") + unwritable->text.section(QStringLiteral(": "), -1);
    }
    // The name is claimed exclusively, so two writers never share a staged file.
    const QString staged = markedName(entry.target, QStringLiteral(".tolvan-new-"));
    QFile claim(staged);
    if (!claim.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        return entry.path + QStringLiteral(": ") + fileReason(claim.error());
    }
    claim.close();
    entry.staged = staged;
    QSaveFile file(staged);
    if (!file.open(QIODevice::WriteOnly)) {
        return entry.path + QStringLiteral(": ") + fileReason(file.error());
    }
    if (file.write(entry.bytes) != entry.bytes.size()) {
        const QString reason = fileReason(file.error());
        file.cancelWriting();
        return entry.path + QStringLiteral(": ") + reason;
    }
    if (!file.commit()) {
        return entry.path + QStringLiteral(": ") + fileReason(file.error());
    }
    if (!isThere(entry.target)) {
        return std::nullopt;
    }
    // The new file takes over the permissions of the one it replaces, as a single save does.
    QFile::setPermissions(staged, QFile::permissions(entry.target));
    if (!passes(Step::Keep, index)) {
        return refused(entry.path);
    }
    const QString kept = markedName(entry.target, QStringLiteral(".tolvan-old-"));
    if (const auto failed = keepAside(entry.target, kept)) {
        return entry.path + QStringLiteral(": ") + *failed;
    }
    entry.kept = kept;
    return std::nullopt;
}

std::optional<QString> LogFileSet::place(const QString& base) {
    IntentRecord record;
    for (const Entry& entry : m_entries) {
        record.entries.append({entry.target, entry.staged, entry.kept});
    }
    const QString intentPath = intentPathOf(base);
    if (!passes(Step::Intent)) {
        dropStaged();
        return refused(intentPath);
    }
    if (const auto failed = record.write(intentPath)) {
        dropStaged();
        return intentPath + QStringLiteral(": ") + *failed;
    }
    syncFolder(QFileInfo(intentPath).absolutePath());

    {
        const PlacementGuard placing;
        // Back to wholly old: the record says so first, so a kill meanwhile is undone, not finished.
        auto rollBack = [&](QString failed) {
            record.direction = IntentRecord::Direction::Back;
            record.write(intentPath);
            const QStringList left = undoPlacement(record);
            syncFoldersOf(record);
            if (left.isEmpty()) {
                removeIfThere(intentPath);
            } else {
                failed += QStringLiteral("\n元のファイルは次の名前で残っています: ") +
                          left.join(QStringLiteral(", "));
            }
            return failed;
        };
        for (qsizetype i = 0; i < m_entries.size(); ++i) {
            const Entry& entry = m_entries[i];
            if (!passes(Step::Place, i)) {
                return rollBack(refused(entry.path));
            }
            if (const auto failed = renameOver(entry.staged, entry.target)) {
                return rollBack(entry.path + QStringLiteral(": ") + *failed);
            }
        }
        if (!passes(Step::SyncFolder)) {
            return rollBack(refused(base));
        }
        syncFoldersOf(record);
        if (!passes(Step::DropIntent) || !removeIfThere(intentPath)) {
            // The set is the new one; the next use of it removes the record and the old names.
            m_notices.append({QStringLiteral("Tolvan"),
                              QStringLiteral("保存は完了しましたが、次のファイルを削除できませんでした: %1")
                                  .arg(QDir::toNativeSeparators(intentPath))});
            return std::nullopt;
        }
    }
    QStringList stuck;
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        const QString& kept = m_entries[i].kept;
        if (!kept.isEmpty() && (!passes(Step::DropKept, i) || !removeIfThere(kept))) {
            stuck.append(QDir::toNativeSeparators(kept));
        }
    }
    if (!stuck.isEmpty()) {
        m_notices.append({QStringLiteral("Tolvan"),
                          QStringLiteral("保存は完了しましたが、次のファイルを削除できませんでした: %1")
                              .arg(stuck.join(QStringLiteral(", ")))});
    }
    return std::nullopt;
}

void LogFileSet::dropStaged() {
    for (Entry& entry : m_entries) {
        if (!entry.staged.isEmpty()) {
            removeIfThere(entry.staged);
            entry.staged.clear();
        }
        if (!entry.kept.isEmpty()) {
            removeIfThere(entry.kept);
            entry.kept.clear();
        }
    }
}

} // namespace tolvan::logfile
