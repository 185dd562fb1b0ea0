#pragma once

// A saved set as bytes, and the names and all-or-nothing write every set of log files shares:
// one base name with .jv1 (system parameters), .jv3 (buffers) and .jv4 (handset settings). A
// registration's pair is the same set without the buffers.

#include "common/message.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tolvan::logfile {

struct SaveSetFiles {
    QByteArray jv1;
    QByteArray jv3;
    QByteArray jv4;
};

// The files a set of that base name consists of: base.jv1, base.jv3 (when withBuffers), base.jv4.
QStringList saveSetPaths(const QString& base, bool withBuffers = true);

// Writes base.jv1, base.jv3 (when withBuffers) and base.jv4 all or nothing: on a failure every
// file of that name is as it was, so no later write-back merges files of two different saves.
// notices: where the lines go that say what the save did beside the set (an earlier interrupted
// save of that name finished or cleaned up).
std::optional<Message> writeSaveSet(const QString& base, const SaveSetFiles& files, bool withBuffers = true,
                                    QList<Message>* notices = nullptr);

// Whether every file of the set can be created, found out before a handset is read for nothing.
// Nothing is written.
std::optional<Message> checkSaveSetWritable(const QString& base, bool withBuffers = true);

} // namespace tolvan::logfile
