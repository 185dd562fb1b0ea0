#pragma once

// LogDisplayLists: the rows of the log display's six lists, as the screen shows them, log file 3
// holds them and the report prints them.

#include "modes/log/model/bufferkind.h"
#include "modes/log/model/handsetbuffers.h"

#include <QStringList>

#include <array>
#include <cstdint>

namespace tolvan::log {

// A plain value: a list may hold any number of rows (a loaded file decides), not only its
// buffer's entry count.
class LogDisplayLists {
public:
    // Six empty lists (the not-connected screen).
    LogDisplayLists() = default;

    // Every buffer rendered, one row per entry.
    static LogDisplayLists fromBuffers(const HandsetBuffers& buffers);
    // Every list at its reset rows.
    static LogDisplayLists defaults();
    // The rows a list shows after its buffer was cleared: the texts of an empty buffer, the
    // communication status cut to 16 rows (16, 16, 16 and 1 "ｱｲﾄﾞﾙ", 36 "正常終了", 16
    // "--------------------").
    static QStringList defaultRows(BufferKind kind);

    const QStringList& rows(BufferKind kind) const { return m_rows[indexOf(kind)]; }
    void setRows(BufferKind kind, const QStringList& rows) { m_rows[indexOf(kind)] = rows; }
    void reset(BufferKind kind) { setRows(kind, defaultRows(kind)); }

    // What the screen shows after a script of this mode ended with the handset answering: a read
    // (or the read after a reconnect) shows every buffer; a clear resets only the cleared lists,
    // although the script read everything again. False for an id that is no such operation: the
    // lists are then unchanged.
    bool applyScriptResult(std::uint32_t operationId, const HandsetBuffers& buffers);

    bool operator==(const LogDisplayLists&) const = default;

private:
    std::array<QStringList, kBufferCount> m_rows;
};

} // namespace tolvan::log
