#include "sim/registration.h"

#include <charconv>

namespace tolvan::sim {
namespace {

bool parseNumber(std::string_view text, int base, int& out) {
    if (text.empty()) {
        return false;
    }
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out, base);
    return ec == std::errc() && end == text.data() + text.size() && out >= 0;
}

} // namespace

std::optional<RegistrationScenario> parseRegistrationScenario(std::string_view text, std::string* error) {
    auto fail = [&](std::string message) -> std::optional<RegistrationScenario> {
        if (error) {
            *error = std::move(message);
        }
        return std::nullopt;
    };
    RegistrationScenario s;
    const std::string_view kind = text.substr(0, text.find(','));
    std::string_view rest = kind.size() < text.size() ? text.substr(kind.size() + 1) : std::string_view{};
    if (kind == "success") {
        s.outcome = RegistrationScenario::Outcome::Success;
    } else if (kind == "failure") {
        s.outcome = RegistrationScenario::Outcome::Failure;
    } else if (kind == "abnormal") {
        s.outcome = RegistrationScenario::Outcome::Abnormal;
    } else if (kind == "battery") {
        s.outcome = RegistrationScenario::Outcome::Battery;
    } else {
        return fail("unknown registration outcome in \"" + std::string(text) + "\"");
    }
    while (!rest.empty()) {
        const std::string_view option = rest.substr(0, rest.find(','));
        rest = option.size() < rest.size() ? rest.substr(option.size() + 1) : std::string_view{};
        const std::size_t eq = option.find('=');
        const std::string_view key = option.substr(0, eq);
        const std::string_view value =
            eq == std::string_view::npos ? std::string_view{} : option.substr(eq + 1);
        int n = 0;
        bool ok = false;
        if (key == "ms") {
            ok = parseNumber(value, 10, n);
            s.runningMs = n;
        } else if (key == "cause" || key == "detail" || key == "status") {
            ok = parseNumber(value, 16, n) && n <= 0xFF;
            const auto byte = static_cast<std::uint8_t>(n);
            if (key == "cause") {
                s.cause = byte;
            } else if (key == "detail") {
                s.detail = byte;
            } else {
                ok = ok && (byte == 0x10 || byte == 0x30);
                s.failureStatus = byte;
            }
        }
        if (!ok) {
            return fail("bad option \"" + std::string(option) + "\" in \"" + std::string(text) + "\"");
        }
    }
    return s;
}

void Registration::start(std::int64_t nowUs) {
    if (m_active) {
        return;
    }
    m_active = true;
    m_completed = false;
    m_startUs = nowUs;
}

Bytes Registration::report(std::int64_t nowUs) {
    if (!m_active) {
        return {0x40}; // nothing runs: the command counts as ended
    }
    if (nowUs - m_startUs < static_cast<std::int64_t>(m_scenario.runningMs) * 1000) {
        return {0x01};
    }
    m_active = false;
    switch (m_scenario.outcome) {
    case RegistrationScenario::Outcome::Success:
        m_completed = true;
        return {0x00};
    case RegistrationScenario::Outcome::Failure:
        return {m_scenario.failureStatus, 0x01, m_scenario.cause, m_scenario.detail};
    case RegistrationScenario::Outcome::Abnormal:
        return {0x40};
    case RegistrationScenario::Outcome::Battery:
        return {0x20};
    }
    return {0x40};
}

} // namespace tolvan::sim
