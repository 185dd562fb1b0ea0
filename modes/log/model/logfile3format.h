#pragma once

// LogFile3Format: texts and limits of log file 3 (.jv3, the handset buffers), shared by its
// writer, its reader and the report.

#include "modes/log/model/bufferkind.h"
#include "modes/log/model/logdisplaylists.h"

#include "common/logfile/logfilekind.h"

#include <QString>

namespace tolvan::log {

// What a log file 3 holds: the six lists' rows and the memo.
struct LogFile3Content {
    LogDisplayLists lists;
    QString memo;

    bool operator==(const LogFile3Content&) const = default;
};

class LogFile3Format {
public:
    // The kind's bounds (logfilekind.h): lines a reader takes, also the most the writer writes.
    static constexpr qsizetype kMaxLines = logfile::kLogFile3.maxLines();
    static constexpr qsizetype kMaxLineBytes = logfile::kLogFile3.maxLineBytes();
    static constexpr qsizetype kMaxFileBytes = logfile::kLogFile3.maxFileBytes();

    // The buffer's name: its section header in the file (in double quotes) and its label.
    static QString sectionName(BufferKind kind);
};

} // namespace tolvan::log
