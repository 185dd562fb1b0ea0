#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tolvan::handset {

// The registration answers of the running registration, in the order they came (status 1, 0x10,
// 0x30, 0x40; the detail holds bytes 3 to 5 for 0x10 and 0x30). The registration screen reads
// them; the list is bounded so a chattering handset cannot grow it without end.
struct RegistrationReports {
    static constexpr std::size_t kMaxReports = 64;
    struct Report {
        std::uint8_t status = 0;
        std::vector<std::uint8_t> detail;
        bool operator==(const Report&) const = default;
    };
    std::vector<Report> reports;

    void add(std::uint8_t status, std::vector<std::uint8_t> detail) {
        if (reports.size() >= kMaxReports) {
            reports.erase(reports.begin());
        }
        reports.push_back({status, std::move(detail)});
    }

    bool operator==(const RegistrationReports&) const = default;
};

} // namespace tolvan::handset
