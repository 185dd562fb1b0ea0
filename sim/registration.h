#pragma once

#include "link/core/frame.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tolvan::sim {

using link::Bytes;

// How a registration over the air ends: the handset reports "running" (status 0x01) to every
// poll for runningMs after the registration command, then one final report.
struct RegistrationScenario {
    enum class Outcome : std::uint8_t {
        Success,  // status 0x00
        Failure,  // status 0x10 (or 0x30) with cause and detail
        Abnormal, // status 0x40: the registration command ended abnormally
        Battery,  // status 0x20: battery empty
    };
    Outcome outcome = Outcome::Success;
    std::uint8_t failureStatus = 0x10; // 0x10 or 0x30
    std::uint8_t cause = 0x70;
    std::uint8_t detail = 0x00;
    int runningMs = 1200;
};

// KIND[,cause=HH][,detail=HH][,status=HH][,ms=N] with KIND success, failure, abnormal or battery.
std::optional<RegistrationScenario> parseRegistrationScenario(std::string_view text,
                                                              std::string* error = nullptr);

// One registration in progress.
class Registration {
public:
    explicit Registration(RegistrationScenario scenario = {}) : m_scenario(scenario) {}

    const RegistrationScenario& scenario() const { return m_scenario; }
    void setScenario(const RegistrationScenario& s) { m_scenario = s; }

    // The registration command 0x40FF; a registration already running goes on.
    void start(std::int64_t nowUs);
    // The registration control with value 0 (0x41FF): ends it.
    void cancel() { m_active = false; }
    bool active() const { return m_active; }

    // The decoded body of the report due now (status, then byte 3, cause and detail for a
    // failure). The final report ends the registration.
    Bytes report(std::int64_t nowUs);
    // True once the final report of a successful registration went out.
    bool completed() const { return m_completed; }

private:
    RegistrationScenario m_scenario;
    bool m_active = false;
    bool m_completed = false;
    std::int64_t m_startUs = 0;
};

} // namespace tolvan::sim
