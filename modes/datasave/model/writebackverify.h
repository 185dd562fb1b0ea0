#pragma once

#include "handset/handsetstore.h"

#include <QList>
#include <QString>

#include <cstdint>

namespace tolvan::datasave {

// One line of a written-back set that the handset does not hold: the line's label and its
// values (fields joined by spaces) as the log file writes them from each side.
struct WriteBackDifference {
    QString label;
    QString fileValue;
    QString handsetValue;
    bool operator==(const WriteBackDifference&) const = default;
};

// Compares what a write-back sent with what the handset holds when read again: both stores are
// rendered by the log file 1 and log file 4 writers and compared line by line, over the lines
// the write-back sends. Version, receive-gain and fault monitoring lines are never written, the
// memo lines are not the handset's, and the PS-ID of log file 1 is the one of log file 4, so
// those are left out.
// Which files of the set went to the handset, and so are compared: a .jv1 or .jv4 that was
// missing or refused sent the handset's own values, which say nothing about the file.
struct WrittenFiles {
    bool jv1 = true;
    bool jv4 = true;
};

QList<WriteBackDifference> compareWriteBack(const handset::HandsetStore& expected,
                                            const handset::HandsetStore& handset, std::uint32_t modelCode,
                                            WrittenFiles written = {});

} // namespace tolvan::datasave
