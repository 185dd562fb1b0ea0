#pragma once

#include <QByteArray>
#include <QString>

namespace tolvan::cli {

// A log file read by tolvan-cli: exactly the named file (no extension looked up, so a name that
// exists is never swapped for another), and never more than a reader can use.
struct BoundedFile {
    enum class Status { Loaded, Missing, Unreadable };
    Status status = Status::Missing;
    QByteArray bytes; // at most maxBytes + 1, so a reader can tell the file was longer
    QString error;    // the file layer's message when Unreadable

    static BoundedFile read(const QString& path, qsizetype maxBytes);
};

} // namespace tolvan::cli
