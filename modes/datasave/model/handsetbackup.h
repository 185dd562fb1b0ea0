#pragma once

#include "common/backup/backupfolder.h"
#include "handset/handsetstore.h"

#include <QString>

#include <cstdint>
#include <variant>

namespace tolvan::datasave {

// The backup before a write of the handset settings or a write-back: what the store holds from
// the last read as log file 1 and log file 4 (and log file 3 when the buffers were read too),
// under the handset's model and PS-ID. A memo code page 932 cannot carry goes in empty: the
// backup must not stop on the memo.
std::variant<QString, Message> backUpHandset(const handset::HandsetBlocks& store, std::uint32_t modelCode,
                                             const QString& memo, const QString& root, bool withBuffers);

} // namespace tolvan::datasave
