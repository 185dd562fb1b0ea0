#pragma once

// LogFile3Format: texts and limits of log file 3 (.jv3, the handset buffers), shared by its
// writer, its reader and the report.

#include "modes/log/model/bufferkind.h"
#include "modes/log/model/logdisplaylists.h"

#include <QString>

#include <cstdint>

namespace tolvan::log {

// What a log file 3 holds: the six lists' rows and the memo.
struct LogFile3Content {
    LogDisplayLists lists;
    QString memo;

    bool operator==(const LogFile3Content&) const = default;
};

class LogFile3Format {
public:
    // Lines a reader takes (the rest of a longer file is not read), and the most the writer
    // writes, so every file the tool writes reads back whole.
    static constexpr qsizetype kMaxLines = 255;
    // Bytes kept of one line, and of a file, so no file makes a reader grow without bound.
    static constexpr qsizetype kMaxLineBytes = 4096;
    static constexpr qsizetype kMaxFileBytes = kMaxLines * (kMaxLineBytes + 2);

    // The header's one field, e.g. ZX-VA100ログファイル3; empty for another model code, whose
    // files have no header line.
    static QString headerField(std::uint32_t modelCode);
    // The buffer's name: its section header in the file (in double quotes) and its label.
    static QString sectionName(BufferKind kind);
};

} // namespace tolvan::log
