#include "sim/transcript.h"

namespace tolvan::sim {

Transcript::~Transcript() {
    close();
}

bool Transcript::open(const std::string& path) {
    close();
    m_file = std::fopen(path.c_str(), "w");
    return m_file != nullptr;
}

void Transcript::close() {
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}

std::string Transcript::line(std::int64_t atUs, char direction, std::span<const std::uint8_t> bytes) {
    char head[48];
    std::snprintf(head, sizeof head, "%6lld.%03lld %c", static_cast<long long>(atUs / 1000),
                  static_cast<long long>(atUs % 1000), direction);
    std::string out = head;
    char hex[4];
    for (const std::uint8_t b : bytes) {
        std::snprintf(hex, sizeof hex, " %02X", b);
        out += hex;
    }
    return out;
}

void Transcript::record(std::int64_t atUs, char direction, std::span<const std::uint8_t> bytes) {
    if (!m_file) {
        return;
    }
    const std::string text = line(atUs, direction, bytes) + '\n';
    std::fputs(text.c_str(), m_file);
    std::fflush(m_file);
}

} // namespace tolvan::sim
