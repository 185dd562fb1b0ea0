#include "tests/support/chaospeer.h"

namespace tolvan::test {

void ChaosPeer::received(const link::Bytes&, VirtualLink& link) {
    if (m_silentFrom < 0) {
        m_silentFrom = link.now() + m_chaos.pick(m_chaosMs);
    }
    if (link.now() >= m_silentFrom) {
        return;
    }
    for (sim::ChaosAnswers::Answer& answer : m_chaos.answer()) {
        link.deliverLater(std::move(answer.bytes), answer.delayMs);
    }
}

} // namespace tolvan::test
