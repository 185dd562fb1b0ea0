#include "common/backup/backupfolder.h"

#include "common/logfile/intentrecord.h"
#include "common/logfile/logfileset.h"
#include "common/logfile/setrecovery.h"
#include "common/modelnames.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>

namespace tolvan::backup {
namespace {

QString modelName(std::uint32_t modelCode) {
    const QString name = QString::fromLatin1(modelNameOf(modelCode));
    return name.isEmpty() ? QStringLiteral("unknown") : name;
}

Message backupFailed(const QString& what) {
    return errorMessage(
        QStringLiteral(
            "書き込み前のバックアップを保存できませんでした。\n%1\n子機には何も書き込んでいません。")
            .arg(what));
}

// A backup killed while it was placed is finished or cleaned up by the next one of the handset,
// since nothing else ever saves under its name again. Backup names have no dot of their own.
void recoverInterrupted(const QString& folder) {
    const QStringList leftovers = QDir(folder).entryList(
        {QStringLiteral("*.tolvan-intent"), QStringLiteral("*.tolvan-new*"), QStringLiteral("*.tolvan-old*")},
        QDir::Files | QDir::Hidden | QDir::System);
    QSet<QString> bases;
    for (const QString& name : leftovers) {
        bases.insert(folder + QLatin1Char('/') + name.section(QLatin1Char('.'), 0, 0));
    }
    for (const QString& base : bases) {
        // A set someone is writing back right now is left to the next backup.
        logfile::SetLock lock(logfile::lockPathOf(base));
        if (!lock.acquire(0)) {
            logfile::recoverLocked(base);
        }
    }
}

} // namespace

QString backupRoot() {
    QString fromEnvironment = qEnvironmentVariable("TOLVAN_BACKUP_DIR");
    if (!fromEnvironment.isEmpty()) {
        return fromEnvironment;
    }
#ifdef Q_OS_WIN
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/backups");
#else
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty()) {
        data = QDir::homePath() + QStringLiteral("/.local/share");
    }
    return data + QStringLiteral("/tolvan/backups");
#endif
}

QString backupBase(const QString& root, std::uint32_t modelCode, std::uint32_t psId, const QDateTime& when) {
    return QStringLiteral("%1/%2/%3/%4")
        .arg(root, modelName(modelCode),
             QStringLiteral("%1").arg(psId % 1000000000u, 9, 10, QLatin1Char('0')),
             when.toString(QStringLiteral("yyyyMMdd-HHmmss")));
}

std::variant<QString, Message> saveBackup(const QString& root, std::uint32_t modelCode, std::uint32_t psId,
                                          const QList<BackupFile>& files, const QDateTime& when,
                                          const logfile::LogFileSet::StepHook& hook) {
    const QString stamped = backupBase(root, modelCode, psId, when);
    const QString folder = QFileInfo(stamped).path();
    if (!QDir().mkpath(folder)) {
        return backupFailed(folder + QStringLiteral(": フォルダを作成できません"));
    }
    // Choosing the name and placing the set is one step for every process backing up this
    // handset: two writes within one second get their own names and never replace each other.
    logfile::SetLock claim(folder + QStringLiteral("/.tolvan-lock"));
    if (const auto busy = claim.acquire(logfile::kSetLockWaitMs)) {
        return backupFailed(busy->text);
    }
    recoverInterrupted(folder);
    QString base = stamped;
    auto taken = [&](const QString& candidate) {
        if (logfile::isThere(logfile::intentPathOf(candidate))) {
            return true;
        }
        return std::any_of(files.begin(), files.end(), [&](const BackupFile& file) {
            return logfile::isThere(candidate + QLatin1Char('.') + file.extension);
        });
    };
    for (int n = 2; taken(base); ++n) {
        base = stamped + QLatin1Char('-') + QString::number(n);
    }
    // A backup is restored as a set: half of one must not be left to pass for the whole.
    logfile::LogFileSet set;
    set.setReplaceExisting(false);
    set.setStepHook(hook);
    for (const BackupFile& file : files) {
        set.add(base + QLatin1Char('.') + file.extension, file.bytes);
    }
    if (const auto failed = set.save()) {
        return backupFailed(*failed);
    }
    return base;
}

} // namespace tolvan::backup
