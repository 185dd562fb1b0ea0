#include "modes/log/model/logdisplaylists.h"

#include "modes/log/model/buffertexts.h"
#include "modes/log/model/logoperations.h"

namespace tolvan::log {

LogDisplayLists LogDisplayLists::fromBuffers(const HandsetBuffers& buffers) {
    LogDisplayLists lists;
    for (const BufferKind kind : kAllBuffers) {
        lists.setRows(kind, BufferTexts::rows(buffers, kind));
    }
    return lists;
}

LogDisplayLists LogDisplayLists::defaults() {
    return fromBuffers(HandsetBuffers{});
}

QStringList LogDisplayLists::defaultRows(BufferKind kind) {
    return BufferTexts::rows(HandsetBuffers{}, kind);
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
