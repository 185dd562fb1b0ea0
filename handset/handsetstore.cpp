#include "handset/handsetstore.h"

#include "link/core/catalogue.h"

#include <algorithm>

namespace tolvan::handset {
namespace {

const HandsetStore::Block& zeroBlock() {
    static const HandsetStore::Block zeros{};
    return zeros;
}

bool isZero(const HandsetStore::Block& block) {
    return std::all_of(block.begin(), block.end(), [](std::uint8_t b) { return b == 0; });
}

} // namespace

bool HandsetStore::keeps(std::uint16_t readCode) {
    const auto group = static_cast<std::uint8_t>(readCode >> 8);
    const auto item = static_cast<std::uint8_t>(readCode & 0xFF);
    // 0x1C01 comes as the accessory redirect, which the sink stores as the block's first byte.
    return readCode == 0x1C01 || link::isParsedDataItem(group, item);
}

std::span<std::uint8_t> HandsetStore::block(std::uint16_t readCode) {
    if (!keeps(readCode)) {
        return {};
    }
    return m_blocks[readCode];
}

std::span<const std::uint8_t> HandsetStore::block(std::uint16_t readCode) const {
    if (!keeps(readCode)) {
        return {};
    }
    const auto found = m_blocks.find(readCode);
    return found == m_blocks.end() ? zeroBlock() : found->second;
}

bool HandsetStore::storeResponse(std::uint16_t readCode, std::span<const std::uint8_t> data) {
    const std::span<std::uint8_t> target = block(readCode);
    if (target.empty()) {
        return false;
    }
    std::copy_n(data.begin(), std::min(data.size(), target.size()), target.begin());
    ++m_responses[readCode];
    return true;
}

std::uint32_t HandsetStore::responses(std::uint16_t readCode) const {
    const auto found = m_responses.find(readCode);
    return found == m_responses.end() ? 0 : found->second;
}

void HandsetStore::clear() {
    m_blocks.clear();
    m_responses.clear();
    m_testResults = {};
    m_registration = {};
}

void HandsetStore::addRegistrationReport(std::uint8_t status, std::vector<std::uint8_t> detail) {
    m_registration.add(status, std::move(detail));
    if (m_registrationListener) {
        m_registrationListener(m_registration.reports.back());
    }
}

bool HandsetStore::operator==(const HandsetStore& other) const {
    auto covers = [](const HandsetStore& a, const HandsetStore& b) {
        return std::all_of(a.m_blocks.begin(), a.m_blocks.end(), [&b](const auto& entry) {
            const auto found = b.m_blocks.find(entry.first);
            return found == b.m_blocks.end() ? isZero(entry.second) : found->second == entry.second;
        });
    };
    return covers(*this, other) && covers(other, *this) && m_testResults == other.m_testResults &&
           m_registration == other.m_registration;
}

} // namespace tolvan::handset
