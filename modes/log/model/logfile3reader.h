#pragma once

// LogFile3Reader: reads a log file 3 back into the six lists and the memo.

#include "common/message.h"
#include "modes/log/model/logfile3format.h"

#include <QByteArrayView>

#include <cstdint>
#include <optional>

namespace tolvan::log {

struct LogFile3Read {
    enum class Status {
        Loaded,
        WrongModel,   // the header is not the connected model's: message says so
        BadStructure, // the sections are not where a log file 3 has them: nothing to say
    };
    Status status = Status::BadStructure;
    // The lists and the memo the screen shows now; only when loaded.
    LogFile3Content content;
    std::optional<Message> message;

    bool loaded() const { return status == Status::Loaded; }
};

// Any bytes are accepted: at most LogFile3Format::kMaxLines lines are read, each cut at
// kMaxLineBytes. Each section is found by the last line equal to its header; the headers must
// come in order with at least one line after each (the memo after the last). A section's rows
// are its lines with every double quote removed, empty ones skipped; the memo is the last line
// up to its second double quote.
class LogFile3Reader {
public:
    static LogFile3Read read(QByteArrayView file, std::uint32_t modelCode);
};

} // namespace tolvan::log
