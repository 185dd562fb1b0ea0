#include "handset/handsetstore.h"

namespace tolvan::handset {

std::uint32_t HandsetStore::responses(std::uint16_t readCode) const {
    const auto found = m_responses.find(readCode);
    return found == m_responses.end() ? 0 : found->second;
}

HandsetBlocks& HandsetStore::prepareWrite() {
    m_pending = m_held;
    m_prepared = true;
    return m_pending;
}

void HandsetStore::clear() {
    m_held.clear();
    m_pending.clear();
    m_prepared = false;
    m_responses.clear();
    m_testResults = {};
    m_registration = {};
}

bool HandsetStore::storeResponse(std::uint16_t readCode, std::span<const std::uint8_t> data) {
    if (!m_held.put(readCode, data)) {
        return false;
    }
    ++m_responses[readCode];
    return true;
}

void HandsetStore::acceptWrite(std::uint16_t writeCode) {
    // A write command's code is its block's read code less the read group's 0x10.
    const auto readCode = static_cast<std::uint16_t>(writeCode + 0x1000);
    if (m_prepared && HandsetBlocks::keeps(readCode)) {
        m_held.take(readCode, m_pending);
    }
}

void HandsetStore::addRegistrationReport(std::uint8_t status, std::vector<std::uint8_t> detail) {
    m_registration.add(status, std::move(detail));
    if (m_registrationListener) {
        m_registrationListener(m_registration.reports.back());
    }
}

bool HandsetStore::operator==(const HandsetStore& other) const {
    return m_held == other.m_held && m_testResults == other.m_testResults &&
           m_registration == other.m_registration;
}

} // namespace tolvan::handset
