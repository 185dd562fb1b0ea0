#include "handset/storesink.h"

namespace tolvan::handset {

std::optional<std::uint8_t> StoreSink::dataResponse(std::uint8_t group, std::uint8_t item,
                                                    std::span<const std::uint8_t> data) {
    m_store.storeResponse(static_cast<std::uint16_t>((group << 8) | item), data);
    return std::nullopt;
}

void StoreSink::testResult(std::uint8_t classByte, std::uint8_t item, std::span<const std::uint8_t> unit) {
    TestResults& results = m_store.testResults();
    results.latest = TestResults::Result{classByte, item, {unit.begin(), unit.end()}};
    ++results.count;
}

void StoreSink::settingRedirect(std::uint8_t value) {
    m_store.block(0x1C01)[0] = value;
}

void StoreSink::testRedirect(std::uint8_t value) {
    m_store.testResults().redirect = value;
}

void StoreSink::registrationAnswer(std::uint8_t status, std::span<const std::uint8_t> detail) {
    m_store.registration().add(status, {detail.begin(), detail.end()});
}

} // namespace tolvan::handset
