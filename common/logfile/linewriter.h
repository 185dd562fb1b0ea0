#pragma once

// LineWriter: the lines of every log file, written one after another into code page 932 with CR
// LF, each checked for what the line codec cannot carry.

#include "common/logfile/logfilekind.h"
#include "common/message.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace tolvan::logfile {

// A written log file: its bytes (code page 932, CR LF after every line), or no bytes and why not.
struct FileText {
    QByteArray bytes;
    QString error; // which line could not be written and why; empty when it was
    bool ok() const { return error.isEmpty(); }
};

// A line that cannot be written stops the file: nothing more is appended, bytes() is empty and
// error() says which line and why. A line break in any text would split a line in two; a double
// quote inside a field would move every field after it (the memo follows its kind's rule); a
// character code page 932 has no form for is named whole, surrogate pairs included.
class LineWriter {
public:
    explicit LineWriter(const LogFileKind& kind) : m_kind(kind) {}

    // The model's header alone in quotes; no line for an unknown model.
    bool header(std::uint32_t modelCode);
    // Each field in double quotes, separated by single commas. what names the line in a message.
    bool fields(const QString& what, const QStringList& fields);
    // A line of label and values, the label as its first field; a message names the line by the
    // label without the spaces some labels carry.
    bool labelled(const QString& label, const QStringList& values);
    // The memo alone in quotes.
    bool memo(const QString& memo);
    // A line of a quoted block (log file 3): the text with a quote before and/or after it.
    bool blockLine(const QString& what, const QString& text, bool openQuote, bool closeQuote);

    bool ok() const { return !m_error.has_value(); }
    // The file so far; empty once a line failed.
    QByteArray bytes() const { return ok() ? m_bytes : QByteArray(); }
    const std::optional<Message>& error() const { return m_error; }
    // The error's text; empty when every line was written.
    QString errorText() const { return m_error ? m_error->text : QString(); }
    // The file, or why it could not be written.
    FileText text() const { return {bytes(), errorText()}; }

private:
    enum class Quotes : std::uint8_t { Refused, Allowed };
    bool check(const QString& what, const QString& text, Quotes quotes);
    bool append(const QString& what, const QString& line);
    bool fail(const QString& text);

    const LogFileKind& m_kind;
    QByteArray m_bytes;
    std::optional<Message> m_error;
};

} // namespace tolvan::logfile
