#pragma once

#include "common/cp932.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QStringList>

namespace tolvan {

// Log files are lines of double-quoted fields separated by single commas, CR LF at the end of
// every line, code page 932. There is no escaping: a field is written as it stands.

// One whole line, CR LF included. Fails (errorIndex >= 0, no bytes) when a field holds a
// character code page 932 cannot carry; errorIndex then counts from the start of the line text.
Cp932Encoded encodeQuotedLine(const QStringList& fields);

// The reader's view of one line: every comma removed, the rest split at runs of double quotes,
// empty pieces dropped. Works on the raw bytes (neither a comma nor a quote can be the second
// byte of a code page 932 character) and keeps at most maxFields pieces.
QList<QByteArray> tokenizeLogLine(QByteArrayView line, qsizetype maxFields);

// Splits a file into lines at LF, dropping one CR before it. Keeps at most maxLines lines and
// cuts each line at maxLineLength bytes, so a hostile file cannot make a reader grow without
// bound; truncated reports whether anything was left out.
struct LogLines {
    QList<QByteArray> lines;
    bool truncated = false;
};
LogLines splitLogLines(QByteArrayView file, qsizetype maxLines, qsizetype maxLineLength);

} // namespace tolvan
