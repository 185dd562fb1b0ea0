#pragma once

#include "common/logfile/logfileio.h"

#include <QByteArray>
#include <QString>

namespace tolvan::psent {

// Names and file access of log file 4.
class LogFile4Files {
public:
    // The save rule: the four characters from the first ".jv" of the file name are removed,
    // then ".jv4" is appended (a.jv1 becomes a.jv4, a.jvx.b becomes a.b.jv4).
    static QString saveName(const QString& chosen);
    // The file Open reads: the name itself, or for a name without a dot the name with ".jv4";
    // empty when neither exists.
    static QString openName(const QString& chosen);
    // A bounded prefix of the file; a missing file gives the message that asks for another name.
    static logfile::LoadedFile load(const QString& chosen);
    // Replaces the file only once every byte is written. The file layer's message, or empty.
    static QString save(const QString& path, const QByteArray& bytes);
};

} // namespace tolvan::psent
