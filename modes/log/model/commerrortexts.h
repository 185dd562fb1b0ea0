#pragma once

// CommErrorTexts: the line of one communication error status entry (protocol errors and
// timeouts of the handset's radio link).

#include <QString>

#include <cstdint>

namespace tolvan::log {

// An entry is a head flag (byte 0 bit 0), an error code (byte 1 bits 0-6) and a detail
// (byte 2). Entries that follow a head entry (head flag 0) are indented under it.
class CommErrorTexts {
public:
    static QString line(std::uint8_t byte0, std::uint8_t byte1, std::uint8_t byte2);
};

} // namespace tolvan::log
