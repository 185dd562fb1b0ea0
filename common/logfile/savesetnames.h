#pragma once

#include "common/message.h"

#include <QString>

#include <optional>

namespace tolvan::logfile {

// The names of a saved set: one base name with .jv1 (system parameters), .jv3 (buffers) and
// .jv4 (handset settings).
class SaveSetNames {
public:
    // Save: the chosen path with its first ".jv" and the character after it removed, if there
    // is one (a.jv4 and a both give a).
    static QString baseName(const QString& chosen);
    // The command line's BASE: the extensions are appended to it as given; only a trailing
    // ".jv1", ".jv3" or ".jv4" is taken off first (site.jv4 and site both give site).
    static QString commandBase(const QString& given);

    struct WriteBackFiles {
        QString jv1;
        QString jv4;
    };
    // Write-back: the .jv1 name is the chosen path if it holds ".jv1", else the path with its
    // first ".jv3", or else its first ".jv4", replaced by ".jv1"; the .jv4 name is that with
    // every ".jv1" replaced by ".jv4". Nothing when the path holds none of the three.
    static std::optional<WriteBackFiles> writeBackFiles(const QString& chosen);
    // "jv読み出しフォーマットエラー": the chosen name is none of the set's three files.
    static Message formatError();
};

} // namespace tolvan::logfile
