#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace tolvan::logfile {

// One line that differs between two log files of one kind: the line's label and its values
// (fields joined by spaces) as the log file writes them on each side.
struct LineDifference {
    QString label;
    QString first;
    QString second;
    bool operator==(const LineDifference&) const = default;
};

// What a difference shows on the first side for a line that could not be read from its file.
QString unreadValue();

// Compares two files one writer wrote for one model, line by line after the header: line i
// (0 = the first after the header) counts when compared[i] is set. Comparing what the writer
// makes of both sides, rather than the files as found, means two files that put the same
// values differently (05 and 5) compare equal. A compared line whose label is among unread
// could not be read from the first side's file, so both sides hold the second's value and say
// nothing: it is always a difference, with unreadValue() as its first value.
QList<LineDifference> compareWrittenLines(const QByteArray& first, const QByteArray& second,
                                          const std::vector<bool>& compared, const QStringList& unread = {});

} // namespace tolvan::logfile
