#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace tolvan::link {

enum class LinkEvent : std::uint8_t {
    OperationAborted,     // to the owner of the abandoned operation
    DialogueClosed,       // to the table's owner of this event
    BatteryEmpty,         // to the table's owner of this event
    RegistrationStep,     // a close phase of an operation, to its owner
    RegistrationFinished, // a close phase of an operation, to its owner
};

// Who a notice is for. The engine only passes it on; whoever registers operations picks the keys
// (unique among the table's owners). Key 0 is nobody.
struct NoticeOwner {
    std::uint32_t key = 0;
    bool operator==(const NoticeOwner&) const = default;
};

struct LinkNotice {
    LinkEvent event;
    NoticeOwner owner;
};

struct OperationRange {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    constexpr bool contains(std::uint32_t id) const { return id >= first && id <= last; }
};

constexpr bool covers(std::span<const OperationRange> ranges, std::uint32_t id) {
    for (const OperationRange& r : ranges) {
        if (r.contains(id)) {
            return true;
        }
    }
    return false;
}

constexpr bool coversAll(std::span<const OperationRange> ranges, std::initializer_list<std::uint32_t> ids) {
    for (const std::uint32_t id : ids) {
        if (!covers(ranges, id)) {
            return false;
        }
    }
    return true;
}

// What follows the close pause of a script that ran under an operation: the owner is told, the
// operation id moves on, and the dialogue opens again or ends there.
struct ClosePhase {
    LinkEvent notice = LinkEvent::RegistrationStep;
    std::uint32_t nextOperationId = 0;
    bool reopen = false;
};

// Rules of operations inside an owned range; an operation without rules has none of them.
struct OperationRules {
    OperationRange ids;
    // Lives in the keep-alive dialogue on the handset's answers to the polls: each answer is
    // progress, and the operation is waited for even while the keep-alive is quiet.
    bool answerDriven = false;
    // The handset's answer to the open frame is answered with the register-on command, once.
    bool registersOnOpenAnswer = false;
    std::optional<ClosePhase> afterClosePause;
};

// The owner told when an operation is abandoned, and the operation id it leaves behind.
struct AbortTarget {
    NoticeOwner owner;
    std::uint32_t noDataOperationId = 0;
};

// Every operation the engine can run, as data given by whoever builds it: the link knows no
// caller, and a new caller adds its operations here without touching the engine.
class OperationTable {
public:
    // Ids in range belong to owner; an abandoned one becomes noDataId and owner is told. False
    // (and nothing added) when the range overlaps one already owned.
    bool addOwner(OperationRange ids, NoticeOwner owner, std::uint32_t noDataId);
    // Every range, as above; false when any of them could not be added.
    bool addOwner(std::span<const OperationRange> ranges, NoticeOwner owner, std::uint32_t noDataId);
    // The first registered rules containing an id apply to it.
    void addRules(const OperationRules& rules) { m_rules.push_back(rules); }
    // The owner of a notice that no operation carries.
    void setEventOwner(LinkEvent event, NoticeOwner owner);

    std::optional<AbortTarget> abortTargetOf(std::uint32_t id) const;
    const OperationRules* rulesOf(std::uint32_t id) const;
    bool isAnswerDriven(std::uint32_t id) const;
    NoticeOwner eventOwner(LinkEvent event) const;

private:
    struct Owned {
        OperationRange ids;
        AbortTarget target;
    };
    std::vector<Owned> m_owned;
    std::vector<OperationRules> m_rules;
    std::vector<std::pair<LinkEvent, NoticeOwner>> m_eventOwners;
};

} // namespace tolvan::link
