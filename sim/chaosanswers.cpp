#include "sim/chaosanswers.h"

#include <array>

namespace tolvan::sim {
namespace {

// Class bytes of the frames a handset sends, plus one it never does.
constexpr std::array<std::uint8_t, 9> kClasses{0x20, 0x30, 0x30, 0x30, 0x40, 0x50, 0x60, 0x71, 0x7E};

} // namespace

std::int64_t ChaosAnswers::pick(std::int64_t max) {
    return std::uniform_int_distribution<std::int64_t>(0, max)(m_random);
}

link::Bytes ChaosAnswers::randomBytes(std::size_t count) {
    link::Bytes out(count);
    std::uniform_int_distribution<int> byte(0, 255);
    for (auto& b : out) {
        b = static_cast<std::uint8_t>(byte(m_random));
    }
    return out;
}

link::Bytes ChaosAnswers::randomFrame() {
    const std::uint8_t classByte = kClasses[static_cast<std::size_t>(pick(kClasses.size() - 1))];
    link::Bytes body;
    if (classByte == 0x30) {
        // A data response of a real read, status 0 or 1, random data: what a confused handset sends.
        body = {static_cast<std::uint8_t>(0x10 + pick(0x0C) + 0x20),
                static_cast<std::uint8_t>(1 + pick(19) + 0x20),
                static_cast<std::uint8_t>(pick(3) == 0 ? 0x21 : 0x20)};
    } else if (classByte != 0x20 && classByte != 0x71) {
        body = {static_cast<std::uint8_t>(pick(3) + 0x20)};
    }
    for (const std::uint8_t b : randomBytes(static_cast<std::size_t>(pick(40)))) {
        // Body bytes travel at 0x20 or above; a few are wrapped values below it.
        body.push_back(b < 0x20 && b != link::kStx && b != link::kEtx ? static_cast<std::uint8_t>(b + 0x20)
                                                                      : b);
    }
    return link::buildFrame(classByte, body);
}

std::vector<ChaosAnswers::Answer> ChaosAnswers::answer() {
    const int delay = static_cast<int>(pick(250));
    switch (pick(9)) {
    case 0: // nothing at all
        return {};
    case 1:
        return {{delay, {link::kAck}}};
    case 2:
        return {{delay, {link::kNak}}};
    case 3:
    case 4:
        return {{delay, randomFrame()}};
    case 5: { // a frame whose check byte is wrong
        link::Bytes frame = randomFrame();
        frame.back() ^= 0x5A;
        return {{delay, frame}};
    }
    case 6:
        return {{delay, randomBytes(static_cast<std::size_t>(1 + pick(23)))}};
    case 7: { // a frame cut short; the rest never comes
        link::Bytes frame = randomFrame();
        frame.resize(static_cast<std::size_t>(1 + pick(static_cast<std::int64_t>(frame.size()) - 2)));
        return {{delay, frame}};
    }
    case 8: // acknowledged, then a status answer, as a healthy handset does
        return {{delay, {link::kAck}}, {delay + 5 + static_cast<int>(pick(250)), link::buildFrame(0x20, {})}};
    default: // a healthy ACK with a random frame after it
        return {{delay, {link::kAck}}, {delay + 5 + static_cast<int>(pick(250)), randomFrame()}};
    }
}

} // namespace tolvan::sim
