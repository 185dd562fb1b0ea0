#include "sim/handsetstore.h"

#include "sim/storedefaults.h"

#include <algorithm>

namespace tolvan::sim {

const LogBuffer* logBufferOf(std::uint8_t group) {
    for (const LogBuffer& b : kLogBuffers) {
        if (b.group == group) {
            return &b;
        }
    }
    return nullptr;
}

std::size_t HandsetStore::blockLength(std::uint16_t code) {
    const auto group = static_cast<std::uint8_t>(code >> 8);
    const auto item = static_cast<std::uint8_t>(code & 0xFF);
    if (const LogBuffer* b = logBufferOf(group)) {
        return item >= 1 && item <= b->items ? b->itemBytes : 0;
    }
    if (code >= 0x1106 && code <= 0x1109) {
        return 48;
    }
    switch (code) {
    case 0x1001:
        return 4;
    case 0x1002:
        return 44;
    case 0x1003:
        return 14;
    case 0x1004:
        return 6;
    case 0x1005:
        return 40;
    case 0x1006:
        return 2;
    case 0x1008:
        return 5;
    case 0x1101:
        return 4;
    case 0x1102:
        return 13;
    case 0x1103:
        return 2;
    case 0x1104:
        return 24;
    case 0x1105:
        return 30;
    case 0x110A:
        return 2;
    case 0x1201:
        return 4;
    case 0x1301:
        return 7;
    case 0x1302:
        return 4;
    case 0x1401:
    case 0x1402:
        return 7;
    case 0x1403:
        return 2;
    case 0x1404:
    case 0x1405:
        return 8;
    case 0x1406:
        return 5;
    case 0x1407:
        return 2;
    case 0x1B01:
        return 3;
    case 0x1C01:
        return 1;
    default:
        return 0;
    }
}

HandsetStore::HandsetStore(std::uint8_t modelCode) : m_model(modelCode), m_blocks(defaultBlocks(modelCode)) {}

const Bytes* HandsetStore::read(std::uint16_t readCode) const {
    const auto it = m_blocks.find(readCode);
    return it == m_blocks.end() ? nullptr : &it->second;
}

bool HandsetStore::setBlock(std::uint16_t readCode, Bytes data) {
    const std::size_t length = blockLength(readCode);
    if (length == 0 || data.size() != length) {
        return false;
    }
    m_blocks[readCode] = std::move(data);
    return true;
}

bool HandsetStore::write(std::uint16_t writeCode, std::span<const std::uint8_t> payload) {
    if (writeCode == 0x0007) {
        // Address in three nibbles (low first), a zero byte, data in two nibbles.
        if (payload.size() != 6) {
            return false;
        }
        const auto address = static_cast<std::uint16_t>((payload[0] & 0x0F) | (payload[1] & 0x0F) << 4 |
                                                        (payload[2] & 0x0F) << 8);
        m_bbic[address] = static_cast<std::uint8_t>((payload[4] & 0x0F) | (payload[5] & 0x0F) << 4);
        return true;
    }
    if (writeCode >= 0x1000) {
        return false;
    }
    const auto readCode = static_cast<std::uint16_t>(writeCode + 0x1000);
    const std::size_t length = blockLength(readCode);
    if (length == 0 || logBufferOf(static_cast<std::uint8_t>(readCode >> 8)) || payload.size() != length) {
        return false;
    }
    Bytes& block = m_blocks[readCode];
    block.resize(length, 0);
    const Bytes old = block;
    std::copy(payload.begin(), payload.end(), block.begin());
    switch (writeCode) {
    case 0x0001:
        // The version is the firmware's own; the tool sends zeros in its place.
        block[0] = old[0];
        block[1] = old[1];
        break;
    case 0x0102:
        // These bytes travel as their low nibble only; the high nibble stays the handset's.
        for (const std::size_t i : {0u, 1u, 7u, 8u, 9u, 10u, 11u}) {
            block[i] = static_cast<std::uint8_t>((old[i] & 0xF0) | (payload[i] & 0x0F));
        }
        break;
    case 0x0201:
        // Seven bits per group travel; the eighth bit of each stored byte stays.
        for (std::size_t i = 0; i < length; ++i) {
            block[i] = static_cast<std::uint8_t>((old[i] & 0x80) | (payload[i] & 0x7F));
        }
        break;
    default:
        break;
    }
    return true;
}

Bytes HandsetStore::buffer(std::uint8_t group) const {
    Bytes out;
    const LogBuffer* b = logBufferOf(group);
    if (b == nullptr) {
        return out;
    }
    for (int item = 1; item <= b->items; ++item) {
        const Bytes* part = read(static_cast<std::uint16_t>(group << 8 | item));
        if (part) {
            out.insert(out.end(), part->begin(), part->end());
        } else {
            out.insert(out.end(), b->itemBytes, 0);
        }
    }
    return out;
}

void HandsetStore::setBuffer(std::uint8_t group, const Bytes& bytes) {
    const LogBuffer* b = logBufferOf(group);
    for (int item = 1; item <= b->items; ++item) {
        const auto from = static_cast<std::ptrdiff_t>(static_cast<std::size_t>(item - 1) * b->itemBytes);
        m_blocks[static_cast<std::uint16_t>(group << 8 | item)] =
            Bytes(bytes.begin() + from, bytes.begin() + from + static_cast<std::ptrdiff_t>(b->itemBytes));
    }
}

bool HandsetStore::clearBuffer(std::uint8_t group) {
    const LogBuffer* b = logBufferOf(group);
    if (b == nullptr) {
        return false;
    }
    setBuffer(group, Bytes(static_cast<std::size_t>(b->items) * b->itemBytes, 0));
    return true;
}

void HandsetStore::appendLogEntry(std::uint8_t group, std::span<const std::uint8_t> entry) {
    const LogBuffer* b = logBufferOf(group);
    if (b == nullptr || entry.size() != b->entryBytes) {
        return;
    }
    Bytes all = buffer(group);
    const std::size_t slots = all.size() / b->entryBytes;
    std::size_t slot = 0;
    auto empty = [&](std::size_t s) {
        const auto first = all.begin() + static_cast<std::ptrdiff_t>(s * b->entryBytes);
        return std::all_of(first, first + static_cast<std::ptrdiff_t>(b->entryBytes),
                           [](std::uint8_t v) { return v == 0; });
    };
    while (slot < slots && !empty(slot)) {
        ++slot;
    }
    if (slot == slots) {
        all.erase(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(b->entryBytes));
        all.insert(all.end(), b->entryBytes, 0);
        slot = slots - 1;
    }
    std::copy(entry.begin(), entry.end(), all.begin() + static_cast<std::ptrdiff_t>(slot * b->entryBytes));
    setBuffer(group, all);
}

std::optional<std::uint8_t> HandsetStore::bbicRegister(std::uint16_t address) const {
    const auto it = m_bbic.find(address);
    return it == m_bbic.end() ? std::nullopt : std::optional<std::uint8_t>(it->second);
}

} // namespace tolvan::sim
