#pragma once

#include "common/logfile/linecompare.h"
#include "handset/handsetstore.h"

#include <QList>
#include <QStringList>

#include <cstdint>

namespace tolvan::datasave {

// One line of a set that the handset does not hold: the line's label, then its values (fields
// joined by spaces) as the log file writes them from the file's side (first) and the handset's
// (second).
using WriteBackDifference = logfile::LineDifference;

// Which lines of a log file a comparison counts.
enum class ComparedLines {
    // The lines a write-back sends: version, receive-gain and fault monitoring lines are never
    // written, and the PS-ID of log file 1 is the one of log file 4.
    WriteBack,
    // Every line with a meaning for the handset: all but the header and the memo, which are the
    // file's own.
    Handset,
    // The same for a log file 1 beside its set's log file 4, which holds the PS-ID the set sends:
    // the PS-ID is compared there, once.
    HandsetBesideLogFile4,
};

// Both stores rendered by the log file 1 writer for the model, compared line by line.
QList<WriteBackDifference> compareLogFile1(const handset::HandsetBlocks& first,
                                           const handset::HandsetBlocks& second, std::uint32_t modelCode,
                                           ComparedLines lines, const QStringList& unread = {});
// The same with the log file 4 writer, over every line but the memo: a write-back sends them all.
// Beyond a write-back's check, the menus are compared with their gaps closed: a write closes
// them, so a menu whose gaps alone differ holds the same functions in the same order.
QList<WriteBackDifference> compareLogFile4(const handset::HandsetBlocks& first,
                                           const handset::HandsetBlocks& second, std::uint32_t modelCode,
                                           ComparedLines lines, const QStringList& unread = {});

// Which files of the set went to the handset, and so are compared: a .jv1 or .jv4 that was
// missing or refused sent the handset's own values, which say nothing about the file.
struct WrittenFiles {
    bool jv1 = true;
    bool jv4 = true;
    // Labels of the lines of each file that did not read and so were not sent: listed as
    // differences whatever the handset holds.
    QStringList jv1Unread;
    QStringList jv4Unread;
};

// Compares what a write-back sent with what the handset holds when read again, over the lines the
// write-back sends of the files it sent.
QList<WriteBackDifference> compareWriteBack(const handset::HandsetBlocks& expected,
                                            const handset::HandsetBlocks& handset, std::uint32_t modelCode,
                                            const WrittenFiles& written = {});

} // namespace tolvan::datasave
