#pragma once

// LogFile3Writer: builds the bytes of a log file 3 from the six lists and the memo.

#include "common/message.h"
#include "modes/log/model/handsetbuffers.h"
#include "modes/log/model/logfile3format.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace tolvan::log {

struct LogFile3Text {
    QByteArray bytes;             // the whole file, code page 932, CR LF after every line; empty on failure
    std::optional<Message> error; // why it could not be written
    bool ok() const { return !error.has_value(); }
};

// The file: the model's header line (none for another model code), then per buffer its quoted
// name and one quoted block of its rows (no rows: "", one row: "row", more: the first row after
// an opening quote, the rest as they are, then a line holding the closing quote), then the memo
// in quotes. With the handset's buffer sizes that is 178 lines.
class LogFile3Writer {
public:
    // What the screen shows. Fails, writing nothing, when a row or the memo holds a line break or
    // a character code page 932 cannot carry, or when the file would be longer than a reader
    // takes.
    static LogFile3Text write(const LogFile3Content& content, std::uint32_t modelCode);
    // The buffers as the last read brought them (data save mode, tolvan-cli).
    static LogFile3Text fromBuffers(const HandsetBuffers& buffers, std::uint32_t modelCode,
                                    const QString& memo);
};

} // namespace tolvan::log
