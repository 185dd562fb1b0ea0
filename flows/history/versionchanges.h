#pragma once

// The lines each version of a handset changed from the one before it.

#include "flows/history/handsetversion.h"

#include "common/logfile/linecompare.h"

#include <QList>
#include <QStringList>

namespace tolvan::history {

struct VersionChanges {
    // first: the value of the version before, second: this version's, as `diff` prints them.
    QList<logfile::LineDifference> lines;
    // No earlier version of this model held any of this version's files: nothing to compare.
    bool first = true;
    // Files of the version that could not be read or compared, each with why.
    QStringList problems;
};

// For versions newest first, what each changed: each of its log files (1, 2 and 4) against the
// nearest older version of the same model that has that file, so a backup before a data setting
// write (a .jv1 alone) does not hide the handset settings of the backup before it.
QList<VersionChanges> changesOf(const QList<HandsetVersion>& newestFirst);

} // namespace tolvan::history
