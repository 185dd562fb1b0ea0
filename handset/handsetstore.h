#pragma once

#include "handset/handsetblocks.h"
#include "handset/registrationreports.h"
#include "handset/testresults.h"

#include <cstdint>
#include <functional>
#include <map>
#include <span>

namespace tolvan::handset {

class StoreSink;

// What the handset holds, one store for the whole process: the data blocks it sent (a data
// response overwrites the bytes it carries and nothing else) and the blocks of the writes it
// echoed. Only the store's sink changes it, so backups, saved files and comparisons, which read
// it, see the handset's bytes whatever a screen has typed. A write is prepared in a copy of its
// own (prepareWrite); each block of it becomes the handset's when the handset echoes that block's
// write, so a write that fails half-way leaves the store as the handset was left.
// The modes read the blocks through their own typed views, so a block one mode's script read is
// the same bytes for every other mode and every file writer.
class HandsetStore {
public:
    using Block = HandsetBlocks::Block;

    static bool keeps(std::uint16_t readCode) { return HandsetBlocks::keeps(readCode); }

    const HandsetBlocks& held() const { return m_held; }
    // The store reads as the blocks it holds wherever blocks are read.
    operator const HandsetBlocks&() const { return m_held; } // NOLINT(google-explicit-constructor)

    std::span<const std::uint8_t> block(std::uint16_t readCode) const { return m_held.block(readCode); }
    std::span<const std::uint8_t> block(std::uint16_t readCode, std::size_t count) const {
        return m_held.block(readCode, count);
    }

    // Data responses of this read code kept since the store was cleared: a screen that asked
    // for one block learns that its answer came, even when the bytes did not change.
    std::uint32_t responses(std::uint16_t readCode) const;

    // A new write: a copy of what the handset holds now, to take the screen's values or a loaded
    // file; the write frames are built from it. Replaces any earlier write's copy.
    HandsetBlocks& prepareWrite();
    const HandsetBlocks& pendingWrite() const { return m_pending; }

    // Back to a fresh process's zeros, typed results included.
    void clear();

    const TestResults& testResults() const { return m_testResults; }
    const RegistrationReports& registration() const { return m_registration; }
    // Forgets the answers of an earlier registration before a new one starts.
    void clearRegistration() { m_registration = {}; }
    // A registration answer: kept, then told to the listener (the registration screen or the
    // command line), which runs inside the link's receive path and must not call back into it.
    using RegistrationListener = std::function<void(const RegistrationReports::Report&)>;
    void setRegistrationListener(RegistrationListener listener) {
        m_registrationListener = std::move(listener);
    }

    // Equal when every held block holds the same bytes and the typed results are the same.
    bool operator==(const HandsetStore& other) const;

private:
    friend class StoreSink;

    // A data response: its bytes overwrite the start of the held block; false when the store does
    // not keep the code (nothing is stored then).
    bool storeResponse(std::uint16_t readCode, std::span<const std::uint8_t> data);
    // The handset echoed a write command: the block it wrote is now the prepared write's.
    void acceptWrite(std::uint16_t writeCode);
    void addRegistrationReport(std::uint8_t status, std::vector<std::uint8_t> detail);

    HandsetBlocks m_held;
    HandsetBlocks m_pending;
    // No write prepared since the store was cleared: an echo then carries nothing to take.
    bool m_prepared = false;
    std::map<std::uint16_t, std::uint32_t> m_responses;
    TestResults m_testResults;
    RegistrationReports m_registration;
    RegistrationListener m_registrationListener;
};

} // namespace tolvan::handset
