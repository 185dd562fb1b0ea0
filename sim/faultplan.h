#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace tolvan::sim {

// What can go wrong. Frame faults act on the handset's reaction to a received frame and match
// that frame's command code (a poll is 0x7000). Answer faults act on the frame sent in answer to
// a poll and match the command the answer belongs to (the last command other than a poll).
enum class FaultKind : std::uint8_t {
    Nak,         // frame: NAK instead of the reaction; the frame has no effect
    Silence,     // frame: no reaction at all, as if the frame never arrived
    Unplug,      // frame: the handset is pulled off the cable before it reacts
    Chaos,       // frame: a random answer (value = seed); once count frames had one, silence for good
    IgnoreWrite, // frame: a write is acknowledged and echoed as usual, but its block stays as it was
    NoAnswer,    // answer: the poll is swallowed; the answer stays due
    BadCheck,    // answer: the check byte is wrong
    Split,       // answer: sent in two bursts, value = pause in ms
    Stray,       // answer: one stray byte (value) goes out just before it
    Battery,     // answer: status code 0x20 (battery empty) in place of the real one
    Model,       // answer: the model answer carries value as its model code (default code 0x7100)
    Delay,       // answer: value ms more processing before it goes out
};

struct FaultRule {
    FaultKind kind = FaultKind::Nak;
    std::optional<std::uint16_t> code; // nullopt: every command
    int skip = 0;                      // matching occasions that pass untouched first
    int count = 1;                     // occasions it then applies to; 0 = all of them
    int value = 0;
    // Chance in percent that an occasion within skip and count fires (a flaky cable); 100 = each.
    int percent = 100;

    bool isAnswerFault() const { return kind >= FaultKind::NoAnswer; }
};

// The faults armed in one handset. Each rule counts its own occasions.
class FaultPlan {
public:
    void add(const FaultRule& rule);
    // Seeds the draws of rules with a percent below 100, so a run can be repeated exactly.
    void seed(std::uint32_t value) { m_random.seed(value); }
    bool empty() const { return m_rules.empty(); }
    // The rules that fire now for a frame (answerFaults false) or an answer (true) of the code;
    // every matching rule counts the occasion, fired or not.
    std::vector<FaultRule> take(std::uint16_t code, bool answerFaults);

private:
    struct Armed {
        FaultRule rule;
        int seen = 0;
    };
    std::vector<Armed> m_rules;
    std::minstd_rand m_random{1};
};

// KIND[@CODE][,skip=N][,count=N][,ms=N][,value=HH][,seed=N][,percent=N]
// KIND is nak, silence, unplug, chaos, ignore-write, no-answer, bad-check, split, stray, battery, model or
// delay; chaos takes a decimal seed and answers 30 frames at random unless count says otherwise;
// CODE four hexadecimal digits; count=0 means every time; ms is decimal (split pause, delay),
// value a hexadecimal byte (stray byte, model code); percent (1 to 100) the chance of each occasion. Sets
// error and returns nothing when the text is not a valid rule.
std::optional<FaultRule> parseFaultRule(std::string_view text, std::string* error = nullptr);
std::string_view faultKindName(FaultKind kind);

} // namespace tolvan::sim
