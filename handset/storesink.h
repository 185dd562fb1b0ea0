#pragma once

#include "handset/handsetstore.h"
#include "link/core/receiver.h"

#include <functional>

namespace tolvan::handset {

// The one response sink of the process and the only writer of the store: every intact data
// response goes into it, every echoed write moves that block of the prepared write into it, and
// test results and registration answers go into its typed results. Result classes are left as the
// receiver set them.
class StoreSink : public link::ResponseSink {
public:
    explicit StoreSink(HandsetStore& store) : m_store(store) {}

    // The test mode's range check of a result unit: a result class (4) for a unit out of range,
    // which is then not kept, or nothing. Set by whoever owns the sink; none keeps every unit.
    using TestResultCheck = std::function<std::optional<std::uint8_t>(std::span<const std::uint8_t> unit)>;
    void setTestResultCheck(TestResultCheck check) { m_testResultCheck = std::move(check); }

    std::optional<std::uint8_t> dataResponse(std::uint8_t group, std::uint8_t item,
                                             std::span<const std::uint8_t> data) override;
    std::optional<std::uint8_t> testResult(std::uint8_t classByte, std::uint8_t item,
                                           std::span<const std::uint8_t> unit) override;
    void settingRedirect(std::uint8_t value) override;
    void testRedirect(std::uint8_t value) override;
    void registrationAnswer(std::uint8_t status, std::span<const std::uint8_t> detail) override;
    void writeEchoed(std::uint16_t writeCode) override;

private:
    HandsetStore& m_store;
    TestResultCheck m_testResultCheck;
};

} // namespace tolvan::handset
