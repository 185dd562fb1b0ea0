#pragma once

// LogFileKind: what one kind of log file (.jv1 to .jv4) is, in one place: its number and
// extension, the header line each model writes, the bounds every reader keeps to and how its
// files are named, loaded and checked against the connected model.

#include "common/logfile/linetable.h"
#include "common/logfile/logfileio.h"
#include "common/message.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>

namespace tolvan::logfile {

class LogFileKind {
public:
    // Whether the memo line may hold a double quote. A quote anywhere else would shift every
    // field after it and is never written; in the memo, the last line, it only cuts the memo
    // where a reader meets it, which log files 1, 3 and 4 have always allowed.
    enum class MemoQuote : std::uint8_t { Written, Refused };
    // How the model message names the file's model for a ZX-VA150(C): by the model, or (log
    // file 2) by its board, ZX-VA150(B).
    enum class MismatchName : std::uint8_t { Model, Board };

    struct Bounds {
        qsizetype maxLines;     // lines a reader keeps; the rest of a longer file is not read
        qsizetype maxLineBytes; // bytes kept of one line
        qsizetype maxFields;    // fields kept of one line
    };

    constexpr LogFileKind(int number, Bounds bounds, MemoQuote memoQuote, MismatchName mismatchName)
        : m_number(number), m_bounds(bounds), m_memoQuote(memoQuote), m_mismatchName(mismatchName) {}

    constexpr int number() const { return m_number; }
    constexpr qsizetype maxLines() const { return m_bounds.maxLines; }
    constexpr qsizetype maxLineBytes() const { return m_bounds.maxLineBytes; }
    constexpr qsizetype maxFields() const { return m_bounds.maxFields; }
    // The most of a file any path reads: every line a reader keeps at its longest, CR LF
    // included. The screens, tolvan-cli and the comparisons all load this much, so a file is
    // read the same way whichever of them opens it.
    constexpr qsizetype maxFileBytes() const { return m_bounds.maxLines * (m_bounds.maxLineBytes + 2); }
    constexpr bool memoMayHoldQuote() const { return m_memoQuote == MemoQuote::Written; }

    QString extension() const; // "jv1"
    QString filter() const;    // "ﾛｸﾞﾌｧｲﾙ1(*.jv1)", for the file dialogs

    // The header's one field, e.g. ZX-VA100ログファイル1; empty for an unknown model code.
    QString headerField(std::uint32_t modelCode) const;
    // The header check every reader makes: the line (without CR LF) is the model's header field
    // in double quotes. An unknown model (no header) passes.
    bool headerMatches(QByteArrayView line, std::uint32_t modelCode) const;
    // The model whose header the line is, for paths that have no handset to ask (print, diff).
    std::optional<std::uint32_t> modelOfHeader(QByteArrayView line) const;
    // The same for the first line of a file.
    std::optional<std::uint32_t> modelOfFile(QByteArrayView file) const;
    // "接続モデルはZX-VA100ですが、..." for the connected model code 2, 3 or 4; nothing for
    // another, whose files are not checked.
    std::optional<Message> modelMismatch(std::uint32_t modelCode) const;

    // The save rule with this kind's extension (see saveName in logfilenames.h).
    QString saveName(const QString& chosen) const;
    // The file Open reads: the name, or for a name without a dot the name with the extension.
    QString openName(const QString& chosen) const;
    // The screens' Open: a bounded prefix of the file openName resolves.
    LoadedFile load(const QString& chosen) const;
    // Exactly the named file, bounded (tolvan-cli, saved sets, comparisons).
    LoadedFile loadExact(const QString& path) const;
    // The lines of a file as this kind's readers keep them.
    LineTable lines(QByteArrayView file) const;

private:
    int m_number;
    Bounds m_bounds;
    MemoQuote m_memoQuote;
    MismatchName m_mismatchName;
};

// Log file 1 (.jv1, system parameters): the handset tool's line table of 256 lines; the longest
// item has ten fields.
inline constexpr LogFileKind kLogFile1{
    1, {256, 4096, 16}, LogFileKind::MemoQuote::Written, LogFileKind::MismatchName::Model};
// Log file 2 (.jv2, calibration coefficients): six lines read into the same 256-line table; the
// longest line has five fields. A quote in its memo has always been refused.
inline constexpr LogFileKind kLogFile2{
    2, {256, 4096, 8}, LogFileKind::MemoQuote::Refused, LogFileKind::MismatchName::Board};
// Log file 3 (.jv3, handset buffers): the read-line array of 255 lines, also the most the writer
// writes so every file the tool writes reads back whole.
inline constexpr LogFileKind kLogFile3{
    3, {255, 4096, 8}, LogFileKind::MemoQuote::Written, LogFileKind::MismatchName::Model};
// Log file 4 (.jv4, handset settings): never more lines than the longest model's 33; the call
// number line has 49 fields.
inline constexpr LogFileKind kLogFile4{
    4, {33, 4096, 64}, LogFileKind::MemoQuote::Written, LogFileKind::MismatchName::Model};

// The kind of a log file number, or nothing for another number.
const LogFileKind* logFileKind(int number);

} // namespace tolvan::logfile
