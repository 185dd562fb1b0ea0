#pragma once

#include "common/logfile/logfileio.h"

#include <QByteArray>
#include <QString>

namespace tolvan::testmode {

// Names and file access of log file 2.
class LogFile2Files {
public:
    // The four characters from the first ".jv" of the file name are removed, then ".jv2" is
    // appended (a.jv1 and a both become a.jv2).
    static QString saveName(const QString& chosen);
    // A bounded prefix of the file (the name, or the name with ".jv2" when it has no dot); a
    // missing file gives the message that asks for another name.
    static logfile::LoadedFile load(const QString& chosen);
    // Replaces the file only once every byte is written. The file layer's message, or empty.
    static QString save(const QString& path, const QByteArray& bytes);
};

} // namespace tolvan::testmode
