#pragma once

#include "common/logfile/linecompare.h"
#include "common/message.h"
#include "handset/handsetstore.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <variant>

namespace tolvan::history {

// A log file that diff, check and a handset's history compare. Its mode's reader puts it onto a store as a
// write from it would take it, and the mode's writer renders the store again, so both sides of a comparison
// are lines as the log file writes them.
class ComparedFile {
public:
    // Numbered as the log files are, so each names its file kind.
    enum class Kind : std::uint8_t { LogFile1 = 1, LogFile2 = 2, LogFile4 = 4 };

    // Reads the file and the model its header names; otherwise tolvan-cli's line saying why it
    // cannot be compared (missing, unreadable, not a log file of that kind).
    static std::variant<ComparedFile, QString> load(Kind kind, const QString& path);

    Kind kind() const { return m_kind; }
    const QString& path() const { return m_path; }
    std::uint32_t modelCode() const { return m_modelCode; }

    // The file's values over what the store holds, read for the file's own model; the readers'
    // messages, each a line that does not read (none for a sound file).
    QList<Message> readInto(handset::HandsetBlocks& store) const;

    // The kind's model message: the file is not one of modelCode's.
    static Message modelMismatch(Kind kind, std::uint32_t modelCode);
    // Both stores rendered as the kind's lines and compared over every line with a meaning for
    // the handset. besideLogFile4: a log file 1 of a set whose log file 4 holds the PS-ID, which
    // is then compared there only.
    static QList<logfile::LineDifference> compare(Kind kind, const handset::HandsetBlocks& first,
                                                  const handset::HandsetBlocks& second,
                                                  std::uint32_t modelCode, bool besideLogFile4);

private:
    ComparedFile(Kind kind, QString path, QByteArray bytes, std::uint32_t modelCode);

    Kind m_kind;
    QString m_path;
    QByteArray m_bytes;
    std::uint32_t m_modelCode;
};

} // namespace tolvan::history
