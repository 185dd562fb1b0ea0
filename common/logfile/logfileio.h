#pragma once

#include "common/message.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace tolvan::logfile {

// A log file read into memory, never more than a reader can use.
struct LoadedFile {
    enum class Status { Loaded, Missing, Unreadable };
    Status status = Status::Missing;
    QString path;     // the file actually read
    QByteArray bytes; // at most maxBytes + 1, so a reader can tell the file was longer
    Message message;  // for Missing (asks for another name) and Unreadable (the file layer's text)
};

// Reads exactly the named file (no extension looked up, so a name that exists is never swapped
// for another).
LoadedFile loadExact(const QString& path, qsizetype maxBytes);
// The screens' Open: the name as openName resolves it with the extension.
LoadedFile loadChosen(const QString& chosen, const QString& extension, qsizetype maxBytes);

// Replaces the file only once every byte is written, so a failed save never destroys the file
// it was to replace. Returns the file layer's reason (in Japanese), or an empty text on success.
QString saveAtomically(const QString& path, const QByteArray& bytes);

// Whether the file could be written, found out before a handset is read for nothing: nothing is
// created or replaced. The message names the path and the file layer's reason.
std::optional<Message> checkWritable(const QString& path);

// "指定されたファイルは存在しません。..." with the title "エラー": the file does not exist, enter
// the name again.
Message fileMissing();

} // namespace tolvan::logfile
