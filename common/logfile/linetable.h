#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace tolvan::logfile {

// The lines of a log file as its readers see them: at most maxLines lines, each cut at
// maxLineBytes, CR LF removed, the whole file cut at maxLines * (maxLineBytes + 2) bytes. Every
// load starts from an empty table, so nothing of an earlier file can show through a shorter one.
class LineTable {
public:
    LineTable(QByteArrayView file, qsizetype maxLines, qsizetype maxLineBytes);

    qsizetype lineCount() const { return m_lines.size(); }
    bool truncated() const { return m_truncated; }
    // Line number n (1 = the first) as stored; empty past the end.
    QByteArray line(qsizetype number) const;
    // The fields of line n as every log reader splits them: commas removed, split at runs of
    // double quotes, empty fields dropped, at most maxFields kept.
    QList<QByteArray> tokens(qsizetype number, qsizetype maxFields) const;
    // The same, but commas stay part of the fields (memo lines that keep them).
    QList<QByteArray> quotedFields(qsizetype number, qsizetype maxFields) const;

private:
    QList<QByteArray> m_lines;
    bool m_truncated = false;
};

} // namespace tolvan::logfile
