#include "handset/handsetblocks.h"

#include "link/core/catalogue.h"

#include <algorithm>

namespace tolvan::handset {
namespace {

const HandsetBlocks::Block& zeroBlock() {
    static const HandsetBlocks::Block zeros{};
    return zeros;
}

bool isZero(const HandsetBlocks::Block& block) {
    return std::all_of(block.begin(), block.end(), [](std::uint8_t b) { return b == 0; });
}

} // namespace

bool HandsetBlocks::keeps(std::uint16_t readCode) {
    const auto group = static_cast<std::uint8_t>(readCode >> 8);
    const auto item = static_cast<std::uint8_t>(readCode & 0xFF);
    // 0x1C01 comes as the accessory redirect, which the sink stores as the block's first byte.
    return readCode == 0x1C01 || link::isParsedDataItem(group, item);
}

std::span<std::uint8_t> HandsetBlocks::block(std::uint16_t readCode) {
    if (!keeps(readCode)) {
        return {};
    }
    return m_blocks[readCode];
}

std::span<const std::uint8_t> HandsetBlocks::block(std::uint16_t readCode) const {
    if (!keeps(readCode)) {
        return {};
    }
    const auto found = m_blocks.find(readCode);
    return found == m_blocks.end() ? zeroBlock() : found->second;
}

bool HandsetBlocks::put(std::uint16_t readCode, std::span<const std::uint8_t> data) {
    const std::span<std::uint8_t> target = block(readCode);
    if (target.empty()) {
        return false;
    }
    std::copy_n(data.begin(), std::min(data.size(), target.size()), target.begin());
    return true;
}

void HandsetBlocks::take(std::uint16_t readCode, const HandsetBlocks& from) {
    put(readCode, from.block(readCode));
}

bool HandsetBlocks::operator==(const HandsetBlocks& other) const {
    auto covers = [](const HandsetBlocks& a, const HandsetBlocks& b) {
        return std::all_of(a.m_blocks.begin(), a.m_blocks.end(), [&b](const auto& entry) {
            const auto found = b.m_blocks.find(entry.first);
            return found == b.m_blocks.end() ? isZero(entry.second) : found->second == entry.second;
        });
    };
    return covers(*this, other) && covers(other, *this);
}

} // namespace tolvan::handset
