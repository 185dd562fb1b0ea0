#pragma once

#include "handset/handsetstore.h"
#include "link/core/receiver.h"

namespace tolvan::handset {

// The one response sink of the process: every intact data response goes into the store, and test
// results and registration answers into its typed results. Result classes are left as the
// receiver set them.
class StoreSink : public link::ResponseSink {
public:
    explicit StoreSink(HandsetStore& store) : m_store(store) {}

    std::optional<std::uint8_t> dataResponse(std::uint8_t group, std::uint8_t item,
                                             std::span<const std::uint8_t> data) override;
    void testResult(std::uint8_t classByte, std::uint8_t item, std::span<const std::uint8_t> unit) override;
    void settingRedirect(std::uint8_t value) override;
    void testRedirect(std::uint8_t value) override;
    void registrationAnswer(std::uint8_t status, std::span<const std::uint8_t> detail) override;

private:
    HandsetStore& m_store;
};

} // namespace tolvan::handset
