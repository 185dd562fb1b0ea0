#pragma once

// Removing old backups, only ever when asked.

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace tolvan::history {

struct PruneResult {
    int removed = 0;    // versions whose files are all gone
    QStringList failed; // files that could not be removed
};

// Removes every backup under root made more than days days before now: all files of its set,
// and the handset's folder once it is empty. Saved sets and log folders are never touched.
PruneResult pruneBackups(const QString& root, int days, const QDateTime& now = QDateTime::currentDateTime());

} // namespace tolvan::history
