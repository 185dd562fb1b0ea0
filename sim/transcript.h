#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace tolvan::sim {

// A record of the traffic on the line, one unit a line: the time in milliseconds, the direction
// as tolvan-cli --trace writes it ('>' from the tool to the handset, '<' from the handset to the
// tool) and the bytes in hex, e.g. "    12.345 > 02 20 03 23".
class Transcript {
public:
    Transcript() = default;
    ~Transcript();
    Transcript(const Transcript&) = delete;
    Transcript& operator=(const Transcript&) = delete;

    bool open(const std::string& path);
    bool isOpen() const { return m_file != nullptr; }
    void close();
    // Every line is flushed, so a killed simulator leaves a complete record.
    void record(std::int64_t atUs, char direction, std::span<const std::uint8_t> bytes);

    static std::string line(std::int64_t atUs, char direction, std::span<const std::uint8_t> bytes);

private:
    std::FILE* m_file = nullptr;
};

} // namespace tolvan::sim
