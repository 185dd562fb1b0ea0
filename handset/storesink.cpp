#include "handset/storesink.h"

namespace tolvan::handset {

std::optional<std::uint8_t> StoreSink::dataResponse(std::uint8_t group, std::uint8_t item,
                                                    std::span<const std::uint8_t> data) {
    m_store.storeResponse(static_cast<std::uint16_t>((group << 8) | item), data);
    return std::nullopt;
}

std::optional<std::uint8_t> StoreSink::testResult(std::uint8_t classByte, std::uint8_t item,
                                                  std::span<const std::uint8_t> unit) {
    if (m_testResultCheck) {
        if (const auto refused = m_testResultCheck(unit)) {
            return refused;
        }
    }
    TestResults& results = m_store.m_testResults;
    results.latest = TestResults::Result{classByte, item, {unit.begin(), unit.end()}};
    ++results.count;
    return std::nullopt;
}

void StoreSink::settingRedirect(std::uint8_t value) {
    const std::uint8_t stored[] = {value};
    m_store.m_held.put(0x1C01, stored);
}

void StoreSink::testRedirect(std::uint8_t value) {
    TestResults& results = m_store.m_testResults;
    results.redirect = value;
    // Counted too, so a screen notices an answer repeated with the same value.
    ++results.count;
    ++results.redirects;
}

void StoreSink::registrationAnswer(std::uint8_t status, std::span<const std::uint8_t> detail) {
    m_store.addRegistrationReport(status, {detail.begin(), detail.end()});
}

void StoreSink::writeEchoed(std::uint16_t writeCode) {
    m_store.acceptWrite(writeCode);
}

} // namespace tolvan::handset
