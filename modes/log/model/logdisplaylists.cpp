#include "modes/log/model/logdisplaylists.h"

#include "modes/log/model/buffertexts.h"
#include "modes/log/model/logoperations.h"

#include <algorithm>

namespace tolvan::log {

LogDisplayLists LogDisplayLists::fromBuffers(const HandsetBuffers& buffers) {
    LogDisplayLists lists;
    for (const BufferKind kind : kAllBuffers) {
        lists.setRows(kind, BufferTexts::rows(buffers, kind));
    }
    return lists;
}

namespace {

// A cleared communication status list shows as many rows as the event lists, not the 80 entries
// its buffer holds; a read shows all of them again.
constexpr qsizetype kClearedStatusRows = 16;

} // namespace

LogDisplayLists LogDisplayLists::defaults() {
    LogDisplayLists lists;
    for (const BufferKind kind : kAllBuffers) {
        lists.reset(kind);
    }
    return lists;
}

QStringList LogDisplayLists::defaultRows(BufferKind kind) {
    const QStringList rows = BufferTexts::rows(HandsetBuffers{}, kind);
    return kind == BufferKind::CommStatus ? rows.first(std::min(rows.size(), kClearedStatusRows)) : rows;
}

bool LogDisplayLists::applyScriptResult(std::uint32_t operationId, const HandsetBuffers& buffers) {
    if (operationId == op::kReadPending || operationId == op::kUnplugged) {
        *this = fromBuffers(buffers);
        return true;
    }
    if (operationId == op::kClearAll) {
        *this = defaults();
        return true;
    }
    if (const auto cleared = op::clearedBuffer(operationId)) {
        reset(*cleared);
        return true;
    }
    return false;
}

} // namespace tolvan::log
