#include "sim/faultplan.h"

#include <array>
#include <charconv>
#include <utility>

namespace tolvan::sim {
namespace {

constexpr std::array<std::pair<FaultKind, std::string_view>, 12> kKindNames{{
    {FaultKind::Nak, "nak"},
    {FaultKind::Silence, "silence"},
    {FaultKind::Unplug, "unplug"},
    {FaultKind::Chaos, "chaos"},
    {FaultKind::IgnoreWrite, "ignore-write"},
    {FaultKind::NoAnswer, "no-answer"},
    {FaultKind::BadCheck, "bad-check"},
    {FaultKind::Split, "split"},
    {FaultKind::Stray, "stray"},
    {FaultKind::Battery, "battery"},
    {FaultKind::Model, "model"},
    {FaultKind::Delay, "delay"},
}};

bool parseNumber(std::string_view text, int base, int& out) {
    if (text.empty()) {
        return false;
    }
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out, base);
    return ec == std::errc() && end == text.data() + text.size() && out >= 0;
}

std::optional<FaultRule> fail(std::string* error, std::string message) {
    if (error) {
        *error = std::move(message);
    }
    return std::nullopt;
}

} // namespace

std::string_view faultKindName(FaultKind kind) {
    for (const auto& [k, name] : kKindNames) {
        if (k == kind) {
            return name;
        }
    }
    return {};
}

void FaultPlan::add(const FaultRule& rule) {
    Armed armed{rule, 0};
    if (rule.kind == FaultKind::Model && !rule.code) {
        armed.rule.code = 0x7100; // only the model query has a model answer to spoil
    }
    m_rules.push_back(armed);
}

std::vector<FaultRule> FaultPlan::take(std::uint16_t code, bool answerFaults) {
    std::vector<FaultRule> fired;
    for (Armed& armed : m_rules) {
        const FaultRule& r = armed.rule;
        if (r.isAnswerFault() != answerFaults || (r.code && *r.code != code)) {
            continue;
        }
        const int occasion = armed.seen++;
        if (occasion >= r.skip && (r.count == 0 || occasion < r.skip + r.count) &&
            (r.percent >= 100 || std::uniform_int_distribution<int>(0, 99)(m_random) < r.percent)) {
            fired.push_back(r);
        }
    }
    return fired;
}

std::optional<FaultRule> parseFaultRule(std::string_view text, std::string* error) {
    const std::string whole(text);
    std::string_view head = text.substr(0, text.find(','));
    std::string_view rest = head.size() < text.size() ? text.substr(head.size() + 1) : std::string_view{};
    FaultRule rule;
    const std::size_t at = head.find('@');
    const std::string_view kindName = head.substr(0, at);
    bool known = false;
    for (const auto& [kind, name] : kKindNames) {
        if (name == kindName) {
            rule.kind = kind;
            known = true;
        }
    }
    if (!known) {
        return fail(error, "unknown fault kind in \"" + whole + "\"");
    }
    if (at != std::string_view::npos) {
        int code = 0;
        const std::string_view codeText = head.substr(at + 1);
        if (codeText.size() != 4 || !parseNumber(codeText, 16, code)) {
            return fail(error, "command code must be four hexadecimal digits in \"" + whole + "\"");
        }
        rule.code = static_cast<std::uint16_t>(code);
    }
    switch (rule.kind) {
    case FaultKind::Split:
        rule.value = 150;
        break;
    case FaultKind::Model:
        rule.value = 9;
        break;
    case FaultKind::Chaos:
        rule.count = 30;
        break;
    default:
        break;
    }
    while (!rest.empty()) {
        const std::string_view option = rest.substr(0, rest.find(','));
        rest = option.size() < rest.size() ? rest.substr(option.size() + 1) : std::string_view{};
        const std::size_t eq = option.find('=');
        const std::string_view key = option.substr(0, eq);
        const std::string_view value =
            eq == std::string_view::npos ? std::string_view{} : option.substr(eq + 1);
        bool ok = false;
        if (key == "skip") {
            ok = parseNumber(value, 10, rule.skip);
        } else if (key == "count") {
            ok = parseNumber(value, 10, rule.count);
        } else if (key == "ms") {
            ok = parseNumber(value, 10, rule.value);
        } else if (key == "value") {
            ok = parseNumber(value, 16, rule.value) && rule.value <= 0xFF;
        } else if (key == "percent") {
            ok = parseNumber(value, 10, rule.percent) && rule.percent >= 1 && rule.percent <= 100;
        } else if (key == "seed") {
            ok = rule.kind == FaultKind::Chaos && parseNumber(value, 10, rule.value);
        }
        if (!ok) {
            return fail(error, "bad option \"" + std::string(option) + "\" in \"" + whole + "\"");
        }
    }
    return rule;
}

} // namespace tolvan::sim
