#pragma once

// LogFile3Files: names and file access of log file 3.

#include "common/logfile/logfileio.h"

#include <QByteArray>
#include <QString>

namespace tolvan::log {

class LogFile3Files {
public:
    // The save rule: the four characters from the first ".jv" of the file name are removed,
    // then ".jv3" is appended (log.jv1 and log both become log.jv3).
    static QString saveName(const QString& chosen);
    // The file Open reads: the name itself, or for a name without a dot the name with ".jv3";
    // empty when neither exists.
    static QString openName(const QString& chosen);
    // Reads a bounded prefix of the file; a missing file gives the message that asks for
    // another name, an unreadable one the file layer's own message.
    static logfile::LoadedFile load(const QString& chosen);
    // Replaces the file only once every byte is written (a failed save leaves the old file).
    // Returns the file layer's message, or an empty text on success.
    static QString save(const QString& path, const QByteArray& bytes);
};

} // namespace tolvan::log
