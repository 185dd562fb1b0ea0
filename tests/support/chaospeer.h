#pragma once

#include "sim/chaosanswers.h"
#include "tests/support/virtuallink.h"

#include <cstdint>

namespace tolvan::test {

// A handset gone wrong, for the link engine on the virtual clock: for a while it answers every
// transmission at random (the virtual handset's chaos answers); then it falls silent for good.
class ChaosPeer : public Peer {
public:
    ChaosPeer(std::uint32_t seed, std::int64_t chaosMs) : m_chaos(seed), m_chaosMs(chaosMs) {}

    void received(const link::Bytes& bytes, VirtualLink& link) override;

    // Virtual time from which the peer says nothing more.
    std::int64_t silentFrom() const { return m_silentFrom; }
    // The longest the engine may then take to end what it was doing.
    static constexpr std::int64_t kSettleMs = 30'000;

private:
    sim::ChaosAnswers m_chaos;
    std::int64_t m_chaosMs;
    std::int64_t m_silentFrom = -1;
};

} // namespace tolvan::test
