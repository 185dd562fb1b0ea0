#pragma once

#include "tests/support/virtuallink.h"

#include <cstdint>
#include <random>

namespace tolvan::test {

// A handset gone wrong, for the link engine on the virtual clock: for a while it answers every
// transmission with a seeded random mix of ACK, NAK, valid frames with random bodies, frames
// with wrong check bytes, junk, truncated frames and silence; then it falls silent for good.
class ChaosPeer : public Peer {
public:
    ChaosPeer(std::uint32_t seed, std::int64_t chaosMs);

    void received(const link::Bytes& bytes, VirtualLink& link) override;

    // Virtual time from which the peer says nothing more.
    std::int64_t silentFrom() const { return m_silentFrom; }
    // The longest the engine may then take to end what it was doing.
    static constexpr std::int64_t kSettleMs = 30'000;

private:
    link::Bytes randomFrame();
    link::Bytes randomBytes(std::size_t count);

    std::mt19937 m_random;
    std::int64_t m_chaosMs;
    std::int64_t m_silentFrom = -1;
};

} // namespace tolvan::test
