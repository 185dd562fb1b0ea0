#include "tests/support/chaospeer.h"

#include "link/core/frame.h"

#include <array>

namespace tolvan::test {
namespace {

// Class bytes of the frames a handset sends, plus a few it never does.
constexpr std::array<std::uint8_t, 9> kClasses{0x20, 0x30, 0x30, 0x30, 0x40, 0x50, 0x60, 0x71, 0x7E};

} // namespace

ChaosPeer::ChaosPeer(std::uint32_t seed, std::int64_t chaosMs) : m_random(seed), m_chaosMs(chaosMs) {}

link::Bytes ChaosPeer::randomBytes(std::size_t count) {
    link::Bytes out(count);
    std::uniform_int_distribution<int> byte(0, 255);
    for (auto& b : out) {
        b = static_cast<std::uint8_t>(byte(m_random));
    }
    return out;
}

link::Bytes ChaosPeer::randomFrame() {
    std::uniform_int_distribution<std::size_t> pick(0, kClasses.size() - 1);
    std::uniform_int_distribution<std::size_t> length(0, 40);
    std::uniform_int_distribution<int> status(0, 3);
    const std::uint8_t classByte = kClasses[pick(m_random)];
    link::Bytes body;
    if (classByte == 0x30) {
        // A data response of a real read, status 0, random data: what a confused handset sends.
        std::uniform_int_distribution<int> group(0x10, 0x1C);
        std::uniform_int_distribution<int> item(1, 20);
        body = {static_cast<std::uint8_t>(group(m_random) + 0x20),
                static_cast<std::uint8_t>(item(m_random) + 0x20),
                static_cast<std::uint8_t>(status(m_random) == 0 ? 0x21 : 0x20)};
    } else if (classByte != 0x20 && classByte != 0x71) {
        body = {static_cast<std::uint8_t>(status(m_random) + 0x20)};
    }
    for (const std::uint8_t b : randomBytes(length(m_random))) {
        // Body bytes travel at 0x20 or above; a few are wrapped values below it.
        body.push_back(b < 0x20 && b != 0x02 && b != 0x03 ? static_cast<std::uint8_t>(b + 0x20) : b);
    }
    return link::buildFrame(classByte, body);
}

void ChaosPeer::received(const link::Bytes&, VirtualLink& link) {
    if (m_silentFrom < 0) {
        std::uniform_int_distribution<std::int64_t> span(0, m_chaosMs);
        m_silentFrom = link.now() + span(m_random);
    }
    if (link.now() >= m_silentFrom) {
        return;
    }
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<std::int64_t> delay(0, 250);
    std::uniform_int_distribution<std::size_t> junkLength(1, 24);
    link::Bytes answer;
    switch (kind(m_random)) {
    case 0: // nothing at all
        return;
    case 1:
        answer = {link::kAck};
        break;
    case 2:
        answer = {link::kNak};
        break;
    case 3:
    case 4:
        answer = randomFrame();
        break;
    case 5: { // a frame whose check byte is wrong
        answer = randomFrame();
        answer.back() ^= 0x5A;
        break;
    }
    case 6:
        answer = randomBytes(junkLength(m_random));
        break;
    case 7: { // a frame cut short; the rest never comes
        answer = randomFrame();
        std::uniform_int_distribution<std::size_t> cut(1, answer.size() - 1);
        answer.resize(cut(m_random));
        break;
    }
    case 8: // acknowledged, then a status answer, as a healthy handset does
        answer = {link::kAck};
        link.deliverLater(link::buildFrame(0x20, {}), delay(m_random) + 5);
        break;
    default: // a healthy ACK with a random frame after it
        answer = {link::kAck};
        link.deliverLater(randomFrame(), delay(m_random) + 5);
        break;
    }
    link.deliverLater(answer, delay(m_random));
}

} // namespace tolvan::test
