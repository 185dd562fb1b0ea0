#include "link/core/operations.h"

#include <algorithm>

namespace tolvan::link {

bool OperationTable::addOwner(OperationRange ids, NoticeOwner owner, std::uint32_t noDataId) {
    const bool overlaps = std::any_of(m_owned.begin(), m_owned.end(), [&](const Owned& o) {
        return ids.first <= o.ids.last && o.ids.first <= ids.last;
    });
    if (overlaps || ids.first > ids.last) {
        return false;
    }
    m_owned.push_back({ids, {owner, noDataId}});
    return true;
}

bool OperationTable::addOwner(std::span<const OperationRange> ranges, NoticeOwner owner,
                              std::uint32_t noDataId) {
    bool added = true;
    for (const OperationRange& range : ranges) {
        added = addOwner(range, owner, noDataId) && added;
    }
    return added;
}

void OperationTable::setEventOwner(LinkEvent event, NoticeOwner owner) {
    for (auto& [e, o] : m_eventOwners) {
        if (e == event) {
            o = owner;
            return;
        }
    }
    m_eventOwners.emplace_back(event, owner);
}

std::optional<AbortTarget> OperationTable::abortTargetOf(std::uint32_t id) const {
    for (const Owned& o : m_owned) {
        if (o.ids.contains(id)) {
            return o.target;
        }
    }
    return std::nullopt;
}

const OperationRules* OperationTable::rulesOf(std::uint32_t id) const {
    for (const OperationRules& r : m_rules) {
        if (r.ids.contains(id)) {
            return &r;
        }
    }
    return nullptr;
}

bool OperationTable::isAnswerDriven(std::uint32_t id) const {
    const OperationRules* rules = rulesOf(id);
    return rules != nullptr && rules->answerDriven;
}

NoticeOwner OperationTable::eventOwner(LinkEvent event) const {
    for (const auto& [e, o] : m_eventOwners) {
        if (e == event) {
            return o;
        }
    }
    return {};
}

} // namespace tolvan::link
