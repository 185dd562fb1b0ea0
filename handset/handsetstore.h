#pragma once

#include "handset/registrationreports.h"
#include "handset/testresults.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <span>

namespace tolvan::handset {

// The most bytes a data response can carry (a unit is at most 256 bytes with its framing).
inline constexpr std::size_t kBlockCapacity = 256;

// Everything the handset sent as data blocks, each named by its read code (0x1001 ... 0x1C01,
// 0x1501 ... 0x1A02), one store for the whole process. A data response overwrites the bytes it
// carries and nothing else; a block never received reads as zeros. The modes read and write the
// blocks through their own typed views, so a block one mode's script read is the same bytes for
// every other mode and every file writer.
class HandsetStore {
public:
    using Block = std::array<std::uint8_t, kBlockCapacity>;

    // Whether data responses of this read code are kept (every read of the catalogue, and any
    // item of the groups 0x12 and 0x18 whose item the handset may vary).
    static bool keeps(std::uint16_t readCode);

    // The whole block; empty for a code the store does not keep.
    std::span<std::uint8_t> block(std::uint16_t readCode);
    std::span<const std::uint8_t> block(std::uint16_t readCode) const;
    // The first count bytes of a block (count at most kBlockCapacity).
    std::span<std::uint8_t> block(std::uint16_t readCode, std::size_t count) {
        return block(readCode).first(count);
    }
    std::span<const std::uint8_t> block(std::uint16_t readCode, std::size_t count) const {
        return block(readCode).first(count);
    }

    // A data response: its bytes overwrite the start of the block; false when the store does not
    // keep the code (nothing is stored then).
    bool storeResponse(std::uint16_t readCode, std::span<const std::uint8_t> data);
    // Data responses of this read code kept since the store was cleared: a screen that asked
    // for one block learns that its answer came, even when the bytes did not change.
    std::uint32_t responses(std::uint16_t readCode) const;

    // Back to a fresh process's zeros, typed results included.
    void clear();

    TestResults& testResults() { return m_testResults; }
    const TestResults& testResults() const { return m_testResults; }
    RegistrationReports& registration() { return m_registration; }
    const RegistrationReports& registration() const { return m_registration; }
    // A registration answer: kept, then told to the listener (the registration screen or the
    // command line), which runs inside the link's receive path and must not call back into it.
    using RegistrationListener = std::function<void(const RegistrationReports::Report&)>;
    void setRegistrationListener(RegistrationListener listener) {
        m_registrationListener = std::move(listener);
    }
    void addRegistrationReport(std::uint8_t status, std::vector<std::uint8_t> detail);

    // Equal when every block holds the same bytes (a block never touched equals zeros).
    bool operator==(const HandsetStore& other) const;

private:
    // Blocks are created on first use; map nodes never move, so a span stays valid for the
    // store's lifetime.
    std::map<std::uint16_t, Block> m_blocks;
    std::map<std::uint16_t, std::uint32_t> m_responses;
    TestResults m_testResults;
    RegistrationReports m_registration;
    RegistrationListener m_registrationListener;
};

} // namespace tolvan::handset
