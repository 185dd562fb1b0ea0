#include "flows/history/backupprune.h"

#include "flows/history/versionfinder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tolvan::history {

PruneResult pruneBackups(const QString& root, int days, const QDateTime& now) {
    PruneResult result;
    const QDateTime limit = now.addDays(-days);
    for (const HandsetVersion& version : BackupVersions(root).versions()) {
        if (version.when >= limit) {
            continue;
        }
        bool gone = true;
        for (const QString& extension : version.extensions) {
            const QString path = version.file(extension);
            if (QFileInfo::exists(path) && !QFile::remove(path)) {
                result.failed.append(path);
                gone = false;
            }
        }
        if (gone) {
            ++result.removed;
        }
        // Fails while the folder still holds anything, as it should.
        QDir().rmdir(QFileInfo(version.base).path());
    }
    return result;
}

} // namespace tolvan::history
