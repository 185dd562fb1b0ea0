#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include "common/logfile/linetable.h"
#include "common/message.h"
#include "modes/dataset/model/logfile1format.h"

#include <cstdint>
#include <functional>

namespace tolvan::dataset {

// The lines of a log file 1 as its readers see them: the shared line table with log file 1's
// bounds (logfile::kLogFile1: 256 lines, each cut at 4096 bytes), its comma rule and its
// header.
class LogLineTable {
public:
    explicit LogLineTable(QByteArrayView file);

    qsizetype lineCount() const { return m_table.lineCount(); }
    bool truncated() const { return m_table.truncated(); }
    // Line number n (1 = the header) as stored; empty past the end.
    QByteArray line(int number) const;
    // The fields of line n: commas removed (except on lines past kCommaFreeLines), split at runs
    // of double quotes, empty fields dropped, at most the kind's fields kept.
    QList<QByteArray> tokens(int number) const;
    // Line 1 is the header of the connected model; an unknown model passes.
    bool headerMatches(std::uint32_t modelCode) const;
    // Both readers' walk over a file: checks the header (on a mismatch adds its message and
    // returns false), then hands each item of the model's line order its line's fields.
    bool forEachItem(std::uint32_t modelCode, QList<Message>& messages,
                     const std::function<void(LogItem, const QList<QByteArray>&)>& read) const;

private:
    logfile::LineTable m_table;
};

} // namespace tolvan::dataset
