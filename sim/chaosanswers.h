#pragma once

#include "link/core/frame.h"

#include <cstdint>
#include <random>
#include <vector>

namespace tolvan::sim {

// What a handset gone wrong sends back to a frame: a seeded random mix of ACK, NAK, valid
// frames with random bodies, frames with wrong check bytes, junk, truncated frames and nothing
// at all. The same seed gives the same answers, so a run can be repeated.
class ChaosAnswers {
public:
    explicit ChaosAnswers(std::uint32_t seed) : m_random(seed) {}

    struct Answer {
        int delayMs = 0; // after the frame that caused it
        link::Bytes bytes;
    };
    std::vector<Answer> answer();

    // A number from 0 to max, from the same sequence.
    std::int64_t pick(std::int64_t max);

private:
    link::Bytes randomFrame();
    link::Bytes randomBytes(std::size_t count);

    std::mt19937 m_random;
};

} // namespace tolvan::sim
