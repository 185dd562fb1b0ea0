#pragma once

// BufferTexts: the line of text each buffer entry stands for, as the log display lists, log
// file 3 and the printed report show it.

#include "modes/log/model/bufferkind.h"
#include "modes/log/model/handsetbuffers.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <span>

namespace tolvan::log {

// Every byte value has a text: a pair (type, kind) a table does not know shows as "TT:KK".
class BufferTexts {
public:
    // Byte 0: bit 7 the event marker ("[Y]"), bits 0-6 the type; byte 1: the kind.
    static QString commEvent(std::uint8_t byte0, std::uint8_t byte1);
    static QString mmiEvent(std::uint8_t byte0, std::uint8_t byte1);
    // Byte 0: bit 7 the R flag ("[R]"), bits 0-6 the type; byte 1: bit 7 the E flag ("[E]"),
    // bits 0-6 the kind.
    static QString commStatus(std::uint8_t byte0, std::uint8_t byte1);
    static QString mmiStatus(std::uint8_t byte0, std::uint8_t byte1);
    // The handset's own fault code.
    static QString handsetError(std::uint8_t code);

    // The text of one entry of a buffer (an entry of the wrong size gives an empty text).
    static QString entryText(BufferKind kind, std::span<const std::uint8_t> entry);
    // One row per entry, entry 0 first: what the buffer's list shows.
    static QStringList rows(const HandsetBuffers& buffers, BufferKind kind);
};

} // namespace tolvan::log
