#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include "modes/dataset/datasetmessage.h"
#include "modes/dataset/logfile1format.h"

#include <cstdint>
#include <functional>

namespace tolvan::dataset {

// The lines of a log file 1 as its readers see them: at most LogFile1Format::kMaxLines lines,
// each cut at kMaxLineBytes, CR LF removed. Every load starts from an empty table, so nothing
// of an earlier file can show through a shorter one.
class LogLineTable {
public:
    explicit LogLineTable(QByteArrayView file);

    qsizetype lineCount() const { return m_lines.size(); }
    bool truncated() const { return m_truncated; }
    // Line number n (1 = the header) as stored; empty past the end.
    QByteArray line(int number) const;
    // The fields of line n: commas removed (except on lines past kCommaFreeLines), split at runs
    // of double quotes, empty fields dropped, at most kMaxFields kept.
    QList<QByteArray> tokens(int number) const;
    // Line 1 is the header of the connected model; an unknown model passes.
    bool headerMatches(std::uint32_t modelCode) const;
    // Both readers' walk over a file: checks the header (on a mismatch adds its message and
    // returns false), then hands each item of the model's line order its line's fields.
    bool forEachItem(std::uint32_t modelCode, QList<DataSetMessage>& messages,
                     const std::function<void(LogItem, const QList<QByteArray>&)>& read) const;

private:
    QList<QByteArray> m_lines;
    bool m_truncated = false;
};

} // namespace tolvan::dataset
